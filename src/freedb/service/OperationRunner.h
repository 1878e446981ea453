#pragma once

#include "freedb/protocol/AlbumSourceOwner.h"
#include "freedb/service/AlbumList.h"
#include "freedb/service/CDPlayerDatabase.h"
#include "freedb/service/FreeDBSettings.h"
#include "freedb/service/OperationObserver.h"
#include "platform/Profile.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CFreeDBClient;
class COperationLog;

// The FreeDB operations of the editor window, off the window's thread: a lookup by disc
// ID, a word search, and fetching track lists, those of every album listed on several
// connections at once. One operation thread at a time; while it fetches, up to
// "MaxThreadsCount" - 1 workers help, each with a connection of its own. A stop is
// cooperative first; after the grace period every socket of the operation is shut down
// so that each thread returns, and every thread is joined (none is ever killed).
//
// The Start, stop, progress and MoveToFront calls belong to one thread (the window's);
// the albums may be read there while no operation runs.
class COperationRunner : protected IAlbumSourceOwner {
public:
    enum EState { kIdle = 0, kListing = 1, kFetching = 3 };
    static constexpr std::chrono::milliseconds kDefaultStopGrace{25000};
    static constexpr std::chrono::milliseconds kStopPoll{100};
    static constexpr unsigned kProgressMax = 10000;
    // The error line of an operation that failed by an exception.
    static constexpr unsigned kErrorException = 107;

    // `settings` (the shared FreeDB settings), `profile`, `log` and `pObserver` (may be
    // none) must outlive the runner. The settings are read when an operation starts, as
    // they are in memory then; the profile options when the runner is made and after
    // RequestReconfigure.
    COperationRunner(CFreeDBSettings& settings, const CProfile& profile, COperationLog& log,
                     IOperationObserver* pObserver = nullptr,
                     std::chrono::milliseconds stopGrace = kDefaultStopGrace);
    // Stops a running operation (the whole stop sequence) and joins it.
    ~COperationRunner() override;
    COperationRunner(const COperationRunner&) = delete;
    COperationRunner& operator=(const COperationRunner&) = delete;

    // Each answers false, starting nothing, while an operation runs.
    // Looks up the albums of `album` (built from the file list), then fetches them all.
    bool StartLookup(const CAlbumInfo& album);
    // Searches the web site, then fetches the track lists of the albums found.
    bool StartSearch(const std::string& strText, bool bInArtists, bool bInTitles, bool bInTracks,
                     bool bInOther);
    // Fetches the track list of album `nIndex` alone.
    bool StartGetTracklist(std::size_t nIndex);

    // While track lists are fetched: album `nIndex`, when still waiting, is fetched next.
    bool MoveToFront(std::size_t nIndex);

    // The settings dialog was confirmed: the next start rereads the settings file, the
    // profile options and the local database, and asks the proxy password again.
    void RequestReconfigure();
    // The web site searched instead of the fixed one.
    void SetWebHost(const std::string& strHost, const std::string& strPortText);
    // Overrides "MaxThreadsCount" (1..20) until the next reconfigure, from the next
    // operation on; a running one keeps the count it started with.
    void SetMaxThreads(unsigned nThreads);

    // Stop: asks every thread to stop and starts the grace period. Then PollStop every
    // 100 ms until it answers true; it ends the stop once the operation thread has
    // ended, or forces it when the grace period has passed, and logs "Operation canceled
    // by user". With no operation running both do nothing more than the status text.
    void RequestStop();
    bool PollStop();
    // The whole stop sequence, waiting.
    void Stop();
    // Waits for a running operation to end by itself.
    void Wait();
    bool IsRunning() const { return m_bRunning.load(); }
    bool IsStopRequested() const override { return m_bStop.load(); }

    // One tick of the 500 ms progress timer, given the bar's position (0..100).
    struct SProgressTick {
        int m_nBar = 0;
        bool m_bStopTimer = false;
        std::string m_strStatus; // empty: the status text stays
    };
    SProgressTick ProgressTick(int nBar, std::chrono::steady_clock::time_point now) const;
    // The progress value 0..10000 of state `nState` after `nElapsedMs` of an operation.
    static unsigned ProgressValue(int nState, int nFound, unsigned nRetrieved,
                                  unsigned long long nElapsedMs, unsigned nTimeoutSeconds);
    // Connections a fetch of `nFound` albums uses: over the line protocol one serves about
    // three albums, over HTTP each album has its own; never more than `nMaxThreads`.
    static unsigned ConnectionsWanted(int nMode, int nFound, unsigned nMaxThreads);

