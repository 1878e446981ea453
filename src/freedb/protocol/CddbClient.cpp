#include "freedb/protocol/CddbClient.h"

#include "freedb/protocol/CddbReplyParser.h"
#include "freedb/protocol/ServerStats.h"
#include "freedb/protocol/XmcdParser.h"
#include "freedb/service/AlbumList.h"
#include "freedb/service/FreeDBSettings.h"
#include "platform/Text.h"

#include <algorithm>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr size_t kMaxUserName = 255;
}

CCddbClient::CCddbClient(CFreeDBSettings& settings, const CProfile* pProfile)
    : CAlbumSource(pProfile), m_settings(settings) {}

std::string CCddbClient::MakeHello() {
    // Fetching threads say hello at the same time, so the reentrant lookup.
    passwd entry{};
    passwd* user = nullptr;
    std::vector<char> buffer(16384);
    ::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &user);
    std::string name = user != nullptr && user->pw_name != nullptr ? user->pw_name : "unknown";
    name.resize(std::min(name.size(), kMaxUserName));
    return "cddb hello " + name + " host " + kClientName + " " + kClientVersion;
}

void CCddbClient::Trace(int nDirection, const std::string& strText) {
    // The credentials go to the proxy, not into a log that may be saved and passed on.
    static const std::string kCredentials = "Proxy-Authorization: Basic ";
    if (strText.compare(0, kCredentials.size(), kCredentials) == 0) {
        CAlbumSource::Trace(nDirection, kCredentials + "(hidden)");
        return;
    }
    CAlbumSource::Trace(nDirection, strText);
}

bool CCddbClient::ReadLine(std::string& strLine) {
    return CLineSocket::ReadLine(strLine);
}

bool CCddbClient::ReadReply() {
    return ReadLine(m_strReplyLine);
}

unsigned CCddbClient::ReplyCode() const {
    return CCddbReplyParser::ParseCode(m_strReplyLine);
}

void CCddbClient::ReadList(const std::function<void(const std::string&)>& take) {
    for (size_t count = 0; ReadReply() && m_strReplyLine != "."; ++count) {
        if (count == kMaxListLines) {
            DropConnection();
            return;
        }
        take(m_strReplyLine);
    }
}

bool CCddbClient::Fail(unsigned nError, const char* pText) {
    Log("failed.\r\n");
    Log("[ERR]Error %.03u: %s\r\n", nError, pText);
    return false;
}

bool CCddbClient::FailHelloRefused() {
    return Fail(kErrorHelloRefused, (kHelloRefused + m_strReplyLine).c_str());
}

bool CCddbClient::SendCommand(const std::string& /*strCommand*/) {
    return false;
}

bool CCddbClient::ConnectServer(const std::string& strHost, const std::string& strPath,
                                const std::string& strPortText, unsigned nTimeout, bool bQuiet) {
    if (strHost.empty() || strPath.empty() || strPortText.empty())
        return false;
    if (!bQuiet)
        Log("\tOpening connection ... ");
    if (!Create()) {
        if (!bQuiet)
            Fail(100, "Can't create socket!");
        return false;
    }
    long long port = 0;
    if (!CText::ParseInt(strPortText, port) || port < 0 || port > 65535)
        return false;
    SetTimeout(nTimeout);
    const bool connected = Connect(strHost, static_cast<unsigned>(port));
    if (!bQuiet) {
        if (connected)
            Log("done.\r\n");
        else
            Fail(101, "Can't connect to remote server!");
    }
    return connected;
}

bool CCddbClient::Open() {
    Log("[INF]Connecting to %s:%s, timeout %u\r\n", m_settings.m_strRemoteServer.c_str(),
        m_settings.m_strRemotePort.c_str(), m_settings.m_nTimeout);
    return ConnectServer(m_settings.m_strRemoteServer, m_settings.m_strHTTPPath,
                         m_settings.m_strRemotePort, m_settings.m_nTimeout, false);
}

bool CCddbClient::Close() {
    return true;
}

