#pragma once

#include <optional>
#include <string>
#include <vector>

class CAppSettings;

// The command line of wavsmith-cli: the command, its paths, and the options that
// override the profile's settings for this run.
class CCliOptions {
public:
    // Parses the arguments after the program name. False on bad usage, with the reason
    // in m_strError.
    bool Parse(const std::vector<std::string>& args);

    // Applies the overrides to settings loaded from the profile; the MP3 options go
    // through the MP3 page's tables, so only offered values are taken. False, with the
    // reason in m_strError, for a value the tables do not offer.
    bool ApplyOverrides(CAppSettings& settings);

    static std::string UsageText();

    std::string m_strCommand;
    std::vector<std::string> m_paths;
    bool m_bHelp = false;
    std::string m_strError;
    std::optional<std::string> m_strProfilePath;

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

private:
    bool ParseOption(const std::string& name, const std::vector<std::string>& args, size_t& i);
    bool TakeValue(const std::string& name, const std::vector<std::string>& args, size_t& i,
                   std::string& value);
    bool TakeNumber(const std::string& name, const std::vector<std::string>& args, size_t& i,
                    unsigned nMin, unsigned nMax, std::optional<unsigned>& target);
    bool ApplyMp3Overrides(CAppSettings& settings);
    bool Fail(std::string strError);

    // The value of a "--name=value" argument, set while that argument is parsed.
    std::optional<std::string> m_strInlineValue;
};
