#include "freedb/service/OperationRunner.h"

#include "freedb/service/FreeDBClient.h"
#include "freedb/service/OperationLog.h"
#include "platform/Text.h"
#include "platform/ThreadPriority.h"

#include <algorithm>
#include <utility>

namespace {
// Below normal, so that fetching never slows the window.
constexpr int kThreadPriority = -1;
constexpr const char* kStopping = "Stopping started threads ...";
constexpr const char* kCanceled = "Operation canceled by user";
} // namespace

// Keeps a client reachable by a forced stop while it lives; a client that registers
// after the stop was forced is shut down at once.
class COperationRunner::CRegistration {
public:
    CRegistration(COperationRunner& runner, CFreeDBClient& client)
        : m_runner(runner), m_client(client) {
        const std::lock_guard<std::mutex> lock(m_runner.m_clientsMutex);
        m_runner.m_clients.push_back(&m_client);
        if (m_runner.m_bForced)
            m_client.Shutdown();
    }
    ~CRegistration() {
        const std::lock_guard<std::mutex> lock(m_runner.m_clientsMutex);
        auto& clients = m_runner.m_clients;
        clients.erase(std::remove(clients.begin(), clients.end(), &m_client), clients.end());
    }
    CRegistration(const CRegistration&) = delete;
    CRegistration& operator=(const CRegistration&) = delete;

private:
    COperationRunner& m_runner;
    CFreeDBClient& m_client;
};

COperationRunner::COperationRunner(CFreeDBSettings& settings, const CProfile& profile,
                                   COperationLog& log, IOperationObserver* pObserver,
                                   std::chrono::milliseconds stopGrace)
    : m_sharedSettings(settings), m_profile(profile), m_log(log), m_pObserver(pObserver),
      m_stopGrace(stopGrace), m_settings(settings), m_dbSettings(settings.GetIniPath()),
      m_localDb(m_dbSettings, settings.GetIniPath()) {
    ReadProfileOptions();
    m_localDb.Open();
}

COperationRunner::~COperationRunner() {
    if (m_bRunning)
        Stop();
    Wait();
}

void COperationRunner::ReadProfileOptions() {
    CFreeDBSettings::SProfileOptions options;
    options.Load(m_profile);
    m_nMaxThreads = options.m_nMaxThreadsCount;
    m_nWriteToLocalDB = options.m_nWriteToLocalDB;
    m_logging.WriteInt(CFreeDBSettings::SProfileOptions::kSection, "Logging",
                       options.m_nLogging != 0 ? 1 : 0);
}

void COperationRunner::RequestReconfigure() {
    m_bReconfigure = true;
    const std::lock_guard<std::mutex> lock(m_passwordMutex);
    m_ePasswordAnswer = EPasswordAnswer::NotAsked;
}

void COperationRunner::SetWebHost(const std::string& strHost, const std::string& strPortText) {
    m_strWebHost = strHost;
    m_strWebPort = strPortText;
}

void COperationRunner::SetMaxThreads(unsigned nThreads) {
    m_nMaxThreads = std::clamp(nThreads, 1u, 20u);
}

bool COperationRunner::StartLookup(const CAlbumInfo& album) {
    if (m_bRunning)
        return false;
    m_lookupAlbum = album;
    return Start(EKind::Lookup);
}

bool COperationRunner::StartSearch(const std::string& strText, bool bInArtists, bool bInTitles,
                                   bool bInTracks, bool bInOther) {
    if (m_bRunning)
        return false;
    m_strSearchText = strText;
    m_searchFields[0] = bInArtists;
    m_searchFields[1] = bInTitles;
    m_searchFields[2] = bInTracks;
    m_searchFields[3] = bInOther;
    return Start(EKind::Search);
}

bool COperationRunner::StartGetTracklist(std::size_t nIndex) {
    if (m_bRunning || nIndex >= m_albums.GetCount())
        return false;
    m_nTracklistIndex = nIndex;
    return Start(EKind::GetTracklist);
}

