#pragma once

#include <optional>
#include <string>

class CAppSettings;
class CArgParser;

// The options that override the profile's settings for one run: destination and
// naming, tag defaults and MP3 options.
class CSettingsOverrides {
public:
    void Register(CArgParser& parser);

    // Applies the overrides to settings loaded from the profile. The MP3 options go
    // through the MP3 page's tables, so only offered values are taken. False, with the
    // reason in Error(), for a value the tables do not offer.
    bool ApplyOverrides(CAppSettings& settings);
    const std::string& Error() const { return m_strError; }

    static const char* UsageText();

private:
    bool ApplyMp3Overrides(CAppSettings& settings);
    bool Fail(std::string strError);

    std::string m_strError;
    std::optional<std::string> m_strOutputDir;
    bool m_bSameDir = false;
    std::optional<std::string> m_strTemplate;
    std::optional<unsigned> m_nNumberStyle;
    std::optional<std::string> m_strArtist;
    std::optional<std::string> m_strAlbum;
    std::optional<std::string> m_strYear;
    std::optional<std::string> m_strGenre;
    std::optional<unsigned> m_nBitrate;
    std::optional<unsigned> m_nMpeg;
    std::optional<unsigned> m_nSampleRate;
    std::optional<unsigned> m_nChannelMode;
    std::optional<bool> m_bVbr;
    std::optional<unsigned> m_nVbrMin;
    std::optional<unsigned> m_nVbrMax;
    std::optional<unsigned> m_nVbrQuality;
    std::optional<std::string> m_strPreset;
};
