#include "encoding/Id3v1Tag.h"

#include "encoding/GenreTable.h"
#include "encoding/TrackItem.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {
constexpr size_t kTitleOffset = 3;
constexpr size_t kArtistOffset = 33;
constexpr size_t kAlbumOffset = 63;
constexpr size_t kYearOffset = 93;
constexpr size_t kCommentOffset = 97;
constexpr size_t kTrackOffset = 126;
constexpr size_t kGenreOffset = 127;

// Copies `text` as Latin-1 into a field of `nWidth` bytes; the rest of the field stays
// zero, and a text that fills it has no terminating zero.
void PutField(CId3v1Tag::Bytes& tag, size_t nOffset, size_t nWidth, std::string_view text) {
    const std::string latin1 = CId3v1Tag::ToLatin1(text);
    std::copy_n(latin1.begin(), std::min(latin1.size(), nWidth), tag.begin() + nOffset);
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The range the second byte of a sequence must lie in, which excludes overlong forms,
// surrogates and code points past U+10FFFF.
std::pair<unsigned char, unsigned char> SecondByteRange(unsigned char lead) {
    switch (lead) {
    case 0xE0:
        return {0xA0, 0xBF};
    case 0xED:
        return {0x80, 0x9F};
    case 0xF0:
        return {0x90, 0xBF};
    case 0xF4:
        return {0x80, 0x8F};
    default:
        return {0x80, 0xBF};
    }
}

// The length of the sequence that `lead` starts, or 0 when no sequence starts with it.
size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// Decodes the character at `nPos` and advances past it. An invalid or cut-off sequence
// yields no code point and is skipped as one unit up to its first offending byte.
std::optional<char32_t> NextCodePoint(std::string_view utf8, size_t& nPos) {
    const auto lead = static_cast<unsigned char>(utf8[nPos++]);
    const size_t length = SequenceLength(lead);
    if (length == 0)
        return std::nullopt;
    if (length == 1)
        return lead;

    char32_t code = lead & (0xFF >> (length + 1));
    const auto [low, high] = SecondByteRange(lead);
    for (size_t i = 1; i < length; ++i) {
        if (nPos >= utf8.size())
            return std::nullopt;
        const auto byte = static_cast<unsigned char>(utf8[nPos]);
        const bool valid = i == 1 ? byte >= low && byte <= high : IsContinuation(byte);
        if (!valid)
            return std::nullopt;
        code = (code << 6) | (byte & 0x3F);
        ++nPos;
    }
    return code;
}
} // namespace

CId3v1Tag::Bytes CId3v1Tag::BuildId3v1Tag(const CTrackItem& track) {
    Bytes tag{};
    tag[0] = 'T';
    tag[1] = 'A';
    tag[2] = 'G';
    // The track's title as the list and the playlist show it: the WAV file's name until
    // it is edited or taken from an album, which players should show too.
    PutField(tag, kTitleOffset, 30,
             track.m_strTitle.empty() ? track.m_strFileTitle : track.m_strTitle);
    PutField(tag, kArtistOffset, 30, track.m_strArtist);
    PutField(tag, kAlbumOffset, 30, track.m_strAlbum);
    PutField(tag, kYearOffset, 4, track.m_strYear);
    // 28 bytes, so that byte 125 stays zero and byte 126 is read as the track number.
    PutField(tag, kCommentOffset, 28, track.m_strComment);
    tag[kTrackOffset] = static_cast<unsigned char>((track.m_nIndex + 1) % 256);
    tag[kGenreOffset] = CGenreTable::GenreNumber(track.m_nGenre);
    return tag;
}

bool CId3v1Tag::WriteId3v1Tag(const CTrackItem& track, std::FILE* stream) {
    if (stream == nullptr)
        return false;
    const Bytes tag = BuildId3v1Tag(track);
    return std::fwrite(tag.data(), tag.size(), 1, stream) == 1;
}

std::string CId3v1Tag::ToLatin1(std::string_view utf8) {
    std::string latin1;
    latin1.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const std::optional<char32_t> code = NextCodePoint(utf8, pos);
        latin1 += code && *code <= 0xFF ? static_cast<char>(*code) : '?';
    }
    return latin1;
}
