#include "filelist/OutputNamer.h"

#include "encoding/AppSettings.h"
#include "encoding/GenreTable.h"
#include "encoding/TrackItem.h"
#include "filelist/SymbolReplacement.h"
#include "platform/Profile.h"
#include "platform/Text.h"

#include <algorithm>

namespace {
struct STokenValues {
    std::string_view m_strTitle;
    std::string_view m_strGenre;
    std::string_view m_strArtist;
    std::string_view m_strAlbum;
    std::string_view m_strYear;
    std::string_view m_strNumber;
};

// Fills the template's tokens in a fixed order, each on the text the previous one left,
// so a title holding "[artist]" gets the artist too. Returns whether [title] or [number]
// occurred, the tokens that tell tracks apart.
bool ReplaceTokens(std::string& text, const STokenValues& values) {
    const int titles = CText::ReplaceAll(text, "[title]", values.m_strTitle);
    CText::ReplaceAll(text, "[genre]", values.m_strGenre);
    CText::ReplaceAll(text, "[artist]", values.m_strArtist);
    CText::ReplaceAll(text, "[album]", values.m_strAlbum);
    CText::ReplaceAll(text, "[year]", values.m_strYear);
    const int numbers = CText::ReplaceAll(text, "[number]", values.m_strNumber);
    return titles > 0 || numbers > 0;
}

std::string_view GenreText(unsigned nGenre) {
    return nGenre == CGenreTable::kNoGenre ? std::string_view{} : CGenreTable::GenreName(nGenre);
}

// Letters as spreadsheet columns are named: "A" to "Z", then "AA", "AB", ... "ZZ", "AAA".
std::string LetterText(unsigned long long nPosition, char first) {
    std::string letters;
    for (unsigned long long n = nPosition + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>(first + (n - 1) % 26));
    return letters;
}

// `text` cut to at most `nBytes` bytes, never inside a UTF-8 character.
std::string CutUtf8(const std::string& text, size_t nBytes) {
    if (text.size() <= nBytes)
        return text;
    size_t end = nBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}
} // namespace

COutputNamer::COutputNamer(const CAppSettings& settings, const CProfile& profile)
    : m_settings(settings), m_profile(profile) {}

bool COutputNamer::BuildOutputName(CTrackItem& track, unsigned nCopy) const {
    // An encoded track keeps the path its file was written to.
    if (track.m_bEncoded)
        return false;
    const std::string& directory = m_settings.m_bSameDir ? track.m_strWavDir : track.m_strOutputDir;
    const std::string ending =
        (nCopy > 1 ? CText::Format(" (%u)", nCopy) : std::string()) + m_settings.m_strMp3Ext;
    const size_t room = kMaxNameBytes > ending.size() ? kMaxNameBytes - ending.size() : 0;

    // Each pass shortens the title by at least the excess, so the loop ends.
    std::string title = track.m_strTitle;
    std::string name = FileName(track, title);
    while (name.size() > room && !title.empty()) {
        title = CutUtf8(title, title.size() - std::min(title.size(), name.size() - room));
        name = FileName(track, title);
    }
    // A name still too long without a title (a long album, say) loses its end.
    if (name.size() > room)
        name = ReplaceFileNameSymbols(CutUtf8(name, room));
    track.m_strMp3Path = directory + name + ending;
    return true;
}

std::string COutputNamer::FileName(const CTrackItem& track, const std::string& strTitle) const {
    if (m_settings.m_strOutputFileFormat.empty())
        return ReplaceFileNameSymbols(track.m_strFileTitle);

    const std::string number = NumberText(track.m_nIndex, m_settings.m_nNumberStyle);
    std::string name = m_settings.m_strOutputFileFormat;
    const bool distinct =
        ReplaceTokens(name, {strTitle, GenreText(track.m_nGenre), track.m_strArtist,
                             track.m_strAlbum, track.m_strYear, number});
    // Without a title or number every track would get the same name.
    if (!distinct)
        name.insert(0, number);
    if (name.empty())
        name = track.m_strFileTitle;
    return ReplaceFileNameSymbols(std::move(name));
}

std::string COutputNamer::ReplaceFileNameSymbols(std::string text) const {
    // The Symbol Replacement window may have changed the table since the last name.
    if (!m_symbols || m_nSymbolsRevision != m_profile.Revision()) {
        m_symbols = CSymbolReplacement::Load(m_profile);
        m_nSymbolsRevision = m_profile.Revision();
    }
    return m_symbols->ReplaceFileNameSymbols(std::move(text));
}

std::string COutputNamer::NumberText(unsigned nPosition, unsigned nStyle) {
    const unsigned long long number = static_cast<unsigned long long>(nPosition) + 1;
    switch (nStyle) {
    case 1:
        return CText::Format(number < 10 ? "0%llu" : "%llu", number);
    case 2:
        return LetterText(nPosition, 'A');
    case 3:
        return LetterText(nPosition, 'a');
    default:
        return CText::Format("%llu", number);
    }
}

std::string COutputNamer::ExampleName(std::string_view strTemplate, std::string_view strFirstTitle,
                                      std::string_view strArtist, std::string_view strAlbum,
                                      std::string_view strYear, unsigned nGenre) const {
    const std::string number = NumberText(0, m_settings.m_nNumberStyle);
    std::string name(strTemplate);
    // The example shows the template as typed: no number prefix, no fallback name.
    ReplaceTokens(name, {strFirstTitle.empty() ? "Track" : strFirstTitle, GenreText(nGenre),
                         strArtist, strAlbum, strYear, number});
    return ReplaceFileNameSymbols(std::move(name)) + m_settings.m_strMp3Ext;
}
