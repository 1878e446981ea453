#include "freedb/service/FreeDBClient.h"

#include "freedb/service/FreeDBSettings.h"
#include "platform/Profile.h"
#include "support/CddbTestServer.h"
#include "support/RecordingOwner.h"
#include "support/TempDir.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {
using Clock = std::chrono::steady_clock;

class FreeDBClientTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { m_server.Configure(m_settings, GetParam()); }

    // The fixture's disc 0c025603.
    static CAlbumInfo ThreeTrackAlbum() { return CAlbumInfo::FromPlayTimes({200, 200, 198}); }

    CCddbTestServer m_server;
    CTempDir m_dir;
    CFreeDBSettings m_settings{m_dir.File("CDPLAYER.INI")};
    CProfile m_profile;
    CRecordingOwner m_owner;
};

INSTANTIATE_TEST_SUITE_P(Transports, FreeDBClientTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Http" : "Cddbp"; });

TEST_P(FreeDBClientTest, QueriesHandsOutTheMatchesInOrderAndReadsThem) {
    CFreeDBClient client(m_settings, &m_profile, &m_owner);
    EXPECT_EQ(client.GetMode(), GetParam() ? CFreeDBClient::kModeHttp : CFreeDBClient::kModeCddbp);
    CAlbumInfo album = ThreeTrackAlbum();
    EXPECT_EQ(client.Query(album), -1) << "not connected yet";
    EXPECT_EQ(client.GetServerList(), 0) << "not connected yet";

    ASSERT_TRUE(client.Connect());
    ASSERT_TRUE(client.Connect()) << "a second connect keeps the connection";
    EXPECT_EQ(client.Query(album), 2);
    CAlbumInfo first;
    CAlbumInfo second;
    CAlbumInfo none;
    ASSERT_TRUE(client.PopFound(first));
    ASSERT_TRUE(client.PopFound(second));
    EXPECT_FALSE(client.PopFound(none));
    EXPECT_EQ(first.GetCategory(), "rock");
    EXPECT_EQ(second.GetCategory(), "misc");

    ASSERT_TRUE(client.Read(second));
    EXPECT_EQ(second.GetTrackCount(), 3u);
    EXPECT_EQ(second.GetTrack(2).GetTitle(), "Closing");
    for (const CAlbumTrack& track : second.GetTracks())
        EXPECT_EQ(track.GetAlbum(), &second) << "a popped album's tracks belong to it";

    client.Disconnect();
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(m_owner.LastLine(), "     Closing connection ...done.");
    // Only one connection on the line protocol: the second Connect reused it.
    if (!GetParam()) {
        EXPECT_EQ(m_server.ConnectionCount(), 1);
    }
}

TEST_P(FreeDBClientTest, SearchesTheWebSiteOverEitherTransport) {
    CFreeDBClient client(m_settings, &m_profile, &m_owner);
    client.SetWebHost("127.0.0.1", std::to_string(m_server.HttpPort()));
    ASSERT_EQ(client.Search("quartet", true, false, false, false), 2)
        << "the album and the further entry the page shows for it";
    CAlbumInfo album;
    ASSERT_TRUE(client.PopFound(album));
    EXPECT_EQ(album.GetArtist(), "Quartet");
    EXPECT_EQ(album.GetStoredDiscId(), "1e0a2b04");
    EXPECT_TRUE(m_owner.HasLine("[INF]     Found 2 matches."));
    EXPECT_EQ(client.GetMode(), GetParam() ? CFreeDBClient::kModeHttp : CFreeDBClient::kModeCddbp)
        << "the search does not change the transport";
    EXPECT_EQ(client.Search("quartet", false, false, false, false), -1) << "no field chosen";
}

TEST_P(FreeDBClientTest, ShutdownFromAnotherThreadEndsAStalledReadAtOnce) {
    CFreeDBClient client(m_settings, &m_profile, &m_owner);
    ASSERT_TRUE(client.Connect());
    m_server.SetMisbehaviour(CCddbTestServer::EMisbehaviour::NoWelcome);
    m_server.SetReplyDelay(std::chrono::seconds(60));
    const Clock::time_point start = Clock::now();
    std::thread stopper([&client] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        client.Shutdown();
    });
    CAlbumInfo album = ThreeTrackAlbum();
    album.SetCategory("rock");
    EXPECT_FALSE(client.Read(album));
    stopper.join();
    // Far below the 30-second time-out the read would otherwise wait.
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    EXPECT_FALSE(client.Connect() && client.Read(album)) << "the shutdown lasts";
}

TEST(FreeDBClientModeTest, ApplySettingsFollowsTheGatewayFlagAndReconfigureRereadsTheFile) {
    CTempDir dir;
    CFreeDBSettings settings(dir.File("CDPLAYER.INI"));
    CFreeDBClient client(settings, nullptr);
    EXPECT_EQ(client.GetMode(), CFreeDBClient::kModeCddbp);
    settings.m_bUseHTTP = true;
    client.ApplySettings();
    EXPECT_EQ(client.GetMode(), CFreeDBClient::kModeHttp);
    // The file still says line protocol: rereading it switches back.
    client.Reconfigure();
    EXPECT_FALSE(settings.m_bUseHTTP);
    EXPECT_EQ(client.GetMode(), CFreeDBClient::kModeCddbp);
}
} // namespace
