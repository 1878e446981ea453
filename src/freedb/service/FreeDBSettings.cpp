#include "freedb/service/FreeDBSettings.h"

#include "platform/PlatformPaths.h"
#include "platform/PrivateProfile.h"
#include "platform/Profile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <utility>

namespace {
// Cuts `text` to at most `nMax` bytes without splitting a UTF-8 character.
std::string CutUtf8(std::string_view text, std::size_t nMax) {
    if (text.size() <= nMax)
        return std::string(text);
    std::size_t end = nMax;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return std::string(text.substr(0, end));
}

std::string ReadText(const CPrivateProfile& ini, const char* key, std::string_view strDefault) {
    return CutUtf8(ini.GetString(CFreeDBSettings::kSection, key, strDefault),
                   CFreeDBSettings::kMaxValueLength);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The places of the built-in list, in order; each gives a cddbp row and an http row.
struct SPlace {
    const char* m_pszLatitude;
    const char* m_pszLongitude;
    const char* m_pszDescription;
};
constexpr SPlace kPlaces[] = {
    {"N000.00", "W000.00", "Random freedb server"},
    {"N048.13", "E016.22", "Vienna, Austria"},
    {"S033.52", "E151.13", "Sydney, Australia"},
    {"N049.48", "W097.08", "Winnipeg, MB Canada"},
    {"N045.28", "W073.45", "Montreal, QC Canada"},
    {"N052.53", "E013.31", "Berlin, Germany"},
    {"N040.30", "W003.48", "Madrid, Spain"},
    {"N061.30", "E023.42", "Tampere, Finland"},
    {"N059.55", "E030.15", "Saint-Petersburg, Russia"},
    {"N051.49", "W000.01", "London, UK"},
    {"N037.21", "W121.55", "San Jose, CA USA"},
};
} // namespace

CFreeDBSettings::CFreeDBSettings(std::string strIniPath) : m_strIniPath(std::move(strIniPath)) {
    Load();
}

CFreeDBSettings::CFreeDBSettings() : CFreeDBSettings(CPlatformPaths::CdPlayerIniPath()) {}

bool CFreeDBSettings::Load() {
    CPrivateProfile ini;
    const bool bRead = ini.Load(m_strIniPath);

    m_strRemoteServer = ReadText(ini, "RemoteServer", kDefaultServer);
    m_strRemotePort = ReadText(ini, "RemotePort", kDefaultPort);
    // The stored value is unsigned: negative numbers are huge and fall back as well.
    const long long timeout = ini.GetInt(kSection, "RemoteTimeout", kDefaultTimeout);
    m_nTimeout = (timeout <= 0 || timeout > 999) ? kDefaultTimeout : static_cast<unsigned>(timeout);
    m_nOptions = static_cast<unsigned>(ini.GetInt(kSection, "OPTIONS_CDDB", 0));
    m_strHTTPPath = ReadText(ini, "RemoteHTTPPath", kDefaultHttpPath);
    m_strProxyServer = ReadText(ini, "RemoteProxyServer", "");
    m_strProxyPort = ReadText(ini, "RemoteProxyPort", "");
    m_strProxyUser = ReadText(ini, "ProxyUser", "");
    const std::optional<std::string> block = ini.Find(kSection, "ProxyPassword");
    m_strProxyPassword = block ? DecodePasswordBlock(*block) : std::string();
    m_strEmailServer = ReadText(ini, "EmailServer", "");
    m_strEmailAddress = ReadText(ini, "EmailAddress", kDefaultEmailAddress);
    m_strSubmitEmailAddress = ReadText(ini, "SubmitEmailAddress", kDefaultEmailAddress);
    m_bUseHTTP = (m_nOptions & kOptionUseHttp) != 0;
    m_bUseProxy = (m_nOptions & kOptionUseProxy) != 0;
    m_bProxyAuth = (m_nOptions & kOptionProxyAuth) != 0;
    m_bAskPassword = (m_nOptions & kOptionAskPassword) != 0;

    m_sites.clear();
    long long count = ini.GetInt(kSection, "NumServers", 0);
    if (count < 0)
        count = 0;
    if (count > static_cast<long long>(kMaxServers))
        count = static_cast<long long>(kMaxServers);
    char key[32];
    for (long long i = 0; i < count; ++i) {
        std::snprintf(key, sizeof key, "Server%lld", i);
        m_sites.emplace_back(ReadText(ini, key, ""));
    }
    AddMissingMusicBrainzSite();
    return bRead;
}

void CFreeDBSettings::AddMissingMusicBrainzSite() {
    // A list stored before MusicBrainz was a built-in row must still offer it.
    if (m_sites.empty() || m_sites.size() >= kMaxServers)
        return;
    for (const CFreeDBSite& site : m_sites) {
        if (site.m_strProtocol == kMusicBrainzProtocol)
            return;
    }
    m_sites.emplace_back(DefaultSiteLines().back());
}

bool CFreeDBSettings::Save() {
    if (m_bAskPassword)
        m_strProxyPassword.clear();
    m_nOptions = (m_bUseHTTP ? kOptionUseHttp : 0) | (m_bUseProxy ? kOptionUseProxy : 0) |
                 (m_bProxyAuth ? kOptionProxyAuth : 0) | (m_bAskPassword ? kOptionAskPassword : 0);

    // Start from the file as it is now: the CD Player database shares it.
    CPrivateProfile ini;
    ini.Load(m_strIniPath);
    ini.WriteString(kSection, "RemoteServer", m_strRemoteServer);
    ini.WriteString(kSection, "RemotePort", m_strRemotePort);
    ini.WriteInt(kSection, "RemoteTimeout", static_cast<int>(m_nTimeout));
    ini.WriteInt(kSection, "OPTIONS_CDDB", static_cast<int>(m_nOptions));
    ini.WriteString(kSection, "RemoteHTTPPath", m_strHTTPPath);
    ini.WriteString(kSection, "RemoteProxyServer", m_strProxyServer);
    ini.WriteString(kSection, "RemoteProxyPort", m_strProxyPort);
    ini.WriteString(kSection, "ProxyUser", m_strProxyUser);
    ini.WriteString(kSection, "ProxyPassword",
                    EncodePasswordBlock(m_strProxyPassword, std::random_device{}()));
    ini.WriteString(kSection, "EmailServer", m_strEmailServer);
    ini.WriteString(kSection, "EmailAddress", m_strEmailAddress);
    ini.WriteString(kSection, "SubmitEmailAddress", m_strSubmitEmailAddress);
    // No more is stored than Load reads back, whatever a server sent.
    const std::size_t count = std::min<std::size_t>(m_sites.size(), kMaxServers);
    ini.WriteInt(kSection, "NumServers", static_cast<int>(count));
    char key[32];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(key, sizeof key, "Server%zu", i);
        ini.WriteString(kSection, key, CutUtf8(m_sites[i].BuildLine(), kMaxValueLength));
    }

