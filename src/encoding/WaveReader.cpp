#include "encoding/WaveReader.h"

#include "encoding/TrackItem.h"
#include "lang/StringCatalogue.h"
#include "platform/RegularFile.h"
#include "platform/SystemError.h"
#include "platform/Text.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <limits>
#include <sys/stat.h>
#include <utility>

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
constexpr std::uint16_t kPcmFormatTag = 1;
constexpr std::uint16_t kFloatFormatTag = 3;
constexpr std::uint16_t kExtensibleFormatTag = 0xFFFE;
// After the tag in its first two bytes, the sub-format GUID of WAVE_FORMAT_EXTENSIBLE
// ends alike for every format that has a tag of its own.
constexpr unsigned char kSubFormatGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                  0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
// cbSize, valid bits, channel mask and sub-format GUID.
constexpr std::uint32_t kExtensibleSize = 24;
constexpr std::uint16_t kMaxChannels = 2;

// Bytes of one sample frame; 0 for frames narrower than a byte.
std::uint32_t FrameBytes(const CTrackItem& track) {
    return static_cast<std::uint32_t>(track.m_nChannels) * track.m_wBitsPerSample / 8;
}

// One walk over the chunks of a stream, remembering why it refused the stream.
class CHeaderWalk {
public:
    CHeaderWalk(CTrackItem& track, std::FILE* stream) : m_track(track), m_stream(stream) {}

    bool Walk();
    const SWaveRefusal& Refusal() const { return m_refusal; }

private:
    bool Refuse(unsigned nReasonId, unsigned nNumber = 0) {
        m_refusal.m_nReasonId = nReasonId;
        m_refusal.m_nNumber = nNumber;
        return false;
    }
    // The stream ended, or failed, where the structure needs more bytes.
    bool RefuseCutShort() {
        if (std::ferror(m_stream) != 0) {
            m_refusal = CWaveReader::UnreadableRefusal(errno);
            return false;
        }
        return Refuse(UiString::kReasonCutShort);
    }

    bool ReadBytes(int nBytes, bool bBigEndian, std::uint32_t& value);
    bool ReadId(std::uint32_t& id) { return ReadBytes(4, true, id); }
    bool ReadLe32(std::uint32_t& value) { return ReadBytes(4, false, value); }
    bool ReadLe16(std::uint16_t& value);
    bool ReadChunkSize(std::int32_t& nSize);
    bool Skip(std::uint32_t nBytes);
    bool ReadFmtChunk(std::int32_t& nSize);
    bool ReadExtensibleFormat(std::uint32_t& nRest);
    bool ReadDataChunk();
    void SkipPadByte(std::int32_t nSize);
    bool WalkChunks();
    bool CheckFormat();
    bool CheckSamples();

    CTrackItem& m_track;
    std::FILE* m_stream;
    SWaveRefusal m_refusal;
    bool m_bDataFound = false;
};

// Reads `nBytes` bytes into a number, first byte highest (`bBigEndian`) or lowest.
bool CHeaderWalk::ReadBytes(int nBytes, bool bBigEndian, std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < nBytes; ++i) {
        const int byte = std::fgetc(m_stream);
        if (byte == EOF)
            return RefuseCutShort();
        const auto bits = static_cast<std::uint32_t>(byte);
        value = bBigEndian ? (value << 8 | bits) : (value | bits << (8 * i));
    }
    return true;
}

// The file's 16-bit fields are signed, but the record keeps them in 16 bits, where the
// sign extension leaves no trace: only the bit pattern is kept.
bool CHeaderWalk::ReadLe16(std::uint16_t& value) {
    std::uint32_t raw = 0;
    if (!ReadBytes(2, false, raw))
        return false;
    value = static_cast<std::uint16_t>(raw);
    return true;
}

// Chunk sizes are signed in the file: one above 2 GiB reads as negative and is refused.
bool CHeaderWalk::ReadChunkSize(std::int32_t& nSize) {
    std::uint32_t raw = 0;
    if (!ReadLe32(raw))
        return false;
    nSize = static_cast<std::int32_t>(raw);
    return nSize >= 0 || Refuse(UiString::kReasonChunkSize);
}

// Reads through `nBytes` bytes; false when the file ends first.
bool CHeaderWalk::Skip(std::uint32_t nBytes) {
    char buffer[kSkipPiece];
    while (nBytes > 0) {
        const size_t piece = std::min<size_t>(nBytes, kSkipPiece);
        if (std::fread(buffer, 1, piece, m_stream) != piece)
            return RefuseCutShort();
        nBytes -= static_cast<std::uint32_t>(piece);
    }
    return true;
}

