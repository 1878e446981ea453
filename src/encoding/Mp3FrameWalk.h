#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// What walking the frame headers of an MP3 file found.
struct SMp3Frames {
    // Layer III frames follow one another from the start to the end of the file, or to an
    // ID3v1 tag that ends it.
    bool m_bWhole = false;
    // Every frame walked, the Xing/Info frame included.
    std::uint32_t m_nFrames = 0;
    // The first frame is a Xing/Info frame with the count of the audio frames after it.
    bool m_bHasCount = false;
    std::uint32_t m_nCountedFrames = 0;
};

// Walks an MP3 file from frame header to frame header without decoding: a cheap check
// that a written file holds every frame its encoder wrote. Reads only 4 bytes per frame
// and the start of the first.
class CMp3FrameWalk {
public:
    // Walks the file at `strPath`; a file that cannot be read is not whole.
    static SMp3Frames WalkFile(const std::string& strPath);
    // Walks `nSize` bytes of `stream` from its start.
    static SMp3Frames Walk(std::FILE* stream, std::uint64_t nSize);
};
