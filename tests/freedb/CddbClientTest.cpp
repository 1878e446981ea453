#include "freedb/protocol/CddbHttpClient.h"
#include "freedb/protocol/CddbpClient.h"
#include "freedb/protocol/ServerStats.h"
#include "freedb/service/AlbumList.h"
#include "freedb/service/FreeDBSettings.h"
#include "platform/Profile.h"
#include "support/CddbTestServer.h"
#include "support/RecordingOwner.h"
#include "support/TempDir.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

namespace {
using EMisbehaviour = CCddbTestServer::EMisbehaviour;
using Clock = std::chrono::steady_clock;

// The three ways a command reaches the fixture: the line protocol, the gateway with
// HTTP/1.0 replies, and the gateway with chunked HTTP/1.1 replies cut into chunks so
// small that most lines straddle a chunk boundary.
enum class ETransport { Cddbp, Http, HttpChunked };

std::string TransportName(const ::testing::TestParamInfo<ETransport>& info) {
    const char* const names[] = {"Cddbp", "Http", "HttpChunked"};
    return names[static_cast<int>(info.param)];
}

class CddbClientTest : public ::testing::TestWithParam<ETransport> {
protected:
    void SetUp() override {
        if (GetParam() == ETransport::HttpChunked)
            m_server.SetChunkSize(7);
        m_server.Configure(m_settings, GetParam() != ETransport::Cddbp, 5);
        m_profile.WriteInt("FreeDB", "Logging", 0);
        MakeClient();
    }

    void MakeClient() {
        if (GetParam() == ETransport::Cddbp)
            m_client = std::make_unique<CCddbpClient>(m_settings, &m_profile);
        else
            m_client = std::make_unique<CCddbHttpClient>(m_settings, &m_profile);
        m_client->SetOwner(&m_owner);
    }

    // Offsets 150, 15150 and 30150 on a 600-second disc: the fixture's disc 0c025603.
    static CAlbumInfo ThreeTrackAlbum() { return CAlbumInfo::FromPlayTimes({200, 200, 198}); }

    // Whether the fixture received this command, as a line or in a gateway request.
    bool Received(const std::string& strCommand) const {
        std::string inRequest = "?cmd=" + strCommand + "&";
        std::replace(inRequest.begin(), inRequest.end(), ' ', '+');
        const std::vector<std::string> lines = m_server.ReceivedLines();
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line == strCommand || line.find(inRequest) != std::string::npos;
        });
    }

    CCddbTestServer m_server;
    CTempDir m_dir;
    CFreeDBSettings m_settings{m_dir.File("CDPLAYER.INI")};
    CProfile m_profile;
    CRecordingOwner m_owner;
    std::unique_ptr<CCddbClient> m_client;
};
} // namespace

INSTANTIATE_TEST_SUITE_P(Transports, CddbClientTest,
                         ::testing::Values(ETransport::Cddbp, ETransport::Http,
                                           ETransport::HttpChunked),
                         TransportName);

