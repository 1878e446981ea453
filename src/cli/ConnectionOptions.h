#pragma once

#include <optional>
#include <string>

class CArgParser;
class CFreeDBSettings;

// The options of the FreeDB commands: the connection settings that override
// CDPLAYER.INI for one run, the log, and the search fields.
class CConnectionOptions {
public:
    void Register(CArgParser& parser);

    // The settings file to load: --cdplayer-ini, else the user's CDPLAYER.INI.
    std::string CdPlayerIniPath() const;
    // Applies the overrides to settings loaded from the file.
    void ApplyOverrides(CFreeDBSettings& settings) const;

    bool IsLogShown() const { return m_bLog; }
    bool IsFullLog() const { return m_bFullLog; }
    bool InArtists() const { return m_bInArtists; }
    bool InTitles() const { return m_bInTitles; }
    bool InTracks() const { return m_bInTracks; }
    bool InOther() const { return m_bInOther; }
    // The web site to search, when given: host and port text.
    const std::optional<std::string>& WebHost() const { return m_strWebHost; }
    const std::string& WebPort() const { return m_strWebPort; }

    static const char* UsageText();

private:
    std::optional<std::string> m_strServer;
    std::optional<std::string> m_strPort;
    std::optional<bool> m_bUseHttp;
    std::optional<std::string> m_strHttpPath;
    std::optional<std::string> m_strProxyHost;
    std::optional<std::string> m_strProxyPort;
    std::optional<std::string> m_strProxyUser;
    std::optional<std::string> m_strProxyPassword;
    std::optional<unsigned> m_nTimeout;
    std::optional<std::string> m_strIniPath;
    std::optional<std::string> m_strMusicBrainzUrl;
    bool m_bFullLog = false;
    bool m_bLog = false;
    bool m_bInArtists = true;
    bool m_bInTitles = true;
    bool m_bInTracks = false;
    bool m_bInOther = false;
    std::optional<std::string> m_strWebHost;
    std::string m_strWebPort = "80";
};