bool COperationRunner::Start(EKind eKind) {
    Wait();
    if (m_bReconfigure) {
        m_sharedSettings.Load();
        ReadProfileOptions();
        m_localDb.Open();
        m_bReconfigure = false;
    }
    // The operation works on copies: the window may change its settings meanwhile.
    m_settings = m_sharedSettings;
    m_nOperationMaxThreads = m_nMaxThreads;
    if (eKind != EKind::GetTracklist) {
        m_albums.Clear();
        Notify([](IOperationObserver& observer) { observer.OnAlbumsCleared(); });
    }
    {
        const std::lock_guard<std::mutex> lock(m_clientsMutex);
        m_bForced = false;
    }
    // Cleared here, not on the new thread, so a stop asked for at once is not lost.
    m_bStop = false;
    m_bStopping = false;
    m_nState = eKind == EKind::GetTracklist ? kFetching : kListing;
    m_startTime = std::chrono::steady_clock::now();
    m_bRunning = true;
    m_thread = std::thread([this, eKind] { Run(eKind); });
    return true;
}

void COperationRunner::Run(EKind eKind) {
    CThreadPriority::ApplyToCurrentThread(kThreadPriority);
    // Whatever goes wrong on this thread (no memory, an observer that throws) fails the
    // operation in the log; it never ends the program.
    try {
        CFreeDBClient client(m_settings, &m_logging, this);
        if (!m_strWebHost.empty())
            client.SetWebHost(m_strWebHost, m_strWebPort);
        const CRegistration registration(*this, client);
        if (eKind == EKind::GetTracklist)
            RunGetTracklist(client);
        else
            RunListing(client, eKind);
    } catch (...) {
        LogException();
        m_nFound = -1;
        m_nState = kIdle;
        EndBusyAfterException();
    }
    try {
        ReportResult();
    } catch (...) {
        LogException();
    }
    // Idle first: the window told of the end may start the next operation at once.
    m_bRunning = false;
    try {
        Notify([](IOperationObserver& observer) { observer.OnOperationEnded(); });
    } catch (...) {
        LogException();
    }
}

void COperationRunner::EndBusyAfterException() {
    try {
        Notify([](IOperationObserver& observer) {
            observer.OnConnectionChanged(false);
            observer.OnBusyChanged(false);
        });
    } catch (...) {
        LogException();
    }
}

void COperationRunner::LogException() {
    try {
        m_log.Log(CText::Format("[ERR]Error %.03u: %s", kErrorException,
                                "Exception occurs during FreeDB operation!"));
    } catch (...) {
        // Not even the log line could be made: the failed operation still ends.
    }
}

void COperationRunner::RunListing(CFreeDBClient& client, EKind eKind) {
    m_nState = kListing;
    m_nRetrieved = 0;
    m_nFailed = 0;
    if (!SetBusy(client)) {
        m_nFound = -1;
        m_nState = kIdle;
        return;
    }
    const bool lookup = eKind == EKind::Lookup;
    ShowStatus(lookup ? "Retrieving albums list..." : "Sending search queue...");
    m_nFound = lookup ? client.Query(m_lookupAlbum)
                      : client.Search(m_strSearchText, m_searchFields[0], m_searchFields[1],
                                      m_searchFields[2], m_searchFields[3]);
    if (m_nFound != -1) {
        CAlbumInfo album;
        while (!m_bStop && client.PopFound(album)) {
            const std::size_t index = m_albums.Add(std::make_unique<CAlbumInfo>(std::move(album)));
            const CAlbumInfo& listed = m_albums.GetAt(index);
            const auto state = listed.GetTrackCount() == 0
                                   ? IOperationObserver::EAlbumState::NoTrackList
                                   : IOperationObserver::EAlbumState::Normal;
            Notify([&](IOperationObserver& observer) {
                observer.OnAlbumAdded(index, listed);
                observer.OnAlbumState(index, state, listed);
            });
        }
        FetchAll(client);
    }
    m_nState = kIdle;
    EndBusy(client);
}

