#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CAppSettings;
class CStringCatalogue;
class CTrackItem;

// One tab of the file information window.
struct SInfoPage {
    std::string m_strTitle;
    std::string m_strText;
};

// What the file information window shows: its caption, and either the tabs or, when a
// translated page format does not fit its arguments, the error text instead of any tab.
struct SInfoPages {
    std::string m_strCaption;
    std::vector<SInfoPage> m_pages;
    std::optional<std::string> m_strError;
};

// The text pages that describe one track: General, Album, WAV and MP3, each formatted
// with a catalogue format, so a translation controls the layout.
class CTrackInfoPages {
public:
    static constexpr std::string_view kLanguageFileError =
        "Error occured in parsing currently used language file\nPlase download from the "
        "internet a new version of it.";

    CTrackInfoPages(const CAppSettings& settings, const CStringCatalogue& catalogue);

    SInfoPages Build(const CTrackItem& track) const;

private:
    std::optional<std::string> GeneralText(const CTrackItem& track) const;
    std::optional<std::string> WavText(const CTrackItem& track) const;
    std::optional<std::string> Mp3Text(const CTrackItem& track) const;
    std::optional<std::string> AlbumText(const CTrackItem& track) const;
    std::string WavNote(const CTrackItem& track) const;
    std::string YesNo(unsigned bFlag) const;
    // The tab word, in angle brackets while its file does not exist.
    std::string TabTitle(unsigned nId, bool bFileExists) const;

    const CAppSettings& m_settings;
    const CStringCatalogue& m_catalogue;
};
