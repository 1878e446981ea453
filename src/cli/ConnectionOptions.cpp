#include "cli/ConnectionOptions.h"

#include "cli/ArgParser.h"
#include "freedb/service/FreeDBSettings.h"
#include "platform/PlatformPaths.h"

namespace {
// Splits "HOST[:PORT]"; an empty or non-numeric port is refused.
std::string SplitHostPort(const std::string& name, const std::string& value, bool bPortNeeded,
                          std::optional<std::string>& host, std::string& port) {
    const size_t colon = value.rfind(':');
    if (colon == std::string::npos) {
        if (bPortNeeded || value.empty())
            return name + " takes HOST:PORT, not '" + value + "'";
        host = value;
        return {};
    }
    unsigned number = 0;
    const std::string error =
        CArgParser::ParseNumber(name + " port", value.substr(colon + 1), 1, 65535, number);
    if (!error.empty() || colon == 0)
        return error.empty() ? name + " needs a host before the port" : error;
    host = value.substr(0, colon);
    port = std::to_string(number);
    return {};
}

CArgParser::ValueHandler Text(std::optional<std::string>& target) {
    return [&target](const std::string& value) {
        target = value;
        return std::string();
    };
}
} // namespace

void CConnectionOptions::Register(CArgParser& parser) {
    parser.AddValue("--server", [this](const std::string& value) {
        if (value == "musicbrainz") {
            m_strServer = CFreeDBSettings::kMusicBrainzHost;
            m_strPort = CFreeDBSettings::kMusicBrainzPort;
            return std::string();
        }
        std::string port;
        std::string error = SplitHostPort("--server", value, false, m_strServer, port);
        if (error.empty() && !port.empty())
            m_strPort = port;
        return error;
    });
    parser.AddValue("--musicbrainz-url", Text(m_strMusicBrainzUrl));
    parser.AddFlag("--http", [this] { m_bUseHttp = true; });
    parser.AddFlag("--cddbp", [this] { m_bUseHttp = false; });
    parser.AddValue("--http-path", Text(m_strHttpPath));
    parser.AddValue("--proxy", [this](const std::string& value) {
        std::string port;
        std::string error = SplitHostPort("--proxy", value, true, m_strProxyHost, port);
        m_strProxyPort = port;
        return error;
    });
    parser.AddValue("--proxy-user", Text(m_strProxyUser));
    parser.AddValue("--proxy-password", Text(m_strProxyPassword));
    parser.AddValue("--timeout", [this](const std::string& value) {
        unsigned seconds = 0;
        std::string error = CArgParser::ParseNumber("--timeout", value, 1, 999, seconds);
        if (error.empty())
            m_nTimeout = seconds;
        return error;
    });
    parser.AddFlag("--full-log", [this] { m_bFullLog = true; });
    parser.AddFlag("--log", [this] { m_bLog = true; });
    parser.AddValue("--cdplayer-ini", Text(m_strIniPath));
    parser.AddValue("--in", [this](const std::string& value) {
        m_bInArtists = m_bInTitles = m_bInTracks = m_bInOther = false;
        size_t start = 0;
        while (start <= value.size()) {
            const size_t comma = std::min(value.find(',', start), value.size());
            const std::string field = value.substr(start, comma - start);
            if (field == "artist")
                m_bInArtists = true;
            else if (field == "title")
                m_bInTitles = true;
            else if (field == "track")
                m_bInTracks = true;
            else if (field == "other")
                m_bInOther = true;
            else
                return "--in takes artist, title, track and other, not '" + field + "'";
            start = comma + 1;
        }
        return std::string();
    });
    parser.AddValue("--web-host", [this](const std::string& value) {
        return SplitHostPort("--web-host", value, false, m_strWebHost, m_strWebPort);
    });
}

std::string CConnectionOptions::CdPlayerIniPath() const {
    return m_strIniPath.value_or(CPlatformPaths::CdPlayerIniPath());
}

void CConnectionOptions::ApplyOverrides(CFreeDBSettings& settings) const {
    if (m_strServer)
        settings.m_strRemoteServer = *m_strServer;
    if (m_strPort)
        settings.m_strRemotePort = *m_strPort;
    if (m_bUseHttp)
        settings.m_bUseHTTP = *m_bUseHttp;
    if (m_strHttpPath)
        settings.m_strHTTPPath = *m_strHttpPath;
    if (m_strProxyHost) {
        settings.m_bUseProxy = true;
        settings.m_strProxyServer = *m_strProxyHost;
        settings.m_strProxyPort = *m_strProxyPort;
    }
    if (m_strProxyUser || m_strProxyPassword) {
        settings.m_bProxyAuth = true;
        // Nobody is there to answer a password prompt.
        settings.m_bAskPassword = false;
        settings.m_strProxyUser = m_strProxyUser.value_or(settings.m_strProxyUser);
        settings.m_strProxyPassword = m_strProxyPassword.value_or(settings.m_strProxyPassword);
    }
    if (m_nTimeout)
        settings.m_nTimeout = *m_nTimeout;
    if (m_strMusicBrainzUrl)
        settings.m_strMusicBrainzUrl = *m_strMusicBrainzUrl;
}

const char* CConnectionOptions::UsageText() {
    return R"(FreeDB connection for this run (override CDPLAYER.INI):
  --server HOST[:PORT]  CDDB server; "musicbrainz" looks albums up on MusicBrainz
                        by their track lengths (lookup and encode --freedb)
  --musicbrainz-url URL MusicBrainz web service address (default
                        https://musicbrainz.org/ws/2/)
  --http / --cddbp      HTTP gateway or direct CDDB connection
  --http-path PATH      Gateway path, as /~cddb/cddb.cgi
  --proxy HOST:PORT     HTTP proxy for the gateway and the search
  --proxy-user U  --proxy-password P
                        Proxy credentials (Basic authentication)
  --timeout S           Seconds to wait for the server, 1 to 999
  --cdplayer-ini FILE   Use this file instead of ~/.config/Orvandel/CDPLAYER.INI
  --log                 Show the operation log on standard error
  --full-log            Log every line sent and received as well
  --in FIELDS           search: artist,title,track,other (default artist,title)
  --web-host HOST[:PORT]
                        search: the web site to ask
)";
}
