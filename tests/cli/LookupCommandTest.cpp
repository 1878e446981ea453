#include "freedb/service/AlbumInfo.h"
#include "support/CddbTestServer.h"
#include "support/CliRunner.h"
#include "support/MusicBrainzTestServer.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"
#include "support/WaveWriter.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
// Three WAV files of 2, 3 and 4 seconds, and two albums of the disc they make on the
// fixture: one by a band, and a compilation.
class LookupCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir.WriteFile("disc/a.wav", CWaveWriter::PcmTone(1, 44100, 2.0));
        m_dir.WriteFile("disc/b.wav", CWaveWriter::PcmTone(1, 44100, 3.0));
        m_dir.WriteFile("disc/c.wav", CWaveWriter::PcmTone(1, 44100, 4.0));
        m_strDiscId = CAlbumInfo::FromPlayTimes({2, 3, 4}).ComputeDiscId();
        const std::string head = "# xmcd\n#\n# Track frame offsets:\n#\t150\n#\t300\n#\t525\n#\n"
                                 "# Disc length: 11 seconds\n#\nDISCID=" +
                                 m_strDiscId + "\n";
        m_server.AddAlbum({"rock", m_strDiscId, "Alpha Band", "First Light",
                           head + "DTITLE=Alpha Band / First Light\nDYEAR=2004\n"
                                  "TTITLE0=Dawn Song\nTTITLE1=Noon: Song\nTTITLE2=Dusk Song\n"});
        m_server.AddAlbum({"misc", m_strDiscId, "Various", "Second",
                           head + "DTITLE=Various / Second\nDYEAR=1999\n"
                                  "TTITLE0=Ann / Uno\nTTITLE1=Bob / Dos\nTTITLE2=Cy / Tres\n"});
        m_server.SetConcurrent(true);
    }

    SCliResult Run(std::vector<std::string> args, bool bHttp = true) {
        const unsigned port = bHttp ? m_server.HttpPort() : m_server.CddbpPort();
        args.insert(args.end(), {"--profile", m_dir.File("profile.ini"), "--cdplayer-ini",
                                 m_dir.File("CDPLAYER.INI"), "--server",
                                 "127.0.0.1:" + std::to_string(port), bHttp ? "--http" : "--cddbp",
                                 "--http-path", CCddbTestServer::CgiPath(), "--timeout", "5"});
        return RunCli(args, m_dir.Path());
    }

    CCddbTestServer m_server;
    CTempDir m_dir;
    std::string m_strDiscId;
};
} // namespace

TEST_F(LookupCommandTest, ListsEveryAlbumOfTheDiscWithItsTracksOverBothTransports) {
    // Replies slow enough that the fetches overlap even when threads are slow to start.
    m_server.SetReplyDelay(std::chrono::milliseconds(250));
    for (bool http : {true, false}) {
        const SCliResult result = Run({"lookup", "disc", "--threads", "2"}, http);
        ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
        const std::vector<std::string> lines = SplitLines(result.m_strOut);
        ASSERT_EQ(lines.size(), 8u) << result.m_strOut;
        EXPECT_EQ(lines[0],
                  "1  rock  " + m_strDiscId + "  Alpha Band / First Light  2004  3 tracks");
        EXPECT_EQ(lines[5], "    1  00:02  Ann / Uno");
        EXPECT_TRUE(result.m_strErr.empty()) << result.m_strErr;
    }
    EXPECT_EQ(m_server.PeakConnectionCount(), 2) << "HTTP: a connection for each album";
}

TEST_F(LookupCommandTest, SelectGivesTheTracksTheirTitlesAndNames) {
    const SCliResult result = Run({"lookup", "disc", "--select", "1", "--log"});
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    // The first WAV file's new name, from the album's first title.
    EXPECT_NE(result.m_strOut.find("01 - Dawn Song.mp3"), std::string::npos) << result.m_strOut;
    // The log went to standard error, ending with the result line.
    EXPECT_NE(result.m_strErr.find("Done. 2 album(s) found, 2 retrieved."), std::string::npos)
        << result.m_strErr;
    // "Just selected albums", the default, caches the album chosen.
    EXPECT_NE(m_dir.ReadFile("CDPLAYER.INI").find("title=First Light"), std::string::npos);
}

