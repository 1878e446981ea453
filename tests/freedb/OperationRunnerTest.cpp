#include "freedb/service/OperationRunner.h"

#include "freedb/service/FreeDBClient.h"
#include "freedb/service/OperationLog.h"
#include "support/CddbTestServer.h"
#include "support/TempDir.h"
#include "support/TinyProxy.h"

#include <algorithm>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <stdexcept>

namespace {
using Clock = std::chrono::steady_clock;
using EAlbumState = IOperationObserver::EAlbumState;
using namespace std::chrono_literals;

constexpr const char* kManyDiscId = CCddbTestServer::kManyDiscId;
constexpr auto Disc = &CCddbTestServer::Disc;

// Records what the runner reports, from whichever thread reports it.
class CRecordingObserver : public IOperationObserver {
public:
    struct SEvent {
        std::size_t m_nIndex;
        EAlbumState m_eState;
    };

    void OnAlbumsCleared() override {}
    void OnAlbumAdded(std::size_t, const CAlbumInfo&) override {}
    void OnAlbumState(std::size_t nIndex, EAlbumState eState, const CAlbumInfo&) override {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_events.push_back({nIndex, eState});
        }
        m_changed.notify_all();
    }
    void OnStatusText(const std::string&) override {}
    void OnConnectionChanged(bool) override {}
    void OnBusyChanged(bool) override {}
    void OnOperationEnded() override {}
    bool AskProxyPassword(std::string& strUser, std::string& strPassword) override {
        ++m_nPrompts;
        strUser = m_strAnswerUser;
        strPassword = m_strAnswerPassword;
        return m_bConfirm;
    }

    std::atomic<int> m_nPrompts{0};
    bool m_bConfirm = false;
    std::string m_strAnswerUser;
    std::string m_strAnswerPassword;

    // The albums in the order their fetches began.
    std::vector<std::size_t> FetchOrder() const { return IndexesIn(EAlbumState::Fetching); }
    std::vector<std::size_t> IndexesIn(EAlbumState eState) const {
        const std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::size_t> indexes;
        for (const SEvent& event : m_events) {
            if (event.m_eState == eState)
                indexes.push_back(event.m_nIndex);
        }
        return indexes;
    }
    bool WaitForFetches(std::size_t nCount) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, 20s, [&] {
            return std::count_if(m_events.begin(), m_events.end(), [](const SEvent& event) {
                       return event.m_eState == EAlbumState::Fetching;
                   }) >= static_cast<long>(nCount);
        });
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<SEvent> m_events;
};

// A runner whose sources never see the stop request, as a thread stuck in a system call
// would not: only the forced stop can end their waits.
class CDeafRunner : public COperationRunner {
public:
    using COperationRunner::COperationRunner;
    bool IsStopRequested() const override { return false; }
};

class OperationRunnerTest : public ::testing::Test {
protected:
    void UseServer(bool bHttp) {
        m_server.Configure(m_settings, bHttp);
        // A reconfigure rereads the file: it must name the fixture, never a real server.
        ASSERT_TRUE(m_settings.Save());
        m_server.SetConcurrent(true);
    }

    bool HasLogLine(const std::string& strText, int nLevel) const {
        for (const COperationLog::SLine& line : m_log.GetLines()) {
            if (line.m_nLevel == nLevel && line.m_strText.size() >= strText.size() &&
                line.m_strText.compare(line.m_strText.size() - strText.size(), strText.size(),
                                       strText) == 0)
                return true;
        }
        return false;
    }

    CCddbTestServer m_server;
    CTempDir m_dir;
    CFreeDBSettings m_settings{m_dir.File("CDPLAYER.INI")};
    CProfile m_profile;
    COperationLog m_log;
    CRecordingObserver m_observer;
};

struct SFetchCase {
    bool m_bHttp;
    int m_nAlbums;
    unsigned m_nConnections;
};

class ParallelFetchTest : public OperationRunnerTest,
                          public ::testing::WithParamInterface<SFetchCase> {};

INSTANTIATE_TEST_SUITE_P(Transports, ParallelFetchTest,
                         ::testing::Values(SFetchCase{true, 12, 5}, SFetchCase{false, 12, 4},
                                           SFetchCase{false, 7, 2}, SFetchCase{false, 2, 1},
                                           SFetchCase{true, 3, 3}),
                         [](const auto& info) {
                             return std::string(info.param.m_bHttp ? "Http" : "Cddbp") +
                                    std::to_string(info.param.m_nAlbums) + "Albums";
                         });

