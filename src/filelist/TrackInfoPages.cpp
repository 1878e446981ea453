#include "filelist/TrackInfoPages.h"

#include "encoding/AppSettings.h"
#include "encoding/GenreTable.h"
#include "encoding/TrackItem.h"
#include "lang/StringCatalogue.h"
#include "platform/Text.h"

namespace {
// The channel words are not translated.
std::string_view ChannelModeWord(unsigned nChannelMode) {
    switch (nChannelMode) {
    case 0:
        return "Mono";
    case 1:
        return "Joint stereo";
    case 2:
        return "Stereo";
    default:
        return "<Undefined>";
    }
}

std::string_view GenreText(unsigned nGenre) {
    return nGenre == CGenreTable::kNoGenre ? std::string_view() : CGenreTable::GenreName(nGenre);
}
} // namespace

CTrackInfoPages::CTrackInfoPages(const CAppSettings& settings, const CStringCatalogue& catalogue)
    : m_settings(settings), m_catalogue(catalogue) {}

SInfoPages CTrackInfoPages::Build(const CTrackItem& track) const {
    SInfoPages result;
    result.m_strCaption = m_catalogue.LoadUiString(UiString::kInfoCaption);
    const std::optional<std::string> general = GeneralText(track);
    const std::optional<std::string> wav = general ? WavText(track) : std::nullopt;
    const std::optional<std::string> mp3 = wav ? Mp3Text(track) : std::nullopt;
    const std::optional<std::string> album = mp3 ? AlbumText(track) : std::nullopt;
    if (!album) {
        result.m_strError = std::string(kLanguageFileError);
        return result;
    }
    const SInfoPage pages[] = {
        {m_catalogue.LoadUiString(UiString::kInfoGeneralTab), *general},
        {m_catalogue.LoadUiString(UiString::kInfoAlbumTab), *album},
        {TabTitle(UiString::kInfoWavTab, track.m_bWavPresent), *wav},
        {TabTitle(UiString::kInfoMp3Tab, track.m_bEncoded), *mp3},
    };
    for (const SInfoPage& page : pages) {
        if (!page.m_strText.empty())
            result.m_pages.push_back(page);
    }
    return result;
}

std::optional<std::string> CTrackInfoPages::GeneralText(const CTrackItem& track) const {
    const std::string notCreated = m_catalogue.LoadUiString(UiString::kInfoNotCreated);
    return m_catalogue.FormatUiString(
        UiString::kInfoGeneralFormat, track.m_strTitle, static_cast<int>(track.m_nPlayTime),
        track.TrackStatusText(m_catalogue), track.m_bWavPresent ? track.m_strWavPath : notCreated,
        track.m_bEncoded ? track.m_strMp3Path : notCreated);
}

std::optional<std::string> CTrackInfoPages::WavText(const CTrackItem& track) const {
    std::optional<std::string> text = m_catalogue.FormatUiString(
        UiString::kInfoWavFormat, CText::FileNamePart(track.m_strWavPath), track.m_strWavDir,
        static_cast<long>(track.m_nWavSize), static_cast<int>(track.m_nSamplesPerSec),
        std::string_view(track.m_nChannels >= 2 ? "Stereo" : "Mono"));
    if (text)
        *text += WavNote(track);
    return text;
}

std::string CTrackInfoPages::WavNote(const CTrackItem& track) const {
    if (!track.m_bWavPresent)
        return m_catalogue.LoadUiString(UiString::kInfoWavDeleted);
    if (!track.m_bDeleteWav)
        return m_catalogue.LoadUiString(track.m_bEncoded ? UiString::kInfoWavEncoded
                                                         : UiString::kInfoWavReady);
    return m_catalogue.LoadUiString(UiString::kInfoWavWillBeDeleted);
}

std::optional<std::string> CTrackInfoPages::Mp3Text(const CTrackItem& track) const {
    const std::string& outputDir = m_settings.m_bSameDir ? track.m_strWavDir : track.m_strOutputDir;
    return m_catalogue.FormatUiString(
        UiString::kInfoMp3Format, CText::FileNamePart(track.m_strMp3Path), outputDir,
        static_cast<long>(track.m_nMp3Size), track.m_nMpegVersion == 0 ? 1 : 2,
        static_cast<int>(track.m_nOutSampleRate), ChannelModeWord(track.m_nChannelMode),
        track.OptionSummary(), YesNo(track.m_bCopyright), YesNo(track.m_bPrivate),
        YesNo(track.m_bOriginal), YesNo(track.m_bCrc));
}

std::optional<std::string> CTrackInfoPages::AlbumText(const CTrackItem& track) const {
    std::optional<std::string> text = m_catalogue.FormatUiString(
        UiString::kInfoAlbumFormat, YesNo(track.m_bUseId3Tag), static_cast<int>(track.m_nIndex + 1),
        track.m_strTitle, track.m_strArtist, track.m_strAlbum, track.m_strYear,
        GenreText(track.m_nGenre));
    // The comment follows "Comments\t:" directly, without a separating space.
    if (text)
        *text += track.m_strComment;
    return text;
}

std::string CTrackInfoPages::YesNo(unsigned bFlag) const {
    return m_catalogue.LoadUiString(bFlag ? UiString::kInfoYes : UiString::kInfoNo);
}

std::string CTrackInfoPages::TabTitle(unsigned nId, bool bFileExists) const {
    const std::string word = m_catalogue.LoadUiString(nId);
    return bFileExists ? word : "<" + word + ">";
}