// MusicBrainz finds the disc by its track lengths; its albums are listed, chosen and
// applied as a CDDB server's are.
TEST_F(LookupCommandTest, MusicBrainzAlbumsAreListedAndApplied) {
    CMusicBrainzTestServer musicBrainz;
    musicBrainz.Queue({200, R"({"release-count": 2, "releases": [
        {"title": "Light Years", "date": "2004-05-01",
         "artist-credit": [{"name": "Alpha Band", "joinphrase": " & "}, {"name": "Friends"}],
         "media": [{"tracks": [{"title": "Dawn", "length": 2000},
                               {"title": "Noon", "length": 3000},
                               {"title": "Dusk", "length": 4100}]}]},
        {"title": "Live", "artist-credit": [{"name": "Alpha Band"}],
         "media": [{"tracks": [{"title": "One"}, {"title": "Two"}, {"title": "Three"}]}]}]})"});
    const SCliResult result =
        RunCli({"lookup", "disc", "--select", "1", "--server", "musicbrainz", "--musicbrainz-url",
                musicBrainz.BaseUrl(), "--profile", m_dir.File("profile.ini"), "--cdplayer-ini",
                m_dir.File("CDPLAYER.INI")},
               m_dir.Path());
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    const std::vector<std::string> lines = SplitLines(result.m_strOut);
    ASSERT_GE(lines.size(), 8u) << result.m_strOut;
    EXPECT_EQ(lines[0], "1  musicbrainz  " + m_strDiscId +
                            "  Alpha Band & Friends / Light Years  2004  3 tracks");
    EXPECT_NE(result.m_strOut.find("03 - Dusk.mp3"), std::string::npos) << result.m_strOut;
}

TEST_F(LookupCommandTest, AMissingAlbumOrAFailedLookupEndsWithStatusOne) {
    SCliResult result = Run({"lookup", "disc", "--select", "3"});
    EXPECT_EQ(result.m_nExitCode, 1);
    EXPECT_NE(result.m_strErr.find("there is no album 3; 2 found"), std::string::npos)
        << result.m_strErr;

    EXPECT_EQ(Run({"lookup", "disc", "--threads", "21"}).m_nExitCode, 2);
    EXPECT_EQ(Run({"lookup"}).m_nExitCode, 2);

    // A server that refuses the hello is named as such, with the way out.
    m_server.SetHelloRefusal("500 Unknown developer email");
    result = Run({"lookup", "disc"});
    EXPECT_EQ(result.m_nExitCode, 1);
    EXPECT_NE(result.m_strErr.find("the server refused this program's hello"), std::string::npos)
        << result.m_strErr;

    m_server.Stop();
    result = Run({"lookup", "disc"}, false);
    EXPECT_EQ(result.m_nExitCode, 1);
    EXPECT_TRUE(result.m_strOut.empty()) << result.m_strOut;
    EXPECT_NE(result.m_strErr.find("the lookup failed: Error occurs. Operation failed"),
              std::string::npos)
        << result.m_strErr;
}

TEST_F(LookupCommandTest, EncodeWithFreedbNamesAndTagsTheFilesFromTheAlbum) {
    const std::string out = m_dir.Path() + "out/";
    const SCliResult result =
        Run({"encode", "disc", "--freedb", "2", "--out", out, "--yes", "--no-progress"});
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    // The compilation's track titles, without their artists.
    EXPECT_EQ(result.m_strOut,
              out + "01 - Uno.mp3\n" + out + "02 - Dos.mp3\n" + out + "03 - Tres.mp3\n");
    const std::string mp3 = m_dir.ReadFile("out/02 - Dos.mp3");
    ASSERT_GT(mp3.size(), 128u);
    // The tag's album field, as the album has it.
    EXPECT_EQ(mp3.substr(mp3.size() - 128 + 63, 6), "Second");

    EXPECT_EQ(Run({"encode", "disc", "--freedb", "5", "--out", out, "--yes"}).m_nExitCode, 1);
    EXPECT_FALSE(fs::exists(out + "01 - a.mp3")) << "nothing encoded without the album";
}
