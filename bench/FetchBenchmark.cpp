// Fetching the track lists of 30 albums over the HTTP gateway of the loopback fixture,
// every reply 200 ms late, on 5 connections at once against 1, in one run. The time is
// that of the fetch itself: from the first fetch started to the end of the operation.
// Goal: the ratio of 5 connections to 1 at most 0.25.
#include "freedb/service/OperationLog.h"
#include "freedb/service/OperationRunner.h"
#include "support/CddbTestServer.h"
#include "support/TempDir.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>

namespace {
using Clock = std::chrono::steady_clock;

constexpr int kAlbums = 30;
constexpr const char* kDiscId = "5a0b0c03";

// Notes when the first fetch began.
class CFetchClock : public IOperationObserver {
public:
    void OnAlbumsCleared() override {}
    void OnAlbumAdded(std::size_t, const CAlbumInfo&) override {}
    void OnAlbumState(std::size_t, EAlbumState eState, const CAlbumInfo&) override {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (eState == EAlbumState::Fetching && !m_firstFetch)
            m_firstFetch = Clock::now();
    }
    void OnStatusText(const std::string&) override {}
    void OnConnectionChanged(bool) override {}
    void OnBusyChanged(bool) override {}
    void OnOperationEnded() override {}
    bool AskProxyPassword(std::string&, std::string&) override { return false; }

    Clock::time_point FirstFetch() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_firstFetch.value_or(Clock::now());
    }

private:
    std::mutex m_mutex;
    std::optional<Clock::time_point> m_firstFetch;
};

struct SResult {
    double m_dSeconds = 0;
    unsigned m_nRetrieved = 0;
};

SResult Fetch(CCddbTestServer& server, int nMaxThreads) {
    CTempDir dir;
    CFreeDBSettings settings(dir.File("CDPLAYER.INI"));
    settings.m_strRemoteServer = "127.0.0.1";
    settings.m_strRemotePort = std::to_string(server.HttpPort());
    settings.m_strHTTPPath = CCddbTestServer::CgiPath();
    settings.m_bUseHTTP = true;
    CProfile profile;
    profile.WriteInt("FreeDB", "MaxThreadsCount", nMaxThreads);
    profile.WriteInt("FreeDB", "WriteToLocalDB", 0);
    COperationLog log;
    CFetchClock clock;
    COperationRunner runner(settings, profile, log, &clock);
    CAlbumInfo album = CAlbumInfo::FromPlayTimes({200, 200, 200});
    album.SetDiscId(kDiscId);
    runner.StartLookup(album);
    runner.Wait();
    const std::chrono::duration<double> elapsed = Clock::now() - clock.FirstFetch();
    return {elapsed.count(), runner.GetRetrieved()};
}
} // namespace

int main() {
    CCddbTestServer server;
    server.SetConcurrent(true);
    for (int i = 0; i < kAlbums; ++i) {
        const std::string title = "Album " + std::to_string(i);
        server.AddAlbum({"cat" + std::to_string(100 + i), kDiscId, "Many", title,
                         "# xmcd\n#\nDISCID=" + std::string(kDiscId) + "\nDTITLE=Many / " + title +
                             "\nDYEAR=2004\nTTITLE0=One\nTTITLE1=Two\nTTITLE2=Three\n"});
    }
    server.SetReplyDelay(std::chrono::milliseconds(200));

    const SResult parallel = Fetch(server, 5);
    const SResult single = Fetch(server, 1);
    std::printf("fetch %d albums, 5 connections: %.2f s (%u retrieved)\n", kAlbums,
                parallel.m_dSeconds, parallel.m_nRetrieved);
    std::printf("fetch %d albums, 1 connection:  %.2f s (%u retrieved)\n", kAlbums,
                single.m_dSeconds, single.m_nRetrieved);
    const double ratio = single.m_dSeconds > 0 ? parallel.m_dSeconds / single.m_dSeconds : 0;
    std::printf("ratio 5 / 1: %.3f (goal: at most 0.25)\n", ratio);
    const bool complete = parallel.m_nRetrieved == kAlbums && single.m_nRetrieved == kAlbums;
    return complete ? 0 : 1;
}