    int GetState() const { return m_nState.load(); }
    // Albums listed, -1 after a failed listing.
    int GetFound() const { return m_nFound.load(); }
    unsigned GetRetrieved() const { return m_nRetrieved.load(); }
    unsigned GetFailed() const { return m_nFailed.load(); }
    std::string GetStatusText() const;
    // The albums listed, owned here; read and changed only while no operation runs.
    CAlbumList& Albums() { return m_albums; }
    // The connections the last fetch used.
    unsigned GetConnectionsUsed() const { return m_nConnectionsUsed.load(); }
    // The user selected `album`: it goes into the local database when "WriteToLocalDB"
    // says so. Answers whether it was stored.
    bool StoreSelected(CAlbumInfo& album);

protected:
    void LogLine(const std::string& strLine) override;
    bool AskProxyPassword(std::string& strUser, std::string& strPassword) override;

private:
    enum class EKind { Lookup, Search, GetTracklist };
    class CRegistration;

    bool Start(EKind eKind);
    void ReadProfileOptions();
    void Run(EKind eKind);
    void RunListing(CFreeDBClient& client, EKind eKind);
    void RunGetTracklist(CFreeDBClient& client);
    void FetchAll(CFreeDBClient& client);
    void FetchQueued(CFreeDBClient& client);
    void RunWorker(CFreeDBSettings settings);
    bool FetchOne(CFreeDBClient& client, CAlbumInfo& album);
    bool SetBusy(CFreeDBClient& client);
    void EndBusy(CFreeDBClient& client);
    void ReportResult();
    void LogException();
    void EndBusyAfterException();
    void ShowStatus(const std::string& strText);
    void FinishStop();
    void ForceShutdown();
    std::size_t IndexOf(const CAlbumInfo& album) const;
    void Notify(const std::function<void(IOperationObserver&)>& call) const;

    CFreeDBSettings& m_sharedSettings; // the window's thread
    const CProfile& m_profile;         // the window's thread
    COperationLog& m_log;
    IOperationObserver* m_pObserver;
    const std::chrono::milliseconds m_stopGrace;

    // Set on the window's thread before an operation starts, read-only while it runs.
    CFreeDBSettings m_settings;
    CProfile m_logging; // the logging level alone, for the sources
    unsigned m_nOperationMaxThreads = 5;
    unsigned m_nWriteToLocalDB = 1;
    bool m_bReconfigure = false;
    std::string m_strWebHost;
    std::string m_strWebPort;
    CAlbumInfo m_lookupAlbum;
    std::string m_strSearchText;
    // The window's thread: what the next operation starts with.
    unsigned m_nMaxThreads = 5;
    bool m_searchFields[4] = {true, true, false, false};
    std::size_t m_nTracklistIndex = 0;

    // Its own settings, which every store reloads; only the database reads them.
    CFreeDBSettings m_dbSettings;
    CCDPlayerDatabase m_localDb;

    CAlbumList m_albums; // owned; filled by the operation thread while listing
    CAlbumList m_queue;  // references into m_albums; shared by the fetching threads
    // Positions of the albums in m_albums, made before fetching starts, read-only then.
    std::vector<const CAlbumInfo*> m_albumOrder;

    std::atomic<int> m_nState{kIdle};
    std::atomic<int> m_nFound{0};          // written by the operation thread
    std::atomic<unsigned> m_nRetrieved{0}; // any fetching thread
    std::atomic<unsigned> m_nFailed{0};    // any fetching thread
    std::atomic<unsigned> m_nConnectionsUsed{0};
    std::atomic<bool> m_bStop{false};                  // set by the window's thread
    std::atomic<bool> m_bRunning{false};               // cleared by the operation thread as it ends
    std::chrono::steady_clock::time_point m_startTime; // the window's thread

    // The window's thread.
    std::thread m_thread;
    bool m_bStopping = false;
    std::chrono::steady_clock::time_point m_stopTime;

    // The proxy password is asked once for the runner's window, whichever thread's
    // connection needs it first; the answer serves every later connection: the
    // credentials given, or a refusal. Held while the user is asked.
    enum class EPasswordAnswer { NotAsked, Given, Refused };
    std::mutex m_passwordMutex;
    EPasswordAnswer m_ePasswordAnswer = EPasswordAnswer::NotAsked;
    std::string m_strProxyUser;
    std::string m_strProxyPassword;

    // Every client of the running operation, so a forced stop reaches its sockets.
    std::mutex m_clientsMutex;
    std::vector<CFreeDBClient*> m_clients;
    bool m_bForced = false;

    mutable std::mutex m_statusMutex;
    std::string m_strStatus;
};
