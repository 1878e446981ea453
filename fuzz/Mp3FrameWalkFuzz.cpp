// Arbitrary bytes as an MP3 file: the frame walk never reads outside the input and ends,
// and the frames it counts fit in the input (no Layer III frame is shorter than 24 bytes).
#include "encoding/Mp3FrameWalk.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    std::vector<std::uint8_t> bytes(data, data + size);
    if (bytes.empty())
        return 0; // fmemopen refuses an empty buffer
    std::FILE* stream = ::fmemopen(bytes.data(), bytes.size(), "rb");
    if (stream == nullptr)
        return 0;
    const SMp3Frames frames = CMp3FrameWalk::Walk(stream, size);
    std::fclose(stream);
    if (std::uint64_t{frames.m_nFrames} * 24 > size)
        std::abort();
    if (frames.m_bWhole && frames.m_nFrames == 0)
        std::abort();
    return 0;
}