TEST_P(CddbClientTest, LooksUpADiscReadsEveryMatchInFullAndReportsAnExactMatchOrNothing) {
    ASSERT_TRUE(m_client->Open());
    CAlbumInfo album = ThreeTrackAlbum();
    CAlbumList found;
    ASSERT_TRUE(m_client->Query(album, found));
    ASSERT_EQ(found.GetCount(), 2u);
    EXPECT_EQ(found.GetAt(0).GetCategory(), "rock");
    EXPECT_EQ(found.GetAt(0).GetArtist(), "Test Artist");
    EXPECT_EQ(found.GetAt(1).GetTitle(), "Mixed Tape");
    EXPECT_TRUE(m_owner.HasLine("[INF]     Found 2 matches."));

    CAlbumInfo& rock = found.GetAt(0);
    ASSERT_TRUE(m_client->Read(rock));
    EXPECT_EQ(rock.GetYear(), "1999");
    ASSERT_EQ(rock.GetTrackCount(), 3u);
    EXPECT_EQ(rock.GetTrack(2).GetTitle(),
              "Third Song with a title long enough to be sent on two lines");
    EXPECT_EQ(rock.GetTrack(1).GetExtra(), "live\tencore");
    EXPECT_EQ(rock.GetTrack(1).GetFrameOffset(), 15150);
    EXPECT_EQ(rock.GetDiscLength(), 600u);

    CAlbumInfo& mixed = found.GetAt(1);
    ASSERT_TRUE(m_client->Read(mixed));
    EXPECT_TRUE(mixed.IsCompilation());
    EXPECT_EQ(mixed.GetTrack(1).GetArtist(), "Singer Two");
    EXPECT_EQ(mixed.GetTrack(1).GetTitle(), "Middle");
    EXPECT_TRUE(m_owner.HasLine("     Retrieving album info for (0c025603) ... done."));

    // An exact match, and nothing found.
    CAlbumInfo quartet;
    quartet.SetDiscId("1e0a2b04");
    ASSERT_TRUE(m_client->Query(quartet, found));
    ASSERT_EQ(found.GetCount(), 1u);
    EXPECT_EQ(found.GetAt(0).GetCategory(), "jazz");
    EXPECT_EQ(m_owner.LastLine(), "[INF]     Found exact match");
    CAlbumInfo unknown;
    unknown.SetDiscId("deadbeef");
    ASSERT_TRUE(m_client->Query(unknown, found));
    EXPECT_EQ(found.GetCount(), 0u);
    EXPECT_EQ(m_owner.LastLine(), "[INF]     Nothing found.");
    unknown.SetCategory("rock");
    EXPECT_FALSE(m_client->Read(unknown));
    EXPECT_EQ(m_owner.LastLine(), "[ERR]Error 142: Album not found.");
    m_client->Close();

    // Two blanks before the first offset: the offsets text begins with one.
    EXPECT_TRUE(Received("cddb query 0c025603 3  150 15150 30150 600"));
    EXPECT_TRUE(Received("cddb read misc 0c025603"));
}

TEST_P(CddbClientTest, FetchesStatisticsAndTheServerList) {
    ASSERT_TRUE(m_client->Open());
    CServerStats stats;
    ASSERT_TRUE(m_client->GetStats(stats));
    EXPECT_EQ(stats.m_nTotal, 3u);
    EXPECT_EQ(stats.m_nJazz, 1u);
    EXPECT_EQ(stats.m_nCurrentUsers, 3u);
    EXPECT_EQ(stats.m_nMaxUsers, 100u);
    EXPECT_TRUE(m_owner.HasLine("     Retrieving server statistics ...done."));

    CFreeDBSettings sites(m_dir.File("other.ini"));
    sites.AddDefaultSites();
    ASSERT_TRUE(m_client->GetSites(sites));
    // The MusicBrainz row, which no CDDB server sends, stays.
    ASSERT_EQ(sites.GetSiteCount(), 3u);
    EXPECT_EQ(sites.GetSite(0).m_strProtocol, "musicbrainz");
    EXPECT_EQ(sites.GetSite(2).m_strPath, "/~cddb/cddb.cgi");
    EXPECT_EQ(sites.GetSite(2).m_strDescription, "Loopback fixture, HTTP");
}

// A hostile server cannot make the client hold or store without bound, and the client
// answers the next command after a reply it gave up on.
TEST_P(CddbClientTest, RepliesAreBoundedInBytesAndLinesAndTheNextCommandIsStillAnswered) {
    ASSERT_TRUE(m_client->Open());
    m_server.SetSitesReplyBytes(6u << 20);
    CFreeDBSettings sites(m_dir.File("sites.ini"));
    ASSERT_TRUE(m_client->GetSites(sites));
    EXPECT_EQ(sites.GetSiteCount(), CFreeDBSettings::kMaxServers);
    ASSERT_TRUE(sites.Save());
    EXPECT_LT(std::filesystem::file_size(m_dir.File("sites.ini")), 300u << 10);
    CServerStats stats;
    EXPECT_TRUE(m_client->GetStats(stats)) << m_owner.LastLine();

    m_server.AddAlbum({"rock", "0d0d0d0d", "Long", "Line",
                       "# xmcd\nTTITLE0=" + std::string(2 * CLineSocket::kMaxLineLength, 'x') +
                           "\nTTITLE1=cut off\n"});
    CAlbumInfo album;
    album.SetCategory("rock");
    album.SetDiscId("0d0d0d0d");
    m_client->Read(album);
    EXPECT_EQ(album.GetTrackCount(), 0u);
    EXPECT_TRUE(m_client->GetStats(stats)) << m_owner.LastLine();

    // An endless match list stops at the list cap.
    m_server.SetMisbehaviour(EMisbehaviour::EndlessList);
    CAlbumInfo disc = ThreeTrackAlbum();
    CAlbumList found;
    ASSERT_TRUE(m_client->Query(disc, found)) << m_owner.LastLine();
    EXPECT_EQ(found.GetCount(), CLineSocket::kMaxListLines);
    EXPECT_EQ(found.GetAt(0).GetArtist(), "Endless");
}

