#include "freedb/service/ServerListFetch.h"

#include "freedb/service/FreeDBClient.h"
#include "freedb/service/OperationLog.h"
#include "platform/Text.h"

#include <algorithm>

CServerListFetch::CServerListFetch(const CFreeDBSettings& settings, const CProfile& profile,
                                   COperationLog& log)
    : CBackgroundFetch(profile), m_settings(settings), m_nTimeout(settings.m_nTimeout), m_log(log),
      m_strHost(CFreeDBSettings::kDefaultServer) {}

CServerListFetch::~CServerListFetch() {
    StopAndJoin(kStopGrace);
}

void CServerListFetch::SetServer(std::string strHost, std::string strCddbpPort,
                                 std::string strHttpPort) {
    m_strHost = std::move(strHost);
    m_strCddbpPort = std::move(strCddbpPort);
    m_strHttpPort = std::move(strHttpPort);
}

bool CServerListFetch::Start() {
    if (IsRunning())
        return false;
    m_nServers = 0;
    m_ePhase = EPhase::Connecting;
    return StartThread([this] { Run(); });
}

void CServerListFetch::Run() {
    m_bOnline = true;
    unsigned servers = 0;
    {
        CFreeDBClient client(m_settings, &Logging(), this);
        m_settings.SetServerOverride(m_strHost, client.GetMode() == CFreeDBClient::kModeHttp
                                                    ? m_strHttpPort
                                                    : m_strCddbpPort);
        Attach([&client] { client.Shutdown(); });
        if (client.Connect()) {
            m_ePhase = EPhase::Retrieving;
            servers = static_cast<unsigned>(std::max(client.GetServerList(), 0));
            client.Disconnect();
        }
        Attach({});
    }
    m_bOnline = false;
    m_nServers = servers;
    if (servers > 0)
        m_log.Log(CText::Format("[INF]Total %u server(s) retrieved", servers));
    m_ePhase = EPhase::Ended;
}

int CServerListFetch::Progress(std::chrono::steady_clock::time_point now) const {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - StartTime());
    const long long span = static_cast<long long>(m_nTimeout) * 1000;
    if (span <= 0)
        return 100;
    return static_cast<int>(std::clamp<long long>(elapsed.count() * 100 / span, 0, 100));
}

void CServerListFetch::LogCanceled() {
    m_log.Log("Operation canceled by user");
}

void CServerListFetch::LogLine(const std::string& strLine) {
    m_log.Log(strLine);
}
