#include "freedb/protocol/CddbHttpClient.h"

#include "freedb/protocol/AlbumSourceOwner.h"
#include "freedb/protocol/WebSearchPage.h"
#include "freedb/service/AlbumList.h"
#include "freedb/service/FreeDBSettings.h"
#include "platform/Text.h"

namespace {
std::string BlanksAsPlus(std::string text) {
    CText::ReplaceAll(text, " ", "+");
    return text;
}
} // namespace

CCddbHttpClient::CCddbHttpClient(CFreeDBSettings& settings, const CProfile* pProfile)
    : CCddbClient(settings, pProfile), m_strWebHost(CWebSearchPage::kWebSearchHost),
      m_strWebPort(CWebSearchPage::kWebSearchPort) {}

void CCddbHttpClient::SetWebHost(const std::string& strHost, const std::string& strPortText) {
    m_strWebHost = strHost;
    m_strWebPort = strPortText;
}

bool CCddbHttpClient::ConnectServer(const std::string& strHost, const std::string& strPath,
                                    const std::string& strPortText, unsigned nTimeout,
                                    bool /*bQuiet*/) {
    if (strHost.empty() || strPath.empty() || strPortText.empty())
        return false;
    if (m_settings.m_bUseProxy) {
        Log("[INF]Connecting thru proxy %s:%s\r\n", m_settings.m_strProxyServer.c_str(),
            m_settings.m_strProxyPort.c_str());
        SetProxy(m_settings.m_strProxyServer, m_settings.m_strProxyPort);
        if (m_settings.m_bProxyAuth) {
            if (m_settings.m_bAskPassword && !m_bPasswordAsked && GetOwner() != nullptr) {
                std::string user = m_settings.m_strProxyUser;
                std::string password = m_settings.m_strProxyPassword;
                // Without the password the proxy would only refuse the request.
                if (!GetOwner()->AskProxyPassword(user, password)) {
                    Log("\tOpening connection ... ");
                    return Fail(kErrorNoProxyPassword, "Proxy password not entered.");
                }
                m_settings.m_strProxyUser = user;
                m_settings.m_strProxyPassword = password;
            }
            SetProxyAuth(m_settings.m_strProxyUser, m_settings.m_strProxyPassword);
        }
    }
    m_strHost = strHost;
    m_strPath = strPath;
    m_strPortText = strPortText;
    m_nTimeout = nTimeout;
    return true;
}

bool CCddbHttpClient::SendCommand(const std::string& strCommand) {
    const std::string query = BuildQuery(strCommand);
    CTcpSocket::Close();
    if (!CCddbClient::ConnectServer(m_strHost, m_strPath, m_strPortText, m_nTimeout, true))
        return false;
    m_bPasswordAsked = true;
    return Request(query);
}

bool CCddbHttpClient::HelloRefused() {
    const bool first = !m_bAnswered;
    m_bAnswered = true;
    return first ? IsRefusal(ReplyCode()) : CCddbClient::HelloRefused();
}

std::string CCddbHttpClient::BuildQuery(const std::string& strCommand) const {
    static const std::string kHelloCommand = "cddb hello ";
    const std::string hello = MakeHello().substr(kHelloCommand.size());
    return CText::Format("%s?cmd=%s&hello=%s&proto=%s", m_strPath.c_str(),
                         BlanksAsPlus(strCommand).c_str(), BlanksAsPlus(hello).c_str(),
                         kProtocolLevel);
}

bool CCddbHttpClient::Request(const std::string& strPath) {
    if (strPath.empty())
        return false;
    const std::string server = ServerAuthority();
    const std::string target = UsesProxy() ? "http://" + server + strPath : strPath;
    if (!SendLine("GET " + target + " HTTP/1.1") || !SendLine("Host: " + server))
        return false;
    if (UsesProxy() && UsesProxyAuth()) {
        std::string credentials = GetProxyUser() + ":" + GetProxyPassword();
        EncodeBase64(credentials);
        if (!SendLine("Proxy-Authorization: Basic " + credentials))
            return false;
    }
    return SendLine("") && ReadReplyHead();
}

void CCddbHttpClient::EncodeBase64(std::string& strText) {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    encoded.reserve((strText.size() + 2) / 3 * 4);
    for (size_t i = 0; i < strText.size(); i += 3) {
        const size_t count = std::min<size_t>(3, strText.size() - i);
        uint32_t group = 0;
        for (size_t j = 0; j < 3; ++j) {
            const uint32_t byte = j < count ? static_cast<unsigned char>(strText[i + j]) : 0u;
            group = (group << 8) | byte;
        }
        for (size_t j = 0; j < 4; ++j)
            encoded += j <= count ? kAlphabet[(group >> (18 - 6 * j)) & 0x3f] : '=';
    }
    strText = std::move(encoded);
}

bool CCddbHttpClient::Search(const std::string& strWords, bool bInArtists, bool bInTitles,
                             bool bInTracks, bool bInOther, CAlbumList& results) {
    CWebSearchPage::SRequest request;
    request.m_strWords = strWords;
    request.m_bInArtists = bInArtists;
    request.m_bInTitles = bInTitles;
    request.m_bInTracks = bInTracks;
    request.m_bInOther = bInOther;
    if (!request.HasFields())
        return false;
    if (!Create()) {
        Log("\tSending search query ... ");
        return Fail(160, "Can't create socket!");
    }
    long long port = 0;
    SetTimeout(CWebSearchPage::kWebSearchTimeout);
    const bool connected = CText::ParseInt(m_strWebPort, port) && port >= 0 && port <= 65535 &&
                           Connect(m_strWebHost, static_cast<unsigned>(port));
    if (!connected) {
        CTcpSocket::Close();
        Log("\tSending search query ... ");
        return Fail(161, "Can't connect to remote server!");
    }
    Log("\tSending search query ... ");
    if (!Request(CWebSearchPage::BuildRequestPath(request))) {
        CTcpSocket::Close();
        return Fail(162, "Sending request failed!");
    }
    Log("done.\r\n");
    Log("\tReceiving search results ... ");
    ReadPage(results);
    CTcpSocket::Close();
    Log("done.\r\n");
    LogText(CWebSearchPage::SummaryLogLine(results.GetCount()));
    return true;
}

// Reads the page until it ends, a read fails (also on a stop request) or the list cap.
void CCddbHttpClient::ReadPage(CAlbumList& results) {
    // The site names itself in its links: the host asked, without its port.
    CWebSearchPage page(m_strWebHost);
    std::string line;
    for (size_t count = 0; count < kMaxListLines && ReadLine(line); ++count) {
        if (!page.FeedLine(line, results))
            return;
    }
}