// gnudb refuses the hello of a client name it does not know before any command runs.
TEST_P(CddbClientTest, ARefusedHelloIsOneErrorLineWithTheServersOwnText) {
    for (const std::string refusal : {"500 Unknown developer email", "409 No handshake"}) {
        m_server.SetHelloRefusal(refusal);
        MakeClient();
        m_owner.Clear();
        CServerStats stats;
        EXPECT_FALSE(m_client->Open() && m_client->GetStats(stats));
        const std::vector<std::string> lines = m_owner.Lines();
        EXPECT_EQ(
            std::count_if(lines.begin(), lines.end(),
                          [](const std::string& line) { return line.rfind("[ERR]", 0) == 0; }),
            1);
        EXPECT_EQ(m_owner.LastLine(), "[ERR]Error 113: Hello refused: " + refusal);
    }
}

TEST_P(CddbClientTest, FullLoggingShowsTheWireBeforeTheStepLine) {
    m_profile.WriteInt("FreeDB", "Logging", 1);
    m_client->RefreshLogging();
    ASSERT_TRUE(m_client->Open());
    m_owner.Clear();
    CServerStats stats;
    ASSERT_TRUE(m_client->GetStats(stats));
    const std::vector<std::string> lines = m_owner.Lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.back(), "     Retrieving server statistics ...done.");
    const bool sentFirst = lines.front() == "[DBG] -> stat" ||
                           lines.front().rfind("[DBG] -> GET /~cddb/cddb.cgi?cmd=stat&", 0) == 0;
    EXPECT_TRUE(sentFirst) << lines.front();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "[DBG] <- Database entries: 3"), lines.end());
}

TEST_P(CddbClientTest, AStopRequestEndsAWaitWithAUserBreak) {
    ASSERT_TRUE(m_client->Open());
    m_server.SetReplyDelay(std::chrono::seconds(20));
    std::thread stopper([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        m_owner.m_bStop = true;
    });
    const auto start = Clock::now();
    CServerStats stats;
    EXPECT_FALSE(m_client->GetStats(stats));
    stopper.join();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(m_owner.LastLine(), "[ERR]Error 105: User break.");
    m_server.SetReplyDelay(std::chrono::milliseconds(0));
}

TEST_P(CddbClientTest, AnUnreachableServerFailsTheConnectOrTheFirstCommand) {
    CCddbTestServer gone;
    m_settings.m_strRemotePort = std::to_string(gone.CddbpPort());
    gone.Stop();
    MakeClient();
    if (GetParam() == ETransport::Cddbp) {
        EXPECT_FALSE(m_client->Open());
        EXPECT_EQ(m_owner.Lines(),
                  (std::vector<std::string>{
                      "[INF]Connecting to 127.0.0.1:" + m_settings.m_strRemotePort + ", timeout 5",
                      "     Opening connection ... failed.",
                      "[ERR]Error 101: Can't connect to remote server!"}));
        return;
    }
    // The gateway connects per command, so the command reports it.
    ASSERT_TRUE(m_client->Open());
    CServerStats stats;
    EXPECT_FALSE(m_client->GetStats(stats));
    EXPECT_EQ(m_owner.LastLine(), "[ERR]Error 180: Sending query failed.");
}

// The handshake of the line protocol: the welcome codes, hello and protocol level.
class CddbpHandshakeTest : public ::testing::Test {
protected:
    bool Open() {
        m_settings.m_strRemoteServer = "127.0.0.1";
        m_settings.m_strRemotePort = std::to_string(m_server.CddbpPort());
        m_settings.m_nTimeout = 1;
        m_client.SetOwner(&m_owner);
        return m_client.Open();
    }