void COperationRunner::RunGetTracklist(CFreeDBClient& client) {
    m_nState = kFetching;
    m_nFound = 1;
    m_nRetrieved = 0;
    m_nFailed = 0;
    if (!SetBusy(client)) {
        m_nFound = -1;
        m_nState = kIdle;
        return;
    }
    m_albumOrder = {&std::as_const(m_albums).GetAt(m_nTracklistIndex)};
    FetchOne(client, m_albums.GetAt(m_nTracklistIndex));
    m_nState = kIdle;
    EndBusy(client);
}

unsigned COperationRunner::ConnectionsWanted(int nMode, int nFound, unsigned nMaxThreads) {
    if (nFound <= 0)
        return 0;
    const unsigned found = static_cast<unsigned>(nFound);
    // MusicBrainz lists every album with its tracks: reading one asks nothing more.
    const unsigned wanted = nMode == CFreeDBClient::kModeCddbp         ? std::max(1u, found / 3)
                            : nMode == CFreeDBClient::kModeMusicBrainz ? 1u
                                                                       : found;
    return std::min(wanted, std::max(1u, nMaxThreads));
}

void COperationRunner::FetchAll(CFreeDBClient& client) {
    if (m_bStop)
        return;
    m_nFailed = 0;
    m_nRetrieved = 0;
    m_nState = kFetching;
    const unsigned connections =
        ConnectionsWanted(client.GetMode(), m_nFound, m_nOperationMaxThreads);
    m_nConnectionsUsed = connections;
    if (connections == 0)
        return;
    m_albumOrder.clear();
    for (std::size_t i = 0; i < m_albums.GetCount(); ++i)
        m_albumOrder.push_back(&std::as_const(m_albums).GetAt(i));
    m_queue.Clear();
    for (std::size_t i = 0; i < m_albums.GetCount() && !m_bStop; ++i)
        m_queue.Add(m_albums.GetAt(i));

    // The user has answered a proxy password prompt for this operation already.
    CFreeDBSettings workerSettings = m_settings;
    workerSettings.m_bAskPassword = false;
    // Joined on every way out, an exception's too: a thread left joinable ends the program.
    struct SWorkers {
        std::vector<std::thread> m_threads;
        ~SWorkers() {
            for (std::thread& worker : m_threads)
                worker.join();
        }
    } workers;
    for (unsigned i = 1; i < connections; ++i)
        workers.m_threads.emplace_back([this, workerSettings] { RunWorker(workerSettings); });
    FetchQueued(client);
    for (std::thread& worker : workers.m_threads)
        worker.join();
    workers.m_threads.clear();
    m_queue.Clear();
}

void COperationRunner::RunWorker(CFreeDBSettings settings) {
    CThreadPriority::ApplyToCurrentThread(kThreadPriority);
    // An exception ends this worker alone: the album it held counts as failed, the other
    // threads go on with the queue.
    try {
        CFreeDBClient client(settings, &m_logging, this);
        const CRegistration registration(*this, client);
        if (!client.Connect())
            return;
        FetchQueued(client);
        client.Disconnect();
    } catch (...) {
        ++m_nFailed;
        LogException();
    }
}

void COperationRunner::FetchQueued(CFreeDBClient& client) {
    while (!m_bStop) {
        const CAlbumList::AlbumPtr album = m_queue.PopFront();
        if (!album)
            return;
        FetchOne(client, *album);
    }
}