bool CCddbClient::Query(CAlbumInfo& album, CAlbumList& results) {
    Log("\tRetrieving albums list ... ");
    results.Clear();
    std::string offsets;
    for (size_t i = 0; i < album.GetTrackCount(); ++i)
        offsets += CText::Format(" %u", static_cast<unsigned>(album.GetTrack(i).GetFrameOffset()));
    const std::string& discId = album.GetDiscId();
    const std::string command = CText::Format(
        "cddb query %s %u %s %u", discId.c_str(), static_cast<unsigned>(album.GetTrackCount()),
        offsets.c_str(), static_cast<unsigned>(album.GetDiscLength()));
    if (!SendCommand(command))
        return Fail(130, "Sending query failed.");
    results.Clear();
    if (!ReadReply())
        return Fail(131, "Receiving timeout.");
    if (HelloRefused())
        return FailHelloRefused();
    const unsigned code = ReplyCode();
    if (code == 200) {
        const size_t blank = m_strReplyLine.find(' ');
        if (blank == std::string::npos)
            return Fail(132, "Can't parse reply!");
        CAlbumInfo match;
        if (CCddbReplyParser::ParseMatch(std::string_view(m_strReplyLine).substr(blank + 1),
                                         match)) {
            results.AddCopy(match);
            Log("done.\r\n");
            Log("[INF]\tFound exact match\r\n");
            return true;
        }
    } else if (code == 202) {
        Log("done.\r\n");
        Log("[INF]\tNothing found.\r\n");
        return true;
    } else if (code != 210 && code != 211) {
        return Fail(133, "Invalid server reply.");
    }
    ReadList([&results](const std::string& line) {
        CAlbumInfo match;
        if (CCddbReplyParser::ParseMatch(line, match))
            results.AddCopy(match);
    });
    Log("done.\r\n");
    Log("[INF]\tFound %u matches.\r\n", static_cast<unsigned>(results.GetCount()));
    return true;
}

bool CCddbClient::Read(CAlbumInfo& album) {
    const std::string discId = album.GetDiscId();
    Log("\tRetrieving album info for (%s) ... ", discId.c_str());
    if (!SendCommand("cddb read " + album.GetCategory() + " " + discId))
        return Fail(140, "Sending query failed.");
    if (!ReadReply())
        return Fail(141, "Receiving timeout.");
    if (HelloRefused())
        return FailHelloRefused();
    if (ReplyCode() != 210)
        return Fail(142, "Album not found.");
    Log("done.\r\n");
    return ParseRecord(album);
}

// The xmcd record up to its "." line; a record that never ends stops at the list cap.
// A record left before its "." (refused, cut, or followed by another) leaves lines that
// no later command may take for its reply, so the connection goes with them.
bool CCddbClient::ParseRecord(CAlbumInfo& album) {
    size_t count = 0;
    bool ended = false;
    const auto readLine = [this, &count, &ended](std::string& line) {
        if (++count > kMaxListLines || !ReadLine(line))
            return false;
        ended = line == ".";
        return true;
    };
    const bool parsed = CXmcdParser::ParseXmcd(
        readLine, album, [this](std::string_view text) { LogText(std::string(text)); });
    if (!ended)
        DropConnection();
    return parsed;
}

bool CCddbClient::GetSites(CFreeDBSettings& settings) {
    Log("\tRetrieving servers list ... ");
    if (!SendCommand("sites"))
        return Fail(150, "Sending query failed.");
    if (!ReadReply())
        return Fail(151, "Receiving timeout.");
    if (HelloRefused())
        return FailHelloRefused();
    if (ReplyCode() != 210)
        return Fail(152, "Servers info not retrieved!");
    // No more than the settings file keeps.
    std::vector<CFreeDBSite> sites;
    ReadList([&sites](const std::string& line) {
        if (sites.size() < CFreeDBSettings::kMaxServers)
            sites.emplace_back(line);
    });
    settings.ReplaceSites(sites);
    Log("done.\r\n");
    return true;
}

bool CCddbClient::GetStats(CServerStats& stats) {
    Log("\tRetrieving server statistics ...");
    if (!SendCommand("stat"))
        return Fail(180, "Sending query failed.");
    if (!ReadReply())
        return Fail(181, "Receiving timeout.");
    if (HelloRefused())
        return FailHelloRefused();
    if (ReplyCode() != 210)
        return Fail(182, "Server statistics not retrieved!");
    ReadList([&stats](const std::string& line) { CCddbReplyParser::ParseStatLine(line, stats); });
    Log("done.\r\n");
    return true;
}