    CCddbTestServer m_server;
    CTempDir m_dir;
    CFreeDBSettings m_settings{m_dir.File("CDPLAYER.INI")};
    CRecordingOwner m_owner;
    CCddbpClient m_client{m_settings, nullptr};
};

TEST_F(CddbpHandshakeTest, SendsTheHelloAndProtocolLevelAndQuits) {
    ASSERT_TRUE(Open());
    EXPECT_EQ(m_owner.Lines(),
              (std::vector<std::string>{
                  "[INF]Connecting to 127.0.0.1:" + m_settings.m_strRemotePort + ", timeout 1",
                  "     Opening connection ... done.", "     Sending handshake ... done.",
                  "     Protocol level negotiations ... done."}));
    EXPECT_TRUE(m_client.Close());
    const std::vector<std::string> received = m_server.ReceivedLines();
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0], CCddbClient::MakeHello());
    EXPECT_EQ(received[1], "proto 6");
    EXPECT_EQ(received[2], "quit");
}

TEST_F(CddbpHandshakeTest, RefusingSilentBrokenOrGarbageWelcomesFailWithTheirOwnErrors) {
    const struct {
        EMisbehaviour m_eMisbehaviour;
        const char* m_pWelcome; // the server's own when empty
        const char* m_pError;
    } cases[] = {
        {EMisbehaviour::Welcome432, "", "103: Permission denied"},
        {EMisbehaviour::NoWelcome, "", "102: Waiting for welcome timeout"},
        {EMisbehaviour::HalfLineThenSilence, "", "102: Waiting for welcome timeout"},
        {EMisbehaviour::CloseMidLine, "", "102: Waiting for welcome timeout"},
        {EMisbehaviour::EndlessLine, "", "102: Waiting for welcome timeout"},
        {EMisbehaviour::None, "433 No more users\r\n", "104: No more users allowed"},
        {EMisbehaviour::None, "434 Load too high\r\n", "106: Remote server overloaded"},
    };
    for (const auto& test : cases) {
        m_server.SetMisbehaviour(test.m_eMisbehaviour);
        if (*test.m_pWelcome != '\0')
            m_server.SetWelcome(test.m_pWelcome);
        m_owner.Clear();
        EXPECT_FALSE(Open());
        EXPECT_EQ(m_owner.LastLine(), std::string("[ERR]Error ") + test.m_pError);
        EXPECT_FALSE(m_client.IsOpen());
    }
    // None got as far as the hello.
    EXPECT_TRUE(m_server.ReceivedLines().empty());
    m_server.SetWelcome("201 ready\r\n");
    m_server.SetMisbehaviour(EMisbehaviour::Garbage);
    EXPECT_FALSE(Open());
    EXPECT_EQ(m_owner.LastLine(), "[ERR]Error 112: Invalid handshake answer!");

    // A welcome without a code is accepted.
    m_server.SetMisbehaviour(EMisbehaviour::None);
    m_server.SetWelcome("hello there, no code here\r\n");
    EXPECT_TRUE(Open());
}

TEST_F(CddbpHandshakeTest, TheProtocolLevelAnswerDecidesAndQuitAlwaysCloses) {
    m_server.SetProtoReply("200 CDDB protocol level: current 6, supported 7");
    ASSERT_TRUE(Open());
    EXPECT_EQ(m_owner.LastLine(), "[INF]     Server supports more modern protocol");
    m_client.Close();

    m_server.SetProtoReply("502 Protocol level 6 not supported");
    EXPECT_FALSE(Open());
    EXPECT_EQ(m_owner.LastLine(), "[ERR]Error 122: Protocol not supported!");
    EXPECT_FALSE(m_client.IsOpen());

    // A quit answered otherwise still closes.
    m_server.SetProtoReply("201 OK, CDDB protocol level now: 6");
    m_server.SetQuitReply("500 What?");
    ASSERT_TRUE(Open());
    EXPECT_FALSE(m_client.Close());
    EXPECT_FALSE(m_client.IsOpen());
}