bool COperationRunner::FetchOne(CFreeDBClient& client, CAlbumInfo& album) {
    using EAlbumState = IOperationObserver::EAlbumState;
    const std::size_t index = IndexOf(album);
    Notify([&](IOperationObserver& observer) {
        observer.OnAlbumState(index, EAlbumState::Fetching, album);
    });
    if (!client.Read(album)) {
        ++m_nFailed;
        Notify([&](IOperationObserver& observer) {
            observer.OnAlbumState(index, EAlbumState::Failed, album);
        });
        return false;
    }
    if (CCDPlayerDatabase::ShouldCache(m_nWriteToLocalDB, CCDPlayerDatabase::ECacheMoment::Fetched))
        m_localDb.Store(album);
    ++m_nRetrieved;
    Notify([&](IOperationObserver& observer) {
        observer.OnAlbumState(index, EAlbumState::Normal, album);
    });
    return true;
}

std::size_t COperationRunner::IndexOf(const CAlbumInfo& album) const {
    const auto found = std::find(m_albumOrder.begin(), m_albumOrder.end(), &album);
    if (found == m_albumOrder.end())
        return m_nTracklistIndex;
    return static_cast<std::size_t>(found - m_albumOrder.begin());
}

bool COperationRunner::SetBusy(CFreeDBClient& client) {
    Notify([](IOperationObserver& observer) { observer.OnBusyChanged(true); });
    ShowStatus("Connecting to remote server ...");
    const bool connected = client.Connect();
    Notify([connected](IOperationObserver& observer) {
        observer.OnConnectionChanged(connected);
        if (!connected)
            observer.OnBusyChanged(false);
    });
    return connected;
}

void COperationRunner::EndBusy(CFreeDBClient& client) {
    Notify([](IOperationObserver& observer) { observer.OnConnectionChanged(false); });
    client.Disconnect();
    Notify([](IOperationObserver& observer) { observer.OnBusyChanged(false); });
}

void COperationRunner::ReportResult() {
    if (m_nFound == -1) {
        ShowStatus("Error occurs. Operation failed");
        return;
    }
    const std::string text =
        CText::Format("Done. %u album(s) found, %u retrieved.",
                      static_cast<unsigned>(m_nFound.load()), m_nRetrieved.load());
    m_log.Log("[INF]" + text);
    ShowStatus(text);
}

bool COperationRunner::MoveToFront(std::size_t nIndex) {
    if (m_nState != kFetching || nIndex >= m_albums.GetCount())
        return false;
    return m_queue.MoveToFront(std::as_const(m_albums).GetAt(nIndex));
}

void COperationRunner::RequestStop() {
    ShowStatus(kStopping);
    if (!m_bRunning)
        return;
    m_bStop = true;
    m_bStopping = true;
    m_stopTime = std::chrono::steady_clock::now();
}

bool COperationRunner::PollStop() {
    if (!m_bStopping)
        return true;
    if (m_bRunning && std::chrono::steady_clock::now() - m_stopTime < m_stopGrace)
        return false;
    if (m_bRunning)
        ForceShutdown();
    Wait();
    FinishStop();
    return true;
}

void COperationRunner::Stop() {
    RequestStop();
    while (!PollStop())
        std::this_thread::sleep_for(kStopPoll);
}

void COperationRunner::Wait() {
    if (m_thread.joinable())
        m_thread.join();
}

// Every wait on a socket of the operation returns at once, so every thread comes to its
// end and can be joined.
void COperationRunner::ForceShutdown() {
    const std::lock_guard<std::mutex> lock(m_clientsMutex);
    m_bForced = true;
    for (CFreeDBClient* client : m_clients)
        client->Shutdown();
}

void COperationRunner::FinishStop() {
    m_bStop = false;
    m_bStopping = false;
    m_nState = kIdle;
    ShowStatus(kCanceled);
    m_log.Log(kCanceled);
}