TEST_P(ParallelFetchTest, FetchesEveryAlbumOnAsManyConnectionsAtOnceAsTheRuleGives) {
    UseServer(GetParam().m_bHttp);
    m_server.AddAlbumsOfOneDisc(GetParam().m_nAlbums);
    // Replies slow enough that the connections overlap even when threads are slow to start.
    m_server.SetReplyDelay(250ms);
    m_profile.WriteInt("FreeDB", "MaxThreadsCount", 5);
    COperationRunner runner(m_settings, m_profile, m_log, &m_observer);
    ASSERT_TRUE(runner.StartLookup(Disc(kManyDiscId)));
    EXPECT_FALSE(runner.StartLookup(Disc(kManyDiscId))) << "one operation at a time";
    runner.Wait();

    const unsigned albums = static_cast<unsigned>(GetParam().m_nAlbums);
    EXPECT_EQ(runner.GetConnectionsUsed(), GetParam().m_nConnections);
    EXPECT_EQ(m_server.PeakConnectionCount(), static_cast<int>(GetParam().m_nConnections));
    EXPECT_EQ(runner.GetFound(), static_cast<int>(albums));
    EXPECT_EQ(runner.GetRetrieved(), albums);
    EXPECT_EQ(runner.GetState(), COperationRunner::kIdle);
    const std::string done = "Done. " + std::to_string(albums) + " album(s) found, " +
                             std::to_string(albums) + " retrieved.";
    EXPECT_EQ(runner.GetStatusText(), done);
    EXPECT_TRUE(HasLogLine(done, COperationLog::kInfo));
    ASSERT_EQ(runner.Albums().GetCount(), albums);
    for (std::size_t i = 0; i < albums; ++i) {
        EXPECT_EQ(runner.Albums().GetAt(i).GetTrackCount(), 3u);
        EXPECT_EQ(runner.Albums().GetAt(i).GetTitle(), "Album " + std::to_string(i));
    }
    std::vector<std::size_t> normal = m_observer.IndexesIn(EAlbumState::Normal);
    std::sort(normal.begin(), normal.end());
    std::vector<std::size_t> expected(albums);
    for (std::size_t i = 0; i < albums; ++i)
        expected[i] = i;
    EXPECT_EQ(normal, expected) << "each album fetched once";
}

TEST_F(OperationRunnerTest, NothingFoundStartsNoWorkerAndAFailedFetchOrConnectionStopsNoOther) {
    UseServer(false);
    COperationRunner runner(m_settings, m_profile, m_log, &m_observer);
    ASSERT_TRUE(runner.StartLookup(Disc("0badd1sc")));
    runner.Wait();
    EXPECT_EQ(runner.GetStatusText(), "Done. 0 album(s) found, 0 retrieved.");
    EXPECT_EQ(runner.GetConnectionsUsed(), 0u);
    EXPECT_EQ(m_server.ConnectionCount(), 1);

    // The search page lists the album and a data disc the server has no record of.
    runner.SetWebHost("127.0.0.1", std::to_string(m_server.HttpPort()));
    ASSERT_TRUE(runner.StartSearch("quartet", true, false, false, false));
    runner.Wait();
    EXPECT_EQ(runner.GetFound(), 2);
    EXPECT_EQ(runner.GetRetrieved(), 1u);
    EXPECT_EQ(runner.GetFailed(), 1u);
    EXPECT_EQ(runner.GetStatusText(), "Done. 2 album(s) found, 1 retrieved.");
    EXPECT_EQ(m_observer.IndexesIn(EAlbumState::Failed), std::vector<std::size_t>{1});
    EXPECT_EQ(runner.Albums().GetAt(0).GetTrackCount(), 4u);

    // A failed connection ends the operation with an empty list.
    m_server.Stop();
    ASSERT_TRUE(runner.StartLookup(Disc(kManyDiscId)));
    runner.Wait();
    EXPECT_EQ(runner.GetStatusText(), "Error occurs. Operation failed");
    EXPECT_EQ(runner.GetFound(), -1);
    EXPECT_EQ(runner.GetState(), COperationRunner::kIdle) << "the progress timer must end";
    EXPECT_EQ(runner.Albums().GetCount(), 0u);
    EXPECT_TRUE(HasLogLine("Error 101: Can't connect to remote server!", COperationLog::kError));
}

