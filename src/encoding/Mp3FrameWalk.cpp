#include "encoding/Mp3FrameWalk.h"

#include "platform/RegularFile.h"

#include <array>
#include <cstring>
#include <sys/stat.h>

namespace {
constexpr std::uint64_t kId3v1Size = 128;
constexpr size_t kHeaderSize = 4;
// The first frame up to the Xing/Info frame count: header, CRC, side information,
// identifier, flags and count.
constexpr size_t kFirstFrameBytes = 4 + 2 + 32 + 4 + 4 + 4;

// Layer III bit rates in kbit/s by index, MPEG-1 and MPEG-2/2.5.
constexpr std::array<unsigned, 16> kBitratesV1 = {0,   32,  40,  48,  56,  64,  80,  96,
                                                  112, 128, 160, 192, 224, 256, 320, 0};
constexpr std::array<unsigned, 16> kBitratesV2 = {0,  8,  16, 24,  32,  40,  48,  56,
                                                  64, 80, 96, 112, 128, 144, 160, 0};
constexpr std::array<unsigned, 3> kRatesV1 = {44100, 48000, 32000};

struct SFrameHeader {
    std::uint32_t m_nLength = 0;
    size_t m_nInfoOffset = 0; // where a Xing/Info identifier would stand
    size_t m_nCrcBytes = 0;
};

// The frame whose header is `h`; a length of 0 when it is no Layer III frame header.
SFrameHeader ParseHeader(const unsigned char* h) {
    SFrameHeader frame;
    if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0)
        return frame;
    const unsigned version = (h[1] >> 3) & 3; // 0 MPEG-2.5, 2 MPEG-2, 3 MPEG-1
    const unsigned layer = (h[1] >> 1) & 3;   // 1 is Layer III
    const unsigned bitrateIndex = h[2] >> 4;
    const unsigned rateIndex = (h[2] >> 2) & 3;
    if (version == 1 || layer != 1 || rateIndex == 3)
        return frame;
    const bool mpeg1 = version == 3;
    const unsigned bitrate = (mpeg1 ? kBitratesV1 : kBitratesV2)[bitrateIndex];
    if (bitrate == 0)
        return frame;
    const unsigned rate = kRatesV1[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    const unsigned padding = (h[2] >> 1) & 1;
    frame.m_nLength = (mpeg1 ? 144000 : 72000) * bitrate / rate + padding;
    const bool mono = (h[3] >> 6) == 3;
    frame.m_nCrcBytes = (h[1] & 1) == 0 ? 2 : 0;
    frame.m_nInfoOffset =
        kHeaderSize + frame.m_nCrcBytes + (mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17));
    return frame;
}

std::uint32_t Be32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

bool ReadAt(std::FILE* stream, std::uint64_t nOffset, unsigned char* pBuffer, size_t nBytes) {
    return std::fseek(stream, static_cast<long>(nOffset), SEEK_SET) == 0 &&
           std::fread(pBuffer, 1, nBytes, stream) == nBytes;
}

// The Xing/Info frame count of the first frame, when it has one. The identifier follows
// the side information; encoders differ on whether a CRC before it moves it.
void ReadFrameCount(const unsigned char* pFirst, size_t nRead, const SFrameHeader& frame,
                    SMp3Frames& frames) {
    for (size_t at : {frame.m_nInfoOffset, frame.m_nInfoOffset - frame.m_nCrcBytes}) {
        if (frame.m_nLength == 0 || at + 12 > nRead || at + 12 > frame.m_nLength)
            continue;
        if (std::memcmp(pFirst + at, "Xing", 4) != 0 && std::memcmp(pFirst + at, "Info", 4) != 0)
            continue;
        constexpr std::uint32_t kFramesFlag = 1;
        if ((Be32(pFirst + at + 4) & kFramesFlag) == 0)
            return;
        frames.m_bHasCount = true;
        frames.m_nCountedFrames = Be32(pFirst + at + 8);
        return;
    }
}

// Whether the frames end exactly at `nOffset` of a file of `nSize` bytes: at its end, or
// where an ID3v1 tag takes the rest.
bool EndsAt(std::FILE* stream, std::uint64_t nOffset, std::uint64_t nSize) {
    if (nOffset == nSize)
        return true;
    unsigned char tag[3];
    return nOffset + kId3v1Size == nSize && ReadAt(stream, nOffset, tag, sizeof tag) &&
           std::memcmp(tag, "TAG", 3) == 0;
}
} // namespace

SMp3Frames CMp3FrameWalk::WalkFile(const std::string& strPath) {
    std::FILE* stream = CRegularFile::OpenForReading(strPath);
    if (stream == nullptr)
        return {};
    struct stat status {};
    SMp3Frames frames;
    if (::fstat(::fileno(stream), &status) == 0)
        frames = Walk(stream, static_cast<std::uint64_t>(status.st_size));
    std::fclose(stream);
    return frames;
}

SMp3Frames CMp3FrameWalk::Walk(std::FILE* stream, std::uint64_t nSize) {
    SMp3Frames frames;
    unsigned char first[kFirstFrameBytes] = {};
    const size_t firstRead =
        ReadAt(stream, 0, first, kHeaderSize)
            ? kHeaderSize + std::fread(first + kHeaderSize, 1, sizeof first - kHeaderSize, stream)
            : 0;
    if (firstRead < kHeaderSize)
        return frames;
    ReadFrameCount(first, firstRead, ParseHeader(first), frames);

    std::uint64_t offset = 0;
    unsigned char header[kHeaderSize];
    while (offset + kHeaderSize <= nSize && ReadAt(stream, offset, header, kHeaderSize)) {
        const SFrameHeader frame = ParseHeader(header);
        if (frame.m_nLength == 0 || offset + frame.m_nLength > nSize)
            break;
        offset += frame.m_nLength;
        ++frames.m_nFrames;
    }
    frames.m_bWhole = frames.m_nFrames > 0 && EndsAt(stream, offset, nSize);
    return frames;
}