// Reads the `fmt ` chunk after its identifier.
bool CHeaderWalk::ReadFmtChunk(std::int32_t& nSize) {
    if (!ReadChunkSize(nSize))
        return false;
    if (nSize < kMinFmtSize)
        return Refuse(UiString::kReasonFmtTooShort);
    std::uint32_t nSampleRate = 0;
    std::uint32_t nByteRate = 0;
    if (!ReadLe16(m_track.m_wFormatTag) || !ReadLe16(m_track.m_nChannels) ||
        !ReadLe32(nSampleRate) || !ReadLe32(nByteRate) || !ReadLe16(m_track.m_nBlockAlign) ||
        !ReadLe16(m_track.m_wBitsPerSample))
        return false;
    m_track.m_nSamplesPerSec = nSampleRate;
    m_track.m_nAvgBytesPerSec = nByteRate;
    auto nRest = static_cast<std::uint32_t>(nSize - kMinFmtSize);
    if (m_track.m_wFormatTag == kExtensibleFormatTag && !ReadExtensibleFormat(nRest))
        return false;
    return Skip(nRest);
}

// The extension of WAVE_FORMAT_EXTENSIBLE, which many tools write even for plain 16-bit
// stereo: the record takes the tag of its sub-format when that is a standard one.
bool CHeaderWalk::ReadExtensibleFormat(std::uint32_t& nRest) {
    if (nRest < kExtensibleSize)
        return Refuse(UiString::kReasonFmtTooShort);
    std::uint16_t nExtensionSize = 0;
    std::uint16_t nValidBits = 0;
    std::uint32_t nChannelMask = 0;
    unsigned char guid[16];
    if (!ReadLe16(nExtensionSize) || !ReadLe16(nValidBits) || !ReadLe32(nChannelMask))
        return false;
    if (std::fread(guid, 1, sizeof guid, m_stream) != sizeof guid)
        return RefuseCutShort();
    nRest -= kExtensibleSize;
    if (std::memcmp(guid + 2, kSubFormatGuidTail, sizeof kSubFormatGuidTail) == 0)
        m_track.m_wFormatTag = static_cast<std::uint16_t>(guid[0] | guid[1] << 8);
    return true;
}

// Reads the `data` chunk's length after its identifier and remembers where its samples
// lie; a length past the end of the file is cut there. Counts the whole sample frames.
bool CHeaderWalk::ReadDataChunk() {
    std::uint32_t nLength = 0;
    if (!ReadLe32(nLength))
        return false;
    const long nOffset = std::ftell(m_stream);
    if (nOffset < 0 || std::fseek(m_stream, 0, SEEK_END) != 0)
        return RefuseCutShort();
    const long nEnd = std::ftell(m_stream);
    if (nEnd < nOffset)
        return RefuseCutShort();
    m_track.m_nDataOffset = static_cast<std::uint32_t>(
        std::min<long long>(nOffset, std::numeric_limits<std::uint32_t>::max()));
    m_track.m_nDataLength =
        static_cast<std::uint32_t>(std::min<long long>(nLength, nEnd - nOffset));
    // A frame narrower than a byte (4-bit mono) would otherwise divide by zero.
    const std::uint32_t nFrameBytes = FrameBytes(m_track);
    m_track.m_nSampleFrames = nFrameBytes == 0 ? 0 : m_track.m_nDataLength / nFrameBytes;
    return true;
}

// Writers that follow RIFF to the letter pad a chunk of odd size with a zero byte, others
// do not: a zero where the next chunk's identifier would begin can only be that pad.
void CHeaderWalk::SkipPadByte(std::int32_t nSize) {
    if (nSize % 2 == 0)
        return;
    const int next = std::fgetc(m_stream);
    if (next != 0 && next != EOF)
        std::ungetc(next, m_stream);
}

// The chunks after "WAVE", until `data`, the chunk limit, or the end of the file exactly
// where a chunk would begin.
bool CHeaderWalk::WalkChunks() {
    for (int nChunk = 0; nChunk < kMaxChunks; ++nChunk) {
        const int first = std::fgetc(m_stream);
        if (first == EOF)
            return std::ferror(m_stream) == 0 || RefuseCutShort();
        std::ungetc(first, m_stream);
        std::uint32_t id = 0;
        if (!ReadId(id))
            return false;
        if (id == kData) {
            m_bDataFound = true;
            return ReadDataChunk();
        }
        std::int32_t nSize = 0;
        const bool bRead = id == kFmt
                               ? ReadFmtChunk(nSize)
                               : ReadChunkSize(nSize) && Skip(static_cast<std::uint32_t>(nSize));
        if (!bRead)
            return false;
        SkipPadByte(nSize);
    }
    return true;
}

// Integer PCM and IEEE float are encoded; a file without `fmt ` still has tag 0 here.
bool CHeaderWalk::CheckFormat() {
    switch (m_track.m_wFormatTag) {
    case kPcmFormatTag:
    case kFloatFormatTag:
        return CheckSamples();
    case 0:
        return Refuse(UiString::kReasonNoFmt);
    case kExtensibleFormatTag:
        return Refuse(UiString::kReasonExtensible);
    default:
        return Refuse(UiString::kReasonAudioFormat, m_track.m_wFormatTag);
    }
}