// An observer that throws when a fetch begins, on the operation thread and on a worker.
class CThrowingObserver : public CRecordingObserver {
public:
    void OnAlbumState(std::size_t nIndex, EAlbumState eState, const CAlbumInfo& album) override {
        CRecordingObserver::OnAlbumState(nIndex, eState, album);
        if (eState == EAlbumState::Fetching)
            throw std::runtime_error("observer failed");
    }
    void OnOperationEnded() override { m_bRunningAtEnd = m_pRunner->IsRunning(); }

    const COperationRunner* m_pRunner = nullptr;
    std::atomic<bool> m_bRunningAtEnd{true};
};

TEST_F(OperationRunnerTest, AnExceptionOnAnyThreadFailsTheOperationInTheLog) {
    UseServer(true);
    CThrowingObserver observer;
    COperationRunner runner(m_settings, m_profile, m_log, &observer);
    observer.m_pRunner = &runner;
    ASSERT_TRUE(runner.StartLookup(Disc("0c025603")));
    runner.Wait();
    EXPECT_EQ(runner.GetConnectionsUsed(), 2u) << "a worker fetched too";
    EXPECT_EQ(observer.FetchOrder().size(), 2u);
    EXPECT_EQ(runner.GetFound(), -1);
    EXPECT_EQ(runner.GetStatusText(), "Error occurs. Operation failed");
    EXPECT_TRUE(
        HasLogLine("Error 107: Exception occurs during FreeDB operation!", COperationLog::kError));
    // Told of the end once the runner is idle, so the window may start the next one.
    EXPECT_FALSE(observer.m_bRunningAtEnd);
}

TEST_F(OperationRunnerTest, TheThreadCountSetDuringAnOperationHoldsFromTheNextOn) {
    UseServer(true);
    m_server.AddAlbumsOfOneDisc(3);
    m_server.SetReplyDelay(200ms);
    COperationRunner runner(m_settings, m_profile, m_log, &m_observer);
    ASSERT_TRUE(runner.StartLookup(Disc(kManyDiscId)));
    runner.SetMaxThreads(1);
    runner.Wait();
    EXPECT_EQ(runner.GetConnectionsUsed(), 3u);
    ASSERT_TRUE(runner.StartLookup(Disc(kManyDiscId)));
    runner.Wait();
    EXPECT_EQ(runner.GetConnectionsUsed(), 1u);
}

TEST_F(OperationRunnerTest, MoveToFrontFetchesThatAlbumNext) {
    UseServer(false);
    m_server.AddAlbumsOfOneDisc(6);
    m_server.SetReplyDelay(150ms);
    m_profile.WriteInt("FreeDB", "MaxThreadsCount", 1);
    COperationRunner runner(m_settings, m_profile, m_log, &m_observer);
    ASSERT_TRUE(runner.StartLookup(Disc(kManyDiscId)));
    ASSERT_TRUE(m_observer.WaitForFetches(1));
    EXPECT_FALSE(runner.MoveToFront(0)) << "already taken off the queue";
    EXPECT_TRUE(runner.MoveToFront(4));
    EXPECT_FALSE(runner.MoveToFront(99));
    runner.Wait();
    EXPECT_EQ(m_observer.FetchOrder(), (std::vector<std::size_t>{0, 4, 1, 2, 3, 5}));
    EXPECT_FALSE(runner.MoveToFront(5)) << "nothing is fetched any more";
}

TEST_F(OperationRunnerTest, AnAlbumIsCachedWhenFetchedOrSelectedAsTheSettingSays) {
    UseServer(true);
    m_profile.WriteInt("FreeDB", "WriteToLocalDB", 1);
    COperationRunner runner(m_settings, m_profile, m_log, &m_observer);
    ASSERT_TRUE(runner.StartLookup(Disc("1e0a2b04")));
    runner.Wait();
    ASSERT_EQ(runner.Albums().GetCount(), 1u);
    EXPECT_EQ(m_dir.ReadFile("CDPLAYER.INI").find("[1e0a2b04]"), std::string::npos)
        << "only the selected album is cached";

    m_profile.WriteInt("FreeDB", "WriteToLocalDB", 2);
    runner.RequestReconfigure();
    EXPECT_FALSE(runner.StartGetTracklist(1));
    ASSERT_TRUE(runner.StartGetTracklist(0));
    runner.Wait();
    EXPECT_EQ(runner.GetStatusText(), "Done. 1 album(s) found, 1 retrieved.");
    const std::string ini = m_dir.ReadFile("CDPLAYER.INI");
    EXPECT_NE(ini.find("[1e0a2b04]"), std::string::npos);
    EXPECT_NE(ini.find("title=Blue Night"), std::string::npos);
    EXPECT_NE(ini.find("3=Dawn"), std::string::npos);

    CAlbumInfo selected = runner.Albums().GetAt(0);
    selected.SetTitle("Chosen");
    EXPECT_FALSE(runner.StoreSelected(selected)) << "all retrieved albums: not again";
    m_profile.WriteInt("FreeDB", "WriteToLocalDB", 1);
    runner.RequestReconfigure();
    ASSERT_TRUE(runner.StartGetTracklist(0));
    runner.Wait();
    EXPECT_TRUE(runner.StoreSelected(selected));
    EXPECT_NE(m_dir.ReadFile("CDPLAYER.INI").find("title=Chosen"), std::string::npos);
}