    std::error_code error;
    const std::filesystem::path parent = std::filesystem::path(m_strIniPath).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, error);
    if (!ini.Save(m_strIniPath, 0600))
        return false;
    // An older file keeps its mode on save; one that now holds a password is closed to
    // everyone but its owner.
    struct stat info {};
    if (!m_strProxyPassword.empty() && ::stat(m_strIniPath.c_str(), &info) == 0 &&
        (info.st_mode & 077) != 0)
        ::chmod(m_strIniPath.c_str(), info.st_mode & 0700);
    return true;
}

std::size_t CFreeDBSettings::AddSite(const CFreeDBSite& site) {
    m_sites.push_back(site);
    return m_sites.size() - 1;
}

const CFreeDBSite& CFreeDBSettings::GetSite(std::size_t i) const {
    static const CFreeDBSite kEmptySite;
    return i < m_sites.size() ? m_sites[i] : kEmptySite;
}

void CFreeDBSettings::RemoveSite(std::size_t i) {
    if (i < m_sites.size())
        m_sites.erase(m_sites.begin() + static_cast<std::ptrdiff_t>(i));
}

const std::vector<std::string>& CFreeDBSettings::DefaultSiteLines() {
    static const std::vector<std::string> kLines = [] {
        std::vector<std::string> lines;
        const std::string host = kDefaultServer;
        for (const SPlace& place : kPlaces) {
            const std::string where = std::string(place.m_pszLatitude) + ' ' +
                                      place.m_pszLongitude + ' ' + place.m_pszDescription;
            lines.push_back(host + " cddbp 8880 - " + where);
            lines.push_back(host + " http 80 /~cddb/cddb.cgi " + where);
        }
        lines.push_back(std::string(kMusicBrainzHost) + " " + kMusicBrainzProtocol + " " +
                        kMusicBrainzPort +
                        " /ws/2/ N000.00 W000.00 MusicBrainz, the open music "
                        "database (lookup by track lengths)");
        return lines;
    }();
    return kLines;
}

void CFreeDBSettings::AddDefaultSites() {
    for (const std::string& line : DefaultSiteLines())
        m_sites.emplace_back(line);
}

void CFreeDBSettings::ReplaceSites(const std::vector<CFreeDBSite>& sites) {
    std::vector<CFreeDBSite> kept;
    for (const CFreeDBSite& site : m_sites) {
        if (site.m_strProtocol == kMusicBrainzProtocol)
            kept.push_back(site);
    }
    kept.insert(kept.end(), sites.begin(), sites.end());
    m_sites = std::move(kept);
}

bool CFreeDBSettings::IsMusicBrainz() const {
    if (m_strRemoteServer == kMusicBrainzHost)
        return true;
    return std::any_of(m_sites.begin(), m_sites.end(), [this](const CFreeDBSite& site) {
        return site.m_strProtocol == kMusicBrainzProtocol && site.m_strHost == m_strRemoteServer &&
               site.m_strPort == m_strRemotePort;
    });
}

