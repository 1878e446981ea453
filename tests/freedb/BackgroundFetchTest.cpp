#include "freedb/service/OperationLog.h"
#include "freedb/service/ServerListFetch.h"
#include "freedb/service/ServerStatsFetch.h"
#include "support/CddbTestServer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <thread>

namespace {
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A fetch whose connection never sees the stop request, as one stuck in a system call
// would not: only the forced stop after the grace ends it.
class CDeafListFetch : public CServerListFetch {
public:
    using CServerListFetch::CServerListFetch;

protected:
    bool IsStopRequested() const override { return false; }
};

class BackgroundFetchTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { m_server.Configure(m_settings, GetParam()); }
    unsigned Port() const { return GetParam() ? m_server.HttpPort() : m_server.CddbpPort(); }

    template <class TFetch> static void WaitFor(const TFetch& fetch) {
        for (int i = 0; i < 200 && fetch.IsRunning(); ++i)
            std::this_thread::sleep_for(50ms);
        ASSERT_FALSE(fetch.IsRunning());
    }

    CCddbTestServer m_server;
    CTempDir m_dir;
    CFreeDBSettings m_settings{m_dir.File("CDPLAYER.INI")};
    CProfile m_profile;
    COperationLog m_log;
};

INSTANTIATE_TEST_SUITE_P(Transports, BackgroundFetchTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Http" : "Cddbp"; });
} // namespace

TEST_P(BackgroundFetchTest, TheServerListIsStoredWithTheAskedServerAsTheChosenOne) {
    CServerListFetch fetch(m_settings, m_profile, m_log);
    fetch.SetServer("127.0.0.1", std::to_string(m_server.CddbpPort()),
                    std::to_string(m_server.HttpPort()));
    ASSERT_TRUE(fetch.Start());
    WaitFor(fetch);
    EXPECT_EQ(fetch.GetPhase(), CServerListFetch::EPhase::Ended);
    EXPECT_FALSE(fetch.IsOnline());
    const CFreeDBSettings stored(m_dir.File("CDPLAYER.INI"));
    ASSERT_GT(stored.GetSiteCount(), 0u);
    EXPECT_EQ(fetch.GetServerCount(), stored.GetSiteCount());
    EXPECT_EQ(stored.m_strRemotePort, std::to_string(Port()));
    const std::string total =
        "Total " + std::to_string(stored.GetSiteCount()) + " server(s) retrieved";
    const std::vector<COperationLog::SLine> lines = m_log.GetLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().m_nLevel, COperationLog::kInfo);
    EXPECT_NE(lines.back().m_strText.find(total), std::string::npos);
    EXPECT_EQ(fetch.Progress(Clock::now()), 0) << "no time passed is no progress";
}

TEST_P(BackgroundFetchTest, StatisticsComeBackAndASilentServerIsLeftAfterTheGrace) {
    CServerStatsFetch stats(m_settings, m_profile);
    ASSERT_TRUE(stats.Start(m_settings));
    WaitFor(stats);
    ASSERT_TRUE(stats.Result().has_value());
    EXPECT_EQ(stats.Result()->m_nRock, 1u);
    EXPECT_EQ(stats.Result()->m_nMaxUsers, 100u);

    m_server.SetMisbehaviour(CCddbTestServer::EMisbehaviour::NoWelcome);
    CDeafListFetch list(m_settings, m_profile, m_log);
    list.SetServer("127.0.0.1", std::to_string(m_server.CddbpPort()),
                   std::to_string(m_server.HttpPort()));
    ASSERT_TRUE(list.Start());
    ASSERT_TRUE(stats.Start(m_settings));
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(list.IsRunning());
    const Clock::time_point start = Clock::now();
    list.RequestStop();
    EXPECT_FALSE(list.PollStop(CServerListFetch::kStopGrace));
    while (!list.PollStop(CServerListFetch::kStopGrace))
        std::this_thread::sleep_for(CBackgroundFetch::kStopPoll);
    EXPECT_GE(Clock::now() - start, CServerListFetch::kStopGrace);
    EXPECT_LT(Clock::now() - start, 5s) << "far below the 30-second time-out";
    EXPECT_EQ(list.GetServerCount(), 0u);
    stats.StopAndJoin(CServerStatsFetch::kStopGrace);
    EXPECT_FALSE(stats.Result().has_value());
}