TEST_F(OperationRunnerTest, TheProxyPasswordIsAskedOnceAndItsAnswerServesEveryConnection) {
    if (!CTinyProxy::IsInstalled())
        GTEST_SKIP() << "tinyproxy is not installed";
    const CTinyProxy proxy("alice", "s3cret");
    ASSERT_TRUE(proxy.IsRunning());
    UseServer(true);
    m_server.AddAlbumsOfOneDisc(3);
    m_settings.m_bUseProxy = m_settings.m_bProxyAuth = m_settings.m_bAskPassword = true;
    m_settings.m_strProxyServer = "127.0.0.1";
    m_settings.m_strProxyPort = std::to_string(proxy.Port());
    m_settings.m_strProxyUser = "alice";
    ASSERT_TRUE(m_settings.Save());
    m_observer.m_bConfirm = true;
    m_observer.m_strAnswerUser = "alice";
    m_observer.m_strAnswerPassword = "s3cret";
    COperationRunner runner(m_settings, m_profile, m_log, &m_observer);
    for (int lookup = 0; lookup < 2; ++lookup) {
        ASSERT_TRUE(runner.StartLookup(Disc(kManyDiscId)));
        runner.Wait();
        EXPECT_EQ(runner.GetRetrieved(), 3u) << "on three connections through the proxy";
    }
    EXPECT_EQ(m_observer.m_nPrompts, 1);

    // After the settings were confirmed it is asked again; a refusal fails every connection.
    runner.RequestReconfigure();
    m_observer.m_bConfirm = false;
    for (int lookup = 0; lookup < 2; ++lookup) {
        ASSERT_TRUE(runner.StartLookup(Disc(kManyDiscId)));
        runner.Wait();
        EXPECT_EQ(runner.GetFound(), -1);
    }
    EXPECT_EQ(m_observer.m_nPrompts, 2);
    EXPECT_TRUE(HasLogLine("Error 108: Proxy password not entered.", COperationLog::kError));
}

// The server never answers the read; the stop must end the operation either way.
class StalledFetchTest : public OperationRunnerTest {
protected:
    void StartStalledFetch(COperationRunner& runner) {
        UseServer(true);
        ASSERT_TRUE(runner.StartLookup(Disc("1e0a2b04")));
        runner.Wait();
        m_server.SetMisbehaviour(CCddbTestServer::EMisbehaviour::NoWelcome);
        ASSERT_TRUE(runner.StartGetTracklist(0));
        ASSERT_TRUE(m_observer.WaitForFetches(2));
    }

    void ExpectCanceled(COperationRunner& runner) {
        EXPECT_FALSE(runner.IsRunning());
        EXPECT_EQ(runner.GetState(), COperationRunner::kIdle);
        EXPECT_EQ(runner.GetStatusText(), "Operation canceled by user");
        EXPECT_TRUE(HasLogLine("Operation canceled by user", COperationLog::kStep));
        EXPECT_EQ(m_observer.IndexesIn(EAlbumState::Failed), std::vector<std::size_t>{0});
    }
};

TEST_F(StalledFetchTest, AStopIsNoticedAtTheNextPoll) {
    COperationRunner runner(m_settings, m_profile, m_log, &m_observer);
    StartStalledFetch(runner);
    const COperationRunner::SProgressTick fetching = runner.ProgressTick(0, Clock::now());
    EXPECT_EQ(fetching.m_strStatus, "Retrieving album tracks (0 of 1)...");
    EXPECT_GE(fetching.m_nBar, 50) << "the second half of the bar is the fetch";
    EXPECT_LE(fetching.m_nBar, 100);
    const Clock::time_point start = Clock::now();
    runner.Stop();
    // The grace is 25 seconds; the sources see the stop between their 100 ms polls.
    EXPECT_LT(Clock::now() - start, 10s);
    ExpectCanceled(runner);
    EXPECT_TRUE(HasLogLine("Error 105: User break.", COperationLog::kError));
    // Idle: a full bar for one tick, then the timer stops with the bar emptied.
    const COperationRunner::SProgressTick last = runner.ProgressTick(60, Clock::now());
    EXPECT_EQ(last.m_nBar, 100);
    EXPECT_FALSE(last.m_bStopTimer);
    const COperationRunner::SProgressTick after = runner.ProgressTick(100, Clock::now());
    EXPECT_EQ(after.m_nBar, 0);
    EXPECT_TRUE(after.m_bStopTimer);
}