std::string CFreeDBSettings::MusicBrainzUrl() const {
    if (!m_strMusicBrainzUrl.empty())
        return m_strMusicBrainzUrl;
    for (const CFreeDBSite& site : m_sites) {
        if (site.m_strProtocol == kMusicBrainzProtocol && site.m_strHost == m_strRemoteServer &&
            site.m_strHost != kMusicBrainzHost) {
            const std::string port = site.m_strPort == "443" ? "" : ":" + site.m_strPort;
            return "https://" + site.m_strHost + port + site.m_strPath;
        }
    }
    return kMusicBrainzUrl;
}

void CFreeDBSettings::SetServerOverride(std::string_view host, std::string_view port) {
    m_strRemoteServer.assign(host);
    m_strRemotePort.assign(port);
}

std::string CFreeDBSettings::EncodePasswordBlock(std::string_view password, std::uint32_t nSeed) {
    const std::string text = CutUtf8(password, kMaxPasswordLength);
    std::mt19937 random(nSeed);
    std::uniform_int_distribution<unsigned> below250(0, 249);
    unsigned char block[kPasswordBlockSize];
    const unsigned key = below250(random);
    block[0] = static_cast<unsigned char>(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        block[1 + i] = static_cast<unsigned char>(static_cast<unsigned char>(text[i]) - key);
    for (std::size_t i = text.size() + 1; i < kPasswordBlockSize - 1; ++i)
        block[i] = static_cast<unsigned char>(below250(random));
    block[kPasswordBlockSize - 1] = static_cast<unsigned char>(key);

    // The binary profile value form: two hex digits a byte, then the byte sum.
    static const char kHex[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(2 * (kPasswordBlockSize + 1));
    unsigned sum = 0;
    for (unsigned char byte : block) {
        sum += byte;
        hex += kHex[byte >> 4];
        hex += kHex[byte & 15];
    }
    hex += kHex[(sum >> 4) & 15];
    hex += kHex[sum & 15];
    return hex;
}

std::string CFreeDBSettings::DecodePasswordBlock(std::string_view hex) {
    if (hex.size() != 2 * (kPasswordBlockSize + 1))
        return {};
    unsigned char bytes[kPasswordBlockSize + 1];
    for (std::size_t i = 0; i < kPasswordBlockSize + 1; ++i) {
        const int high = HexDigit(hex[2 * i]);
        const int low = HexDigit(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return {};
        bytes[i] = static_cast<unsigned char>(high * 16 + low);
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i < kPasswordBlockSize; ++i)
        sum += bytes[i];
    if ((sum & 0xFF) != bytes[kPasswordBlockSize])
        return {};
    const int length = static_cast<signed char>(bytes[0]);
    const unsigned key = bytes[kPasswordBlockSize - 1];
    std::string password;
    for (int i = 1; i <= length; ++i)
        password += static_cast<char>(static_cast<unsigned char>(bytes[i] + key));
    return password;
}

void CFreeDBSettings::SProfileOptions::Load(const CProfile& profile) {
    const int threads = profile.GetInt(kSection, "MaxThreadsCount", 5);
    m_nMaxThreadsCount = (threads < 1 || threads > 20) ? 1 : static_cast<unsigned>(threads);
    m_nLogging = static_cast<unsigned>(profile.GetInt(kSection, "Logging", 0));
    const int write = profile.GetInt(kSection, "WriteToLocalDB", 1);
    m_nWriteToLocalDB = (write < 0 || write > 2) ? 1 : static_cast<unsigned>(write);
    m_nGetServersX = profile.GetInt(kSection, "GetServersX", 300);
    m_nGetServersY = profile.GetInt(kSection, "GetServersY", 200);
    m_nGetServersW = profile.GetInt(kSection, "GetServersW", 300);
    m_nGetServersH = profile.GetInt(kSection, "GetServersH", 200);
}

bool CFreeDBSettings::SProfileOptions::Save(CProfile& profile) const {
    {
        const CProfile::CDeferredSave batch(profile);
        profile.WriteInt(kSection, "MaxThreadsCount", static_cast<int>(m_nMaxThreadsCount));
        profile.WriteInt(kSection, "Logging", static_cast<int>(m_nLogging));
        profile.WriteInt(kSection, "WriteToLocalDB", static_cast<int>(m_nWriteToLocalDB));
        profile.WriteInt(kSection, "GetServersX", m_nGetServersX);
        profile.WriteInt(kSection, "GetServersY", m_nGetServersY);
        profile.WriteInt(kSection, "GetServersW", m_nGetServersW);
        profile.WriteInt(kSection, "GetServersH", m_nGetServersH);
    }
    // The batch saved when it ended; a failed save is still pending and fails again here.
    return profile.Flush();
}

bool CFreeDBSettings::SProfileOptions::IsFullLogging(const CProfile& profile) {
    return profile.GetInt(kSection, "Logging", 0) != 0;
}
