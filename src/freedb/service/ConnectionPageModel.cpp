#include "freedb/service/ConnectionPageModel.h"

#include "platform/Profile.h"

#include <algorithm>

namespace {
constexpr const char* kDefaultEmailUser = "freedb";
constexpr const char* kDirectProtocol = "cddbp";
} // namespace

CConnectionPageModel::CConnectionPageModel(const CFreeDBSettings& settings) : m_settings(settings) {
    if (m_settings.GetSiteCount() == 0)
        m_settings.AddDefaultSites();
}

void CConnectionPageModel::Reload() {
    m_settings.Load();
    if (m_settings.GetSiteCount() == 0)
        m_settings.AddDefaultSites();
}

std::vector<std::string> CConnectionPageModel::ServerTexts(const std::string& strFormat) const {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < m_settings.GetSiteCount(); ++i) {
        const CFreeDBSite& site = m_settings.GetSite(i);
        std::string text = strFormat;
        // Three "%s" in order; the format comes from the catalogue, so it is filled here
        // rather than handed to printf.
        for (const std::string* part :
             {&site.m_strHost, &site.m_strProtocol, &site.m_strDescription}) {
            const std::size_t at = text.find("%s");
            if (at == std::string::npos)
                break;
            text.replace(at, 2, *part);
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

int CConnectionPageModel::ChosenServer() const {
    int chosen = -1;
    for (std::size_t i = 0; i < m_settings.GetSiteCount(); ++i) {
        const CFreeDBSite& site = m_settings.GetSite(i);
        if (site.m_strHost == m_settings.m_strRemoteServer &&
            site.m_strPort == m_settings.m_strRemotePort)
            chosen = static_cast<int>(i);
    }
    return chosen;
}

bool CConnectionPageModel::IsProxyOffered(int nServer) const {
    return nServer >= 0 &&
           m_settings.GetSite(static_cast<std::size_t>(nServer)).m_strProtocol != kDirectProtocol;
}

std::pair<std::string, std::string> CConnectionPageModel::EmailParts() const {
    const std::string& address = m_settings.m_strEmailAddress;
    const std::size_t at = address.find('@');
    if (at == std::string::npos)
        return {address, {}};
    return {address.substr(0, at), address.substr(at + 1)};
}

int CConnectionPageModel::ConnectionChoice(unsigned nMaxThreads) {
    const auto found = std::find(kConnectionChoices.begin(), kConnectionChoices.end(), nMaxThreads);
    if (found == kConnectionChoices.end())
        return 1;
    return static_cast<int>(found - kConnectionChoices.begin());
}

bool CConnectionPageModel::Save(const SValues& values, CProfile& profile) {
    m_settings.m_nTimeout =
        values.m_nTimeout == 0 || values.m_nTimeout > kMaxTimeout ? 30 : values.m_nTimeout;
    const int server = values.m_nServer < 0 ? 0 : values.m_nServer;
    const CFreeDBSite& site = m_settings.GetSite(static_cast<std::size_t>(server));
    m_settings.m_strRemoteServer = site.m_strHost;
    m_settings.m_strRemotePort = site.m_strPort;
    m_settings.m_bUseHTTP = site.m_strProtocol != kDirectProtocol;
    const std::string user =
        values.m_strEmailUser.empty() ? kDefaultEmailUser : values.m_strEmailUser;
    const std::string domain =
        values.m_strEmailDomain.empty() ? CFreeDBSettings::kMailDomain : values.m_strEmailDomain;
    m_settings.m_strEmailAddress = user + "@" + domain;
    m_settings.m_strSubmitEmailAddress = m_settings.m_strEmailAddress;
    m_settings.m_bUseProxy = values.m_bUseProxy;
    CFreeDBSettings::SProfileOptions options;
    options.Load(profile);
    options.m_nMaxThreadsCount = values.m_nMaxThreads;
    const bool profileSaved = options.Save(profile);
    return m_settings.Save() && profileSaved;
}