TEST_F(StalledFetchTest, AfterTheGraceEverySocketIsShutAndEveryThreadJoined) {
    CDeafRunner runner(m_settings, m_profile, m_log, &m_observer, 300ms);
    StartStalledFetch(runner);
    runner.RequestStop();
    EXPECT_FALSE(runner.PollStop()) << "within the grace the stop is only asked for";
    const Clock::time_point start = Clock::now();
    while (!runner.PollStop())
        std::this_thread::sleep_for(COperationRunner::kStopPoll);
    // Far below the 30-second time-out of the stalled read.
    EXPECT_LT(Clock::now() - start, 10s);
    ExpectCanceled(runner);
    m_server.SetMisbehaviour(CCddbTestServer::EMisbehaviour::None);
    ASSERT_TRUE(runner.StartGetTracklist(0)) << "the runner is usable again";
    runner.Wait();
    EXPECT_EQ(runner.GetRetrieved(), 1u);
}

TEST(OperationRunnerRulesTest, ConnectionsFollowTheTransportAndTheCap) {
    constexpr int kCddbp = CFreeDBClient::kModeCddbp;
    constexpr int kHttp = CFreeDBClient::kModeHttp;
    EXPECT_EQ(COperationRunner::ConnectionsWanted(kCddbp, 7, 5), 2u);
    EXPECT_EQ(COperationRunner::ConnectionsWanted(kHttp, 7, 5), 5u);
    EXPECT_EQ(COperationRunner::ConnectionsWanted(kCddbp, 2, 5), 1u);
    EXPECT_EQ(COperationRunner::ConnectionsWanted(kHttp, 2, 5), 2u);
    EXPECT_EQ(COperationRunner::ConnectionsWanted(kCddbp, 90, 20), 20u);
    EXPECT_EQ(COperationRunner::ConnectionsWanted(kHttp, 0, 5), 0u);
    EXPECT_EQ(COperationRunner::ConnectionsWanted(kHttp, -1, 5), 0u) << "a failed listing";
    // MusicBrainz lists the albums with their tracks: nothing is left to fetch in parallel.
    EXPECT_EQ(COperationRunner::ConnectionsWanted(CFreeDBClient::kModeMusicBrainz, 7, 5), 1u);
}

TEST(OperationRunnerRulesTest, ProgressRisesWithinTheRangeOfTheStateAndNeverPassesIt) {
    using R = COperationRunner;
    // Listing: the first half, spread over the time-out.
    EXPECT_EQ(R::ProgressValue(R::kListing, 0, 0, 0, 30), 0u);
    EXPECT_EQ(R::ProgressValue(R::kListing, 0, 0, 15000, 30), 2500u);
    EXPECT_EQ(R::ProgressValue(R::kListing, 0, 0, 90000, 30), 5000u);
    // Fetching 4 albums, 1 retrieved: the second quarter of the second half.
    EXPECT_EQ(R::ProgressValue(R::kFetching, 4, 1, 0, 30), 6250u);
    EXPECT_EQ(R::ProgressValue(R::kFetching, 4, 1, 15000, 30), 6875u);
    EXPECT_EQ(R::ProgressValue(R::kFetching, 4, 1, 60000, 30), 7500u);
    // Every album retrieved, or more albums than steps: never beyond the end.
    EXPECT_EQ(R::ProgressValue(R::kFetching, 4, 4, 60000, 30), R::kProgressMax);
    EXPECT_EQ(R::ProgressValue(R::kFetching, 9000, 8999, 60000, 30), R::kProgressMax);
    EXPECT_EQ(R::ProgressValue(R::kFetching, 0, 0, 0, 30), 5000u) << "nothing found";
    EXPECT_EQ(R::ProgressValue(R::kListing, 0, 0, 1, 0), 5000u) << "no time-out: no division";
}
} // namespace
