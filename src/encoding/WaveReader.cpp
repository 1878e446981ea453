#include "encoding/WaveReader.h"

#include "encoding/TrackItem.h"
#include "platform/RegularFile.h"
#include "platform/Text.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <sys/stat.h>

namespace {

constexpr std::uint32_t ChunkId(const char (&id)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(id[0])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(id[1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(id[2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(id[3]));
}

constexpr std::uint32_t kRiff = ChunkId("RIFF");
constexpr std::uint32_t kWave = ChunkId("WAVE");
constexpr std::uint32_t kFmt = ChunkId("fmt ");
constexpr std::uint32_t kData = ChunkId("data");

// Chunks examined before the walk gives up looking for `data`.
constexpr int kMaxChunks = 20;
constexpr std::int32_t kMinFmtSize = 16;
constexpr size_t kSkipPiece = 1024;
constexpr unsigned long long kHeaderSize = 44;
constexpr std::uint16_t kPcmFormatTag = 1;
constexpr std::uint16_t kRefusedBitsPerSample = 8;

// Reads `nBytes` bytes into a number, first byte highest (`bBigEndian`) or lowest.
bool ReadBytes(std::FILE* stream, int nBytes, bool bBigEndian, std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < nBytes; ++i) {
        const int byte = std::fgetc(stream);
        if (byte == EOF)
            return false;
        const auto bits = static_cast<std::uint32_t>(byte);
        value = bBigEndian ? (value << 8 | bits) : (value | bits << (8 * i));
    }
    return true;
}

bool ReadId(std::FILE* stream, std::uint32_t& id) {
    return ReadBytes(stream, 4, true, id);
}

bool ReadLe32(std::FILE* stream, std::uint32_t& value) {
    return ReadBytes(stream, 4, false, value);
}

// Chunk sizes are signed in the file: one above 2 GiB reads as negative and is refused.
bool ReadChunkSize(std::FILE* stream, std::int32_t& nSize) {
    std::uint32_t raw = 0;
    if (!ReadLe32(stream, raw))
        return false;
    nSize = static_cast<std::int32_t>(raw);
    return nSize >= 0;
}

// The file's 16-bit fields are signed, but the record keeps them in 16 bits, where the
// sign extension leaves no trace: only the bit pattern is kept.
bool ReadLe16(std::FILE* stream, std::uint16_t& value) {
    std::uint32_t raw = 0;
    if (!ReadBytes(stream, 2, false, raw))
        return false;
    value = static_cast<std::uint16_t>(raw);
    return true;
}

// Reads through `nBytes` bytes; false when the file ends first.
bool Skip(std::FILE* stream, std::uint32_t nBytes) {
    char buffer[kSkipPiece];
    while (nBytes > 0) {
        const size_t piece = std::min<size_t>(nBytes, kSkipPiece);
        if (std::fread(buffer, 1, piece, stream) != piece)
            return false;
        nBytes -= static_cast<std::uint32_t>(piece);
    }
    return true;
}

// Reads the `fmt ` chunk after its identifier.
bool ReadFmtChunk(CTrackItem& track, std::FILE* stream) {
    std::int32_t nSize = 0;
    if (!ReadChunkSize(stream, nSize) || nSize < kMinFmtSize)
        return false;
    std::uint32_t nSampleRate = 0;
    std::uint32_t nByteRate = 0;
    if (!ReadLe16(stream, track.m_wFormatTag) || !ReadLe16(stream, track.m_nChannels) ||
        !ReadLe32(stream, nSampleRate) || !ReadLe32(stream, nByteRate) ||
        !ReadLe16(stream, track.m_nBlockAlign) || !ReadLe16(stream, track.m_wBitsPerSample))
        return false;
    track.m_nSamplesPerSec = nSampleRate;
    track.m_nAvgBytesPerSec = nByteRate;
    if (track.m_wBitsPerSample == kRefusedBitsPerSample)
        return false;
    return Skip(stream, static_cast<std::uint32_t>(nSize - kMinFmtSize));
}

// Reads the `data` chunk's length after its identifier and counts its sample frames.
bool ReadDataChunk(CTrackItem& track, std::FILE* stream) {
    std::uint32_t nLength = 0;
    if (!ReadLe32(stream, nLength))
        return false;
    // Lengths up to 4 GiB are legitimate, and a frame narrower than a byte (4-bit mono)
    // would otherwise divide by zero.
    const std::int64_t nFrameBytes =
        static_cast<std::int64_t>(track.m_nChannels) * track.m_wBitsPerSample / 8;
    track.m_nSampleFrames =
        nFrameBytes <= 0 ? 0 : static_cast<unsigned>(std::int64_t{nLength} / nFrameBytes);
    return true;
}

bool SkipChunk(std::FILE* stream) {
    std::int32_t nSize = 0;
    if (!ReadChunkSize(stream, nSize))
        return false;
    return Skip(stream, static_cast<std::uint32_t>(nSize));
}

// The chunks after "WAVE", until `data`, the chunk limit, or the end of the file exactly
// where a chunk would begin.
bool WalkChunks(CTrackItem& track, std::FILE* stream) {
    for (int nChunk = 0; nChunk < kMaxChunks; ++nChunk) {
        const int first = std::fgetc(stream);
        if (first == EOF)
            return true;
        std::ungetc(first, stream);
        std::uint32_t id = 0;
        if (!ReadId(stream, id))
            return false;
        if (id == kData)
            return ReadDataChunk(track, stream);
        const bool bRead = id == kFmt ? ReadFmtChunk(track, stream) : SkipChunk(stream);
        if (!bRead)
            return false;
    }
    return true;
}

} // namespace

bool CWaveReader::ParseWaveFile(CTrackItem& track, const std::string& strPath) {
    std::FILE* stream = CRegularFile::OpenForReading(strPath);
    if (stream == nullptr)
        return false;
    // The size comes from the stream already open, so the file is opened only once.
    struct stat status {};
    const bool bParsed = ParseWaveHeader(track, stream) && ::fstat(::fileno(stream), &status) == 0;
    std::fclose(stream);
    if (!bParsed)
        return false;
    // RIFF sizes and the record's size are 32-bit: a larger file cannot be a WAV file.
    const auto nFileSize = static_cast<unsigned long long>(status.st_size);
    if (nFileSize > std::numeric_limits<std::uint32_t>::max())
        return false;
    track.m_nWavSize = static_cast<unsigned>(nFileSize);
    track.m_nPlayTime = PlayTime(track, nFileSize);
    track.m_strWavDir = std::string(CText::DirectoryPart(strPath));
    const std::string_view name = CText::FileNamePart(strPath);
    track.m_strFileTitle =
        std::string(name.substr(0, name.size() - std::min<size_t>(name.size(), 4)));
    return true;
}

bool CWaveReader::ParseWaveHeader(CTrackItem& track, std::FILE* stream) {
    std::uint32_t id = 0;
    std::uint32_t nRiffSize = 0;
    if (!ReadId(stream, id) || id != kRiff || !ReadLe32(stream, nRiffSize))
        return false;
    if (!ReadId(stream, id) || id != kWave)
        return false;
    if (!WalkChunks(track, stream))
        return false;
    // Only PCM is encoded; a file without `fmt ` still has tag 0 here.
    return track.m_wFormatTag == kPcmFormatTag;
}

unsigned CWaveReader::PlayTime(const CTrackItem& track, unsigned long long nFileSize) {
    if (track.m_nAvgBytesPerSec == 0 || nFileSize < kHeaderSize)
        return 0;
    // The length counts every byte after the 44-byte header as sound, whatever the
    // chunks say; the rate is that of whole bytes per sample.
    const unsigned long long nRate = static_cast<unsigned long long>(track.m_wBitsPerSample / 8) *
                                     track.m_nChannels * track.m_nSamplesPerSec;
    if (nRate == 0)
        return 0;
    return static_cast<unsigned>(std::min<unsigned long long>(
        (nFileSize - kHeaderSize) / nRate, std::numeric_limits<unsigned>::max()));
}