// Mono or stereo, a rate, sample widths the run converts, and some sound.
bool CHeaderWalk::CheckSamples() {
    const unsigned nChannels = m_track.m_nChannels;
    if (nChannels == 0 || nChannels > kMaxChannels)
        return Refuse(UiString::kReasonChannels, nChannels);
    if (m_track.m_nSamplesPerSec == 0)
        return Refuse(UiString::kReasonNoSampleRate);
    const unsigned nBits = m_track.m_wBitsPerSample;
    const bool bFloat = m_track.m_wFormatTag == kFloatFormatTag;
    if (bFloat && nBits != 32)
        return Refuse(UiString::kReasonFloatBits, nBits);
    if (!bFloat && nBits != 8 && nBits != 16 && nBits != 24 && nBits != 32)
        return Refuse(UiString::kReasonSampleBits, nBits);
    return m_bDataFound || Refuse(UiString::kReasonNoData);
}

bool CHeaderWalk::Walk() {
    std::uint32_t id = 0;
    std::uint32_t nRiffSize = 0;
    const bool bRiff =
        ReadId(id) && id == kRiff && ReadLe32(nRiffSize) && ReadId(id) && id == kWave;
    if (!bRiff)
        return m_refusal.m_bUnreadable || Refuse(UiString::kReasonNotWav);
    return WalkChunks() && CheckFormat();
}

bool Refuse(SWaveRefusal* pRefusal, SWaveRefusal refusal) {
    if (pRefusal != nullptr)
        *pRefusal = std::move(refusal);
    return false;
}

} // namespace

bool CWaveReader::ParseWaveFile(CTrackItem& track, const std::string& strPath,
                                SWaveRefusal* pRefusal) {
    int nError = 0;
    std::FILE* stream = CRegularFile::OpenForReading(strPath, &nError);
    if (stream == nullptr)
        return Refuse(pRefusal, UnreadableRefusal(nError));
    const bool bParsed = ParseWaveHeader(track, stream, pRefusal);
    // The size comes from the stream already open, so the file is opened only once.
    struct stat status {};
    const bool bStatted = ::fstat(::fileno(stream), &status) == 0;
    const int statError = errno;
    std::fclose(stream);
    if (!bParsed)
        return false;
    if (!bStatted)
        return Refuse(pRefusal, UnreadableRefusal(statError));
    // RIFF sizes and the record's size are 32-bit: a larger file cannot be a WAV file.
    const auto nFileSize = static_cast<unsigned long long>(status.st_size);
    if (nFileSize > std::numeric_limits<std::uint32_t>::max())
        return Refuse(pRefusal, {.m_nReasonId = UiString::kReasonTooLarge});
    track.m_nWavSize = static_cast<unsigned>(nFileSize);
    track.m_nPlayTime = PlayTime(track);
    track.m_strWavDir = std::string(CText::DirectoryPart(strPath));
    const std::string_view name = CText::FileNamePart(strPath);
    track.m_strFileTitle =
        std::string(name.substr(0, name.size() - std::min<size_t>(name.size(), 4)));
    return true;
}

bool CWaveReader::ParseWaveHeader(CTrackItem& track, std::FILE* stream, SWaveRefusal* pRefusal) {
    CHeaderWalk walk(track, stream);
    if (walk.Walk())
        return true;
    return Refuse(pRefusal, walk.Refusal());
}

SWaveRefusal CWaveReader::UnreadableRefusal(int nError) {
    // Errors a user adding files meets often have texts of their own.
    static constexpr std::pair<int, unsigned> kOwnTexts[] = {
        {CRegularFile::kFolder, UiString::kReasonFolder},
        {CRegularFile::kNotRegularFile, UiString::kReasonNotRegular},
        {EACCES, UiString::kReasonPermissionDenied},
        {ENOENT, UiString::kReasonNoSuchFile},
    };
    for (const auto& [nKnown, nReasonId] : kOwnTexts) {
        if (nError == nKnown)
            return {.m_nReasonId = nReasonId, .m_bUnreadable = true};
    }
    return {.m_nReasonId = UiString::kReasonSystemError,
            .m_nSystemError = nError,
            .m_bUnreadable = true};
}

std::string CWaveReader::RefusalText(const SWaveRefusal& refusal,
                                     const CStringCatalogue& catalogue) {
    switch (refusal.m_nReasonId) {
    case UiString::kReasonSystemError:
        return catalogue.FormatUiStringOrBuiltIn(refusal.m_nReasonId,
                                                 CSystemError::Text(refusal.m_nSystemError));
    case UiString::kReasonChannels:
    case UiString::kReasonSampleBits:
    case UiString::kReasonFloatBits:
    case UiString::kReasonAudioFormat:
        return catalogue.FormatUiStringOrBuiltIn(refusal.m_nReasonId, refusal.m_nNumber);
    default:
        return catalogue.LoadUiString(refusal.m_nReasonId);
    }
}

unsigned CWaveReader::PlayTime(const CTrackItem& track) {
    if (track.m_nAvgBytesPerSec == 0)
        return 0;
    // The rate is that of whole bytes per sample.
    const unsigned long long nRate = static_cast<unsigned long long>(track.m_wBitsPerSample / 8) *
                                     track.m_nChannels * track.m_nSamplesPerSec;
    if (nRate == 0)
        return 0;
    return static_cast<unsigned>(track.m_nDataLength / nRate);
}
