#pragma once

#include "freedb/service/BackgroundFetch.h"
#include "freedb/service/FreeDBSettings.h"

#include <atomic>
#include <chrono>
#include <string>

class COperationLog;

// The worker of "Get FreeDB Servers List": connects to a FreeDB server (the default host,
// on port 80 over HTTP and 8880 otherwise), asks for its list of servers and stores it in
// the settings file, the asked server becoming the chosen one. Its steps and result are
// polled by the dialog; its log lines go to the dialog's log.
class CServerListFetch : public CBackgroundFetch {
public:
    // The dialog gives up waiting for a stop after one second.
    static constexpr std::chrono::milliseconds kStopGrace{1000};
    enum class EPhase { Idle, Connecting, Retrieving, Ended };

    // `settings` is copied when the request starts; the log must outlive the fetch.
    CServerListFetch(const CFreeDBSettings& settings, const CProfile& profile, COperationLog& log);
    ~CServerListFetch() override;

    // The server asked instead of the default one (a mirror, a test server).
    void SetServer(std::string strHost, std::string strCddbpPort, std::string strHttpPort);
    bool Start();

    EPhase GetPhase() const { return m_ePhase.load(); }
    bool IsOnline() const { return m_bOnline.load(); }
    // After the end: the servers stored, 0 when the request failed.
    unsigned GetServerCount() const { return m_nServers.load(); }
    // The progress bar, 0..100: the time passed against the time-out.
    int Progress(std::chrono::steady_clock::time_point now) const;
    // The stop ended or gave up: logs "Operation canceled by user".
    void LogCanceled();

protected:
    void LogLine(const std::string& strLine) override;

private:
    void Run();

    CFreeDBSettings m_settings; // the dialog's thread until Start, then the request's
    unsigned m_nTimeout;        // the dialog's thread
    COperationLog& m_log;
    std::string m_strHost;
    std::string m_strCddbpPort = "8880";
    std::string m_strHttpPort = "80";
    std::atomic<EPhase> m_ePhase{EPhase::Idle};
    std::atomic<bool> m_bOnline{false};
    std::atomic<unsigned> m_nServers{0};
};
