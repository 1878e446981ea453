#pragma once

#include <cstdio>
#include <string>

class CTrackItem;

// Why the WAV reader refused a file: a short text for the user ("not a WAV file",
// "permission denied"), and whether the file could not be read at all, as against being
// refused for what it holds.
struct SWaveRefusal {
    std::string m_strReason;
    bool m_bUnreadable = false;
};

// Decides whether a file is a WAV file the program accepts, and fills the format
// fields, sizes and play time of its track record.
class CWaveReader {
public:
    // Reads the file at `strPath`; false refuses it, with the reason in `pRefusal` when given.
    static bool ParseWaveFile(CTrackItem& track, const std::string& strPath,
                              SWaveRefusal* pRefusal = nullptr);

    // The chunk walk over an open stream positioned at byte 0: the RIFF/WAVE header, the
    // `fmt ` fields, and where the `data` chunk's samples lie and how many frames they
    // hold. False refuses the stream.
    static bool ParseWaveHeader(CTrackItem& track, std::FILE* stream,
                                SWaveRefusal* pRefusal = nullptr);

    // Whole seconds of the track's `data` bytes; 0 when the format gives no rate.
    static unsigned PlayTime(const CTrackItem& track);
};