COperationRunner::SProgressTick
COperationRunner::ProgressTick(int nBar, std::chrono::steady_clock::time_point now) const {
    SProgressTick tick;
    const int state = m_nState;
    if (state == kIdle) {
        // A finished operation shows a full bar for one tick.
        tick.m_bStopTimer = nBar >= 100;
        tick.m_nBar = tick.m_bStopTimer ? 0 : 100;
        return tick;
    }
    const int found = m_nFound;
    const unsigned retrieved = m_nRetrieved;
    if (state == kFetching)
        tick.m_strStatus = m_bStop
                               ? std::string(kStopping)
                               : CText::Format("Retrieving album tracks (%u of %u)...", retrieved,
                                               static_cast<unsigned>(std::max(found, 0)));
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_startTime);
    const unsigned long long elapsedMs =
        static_cast<unsigned long long>(std::max<long long>(elapsed.count(), 0));
    tick.m_nBar = static_cast<int>(
        ProgressValue(state, found, retrieved, elapsedMs, m_settings.m_nTimeout) / 100);
    return tick;
}

unsigned COperationRunner::ProgressValue(int nState, int nFound, unsigned nRetrieved,
                                         unsigned long long nElapsedMs, unsigned nTimeoutSeconds) {
    constexpr unsigned long long kHalf = kProgressMax / 2;
    unsigned long long lo = 0;
    unsigned long long hi = kHalf;
    if (nState == kFetching) {
        const unsigned long long step =
            nFound > 0 ? std::max<unsigned long long>(1, kHalf / static_cast<unsigned>(nFound))
                       : kHalf;
        lo = std::min<unsigned long long>(kHalf + nRetrieved * step, kProgressMax);
        hi = std::min<unsigned long long>(kHalf + (nRetrieved + 1ull) * step, kProgressMax);
    } else if (nState != kListing) {
        return 0;
    }
    const unsigned long long span = nTimeoutSeconds * 1000ull;
    if (span == 0)
        return static_cast<unsigned>(hi);
    const unsigned long long value = lo + (hi - lo) * std::min(nElapsedMs, span) / span;
    return static_cast<unsigned>(std::min(value, hi));
}

std::string COperationRunner::GetStatusText() const {
    const std::lock_guard<std::mutex> lock(m_statusMutex);
    return m_strStatus;
}

void COperationRunner::ShowStatus(const std::string& strText) {
    {
        const std::lock_guard<std::mutex> lock(m_statusMutex);
        m_strStatus = strText;
    }
    Notify([&strText](IOperationObserver& observer) { observer.OnStatusText(strText); });
}

void COperationRunner::LogLine(const std::string& strLine) {
    m_log.Log(strLine);
}

bool COperationRunner::AskProxyPassword(std::string& strUser, std::string& strPassword) {
    const std::lock_guard<std::mutex> lock(m_passwordMutex);
    if (m_ePasswordAnswer == EPasswordAnswer::NotAsked) {
        // A stop does not wait for an answer, and nobody to ask is no answer either.
        if (m_pObserver == nullptr || m_bStop)
            return false;
        const bool given = m_pObserver->AskProxyPassword(strUser, strPassword);
        // A prompt closed by a stop was not answered; the next operation asks again.
        if (!given && m_bStop)
            return false;
        m_ePasswordAnswer = given ? EPasswordAnswer::Given : EPasswordAnswer::Refused;
        m_strProxyUser = strUser;
        m_strProxyPassword = strPassword;
    }
    if (m_ePasswordAnswer == EPasswordAnswer::Refused)
        return false;
    strUser = m_strProxyUser;
    strPassword = m_strProxyPassword;
    return true;
}

bool COperationRunner::StoreSelected(CAlbumInfo& album) {
    return !m_bRunning &&
           CCDPlayerDatabase::ShouldCache(m_nWriteToLocalDB,
                                          CCDPlayerDatabase::ECacheMoment::Selected) &&
           m_localDb.Store(album);
}

void COperationRunner::Notify(const std::function<void(IOperationObserver&)>& call) const {
    if (m_pObserver != nullptr)
        call(*m_pObserver);
}
