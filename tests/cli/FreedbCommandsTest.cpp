#include "freedb/service/FreeDBSettings.h"
#include "support/CddbTestServer.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"
#include "support/TinyProxy.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>

// Peak memory is not measured under AddressSanitizer, whose shadow memory counts too.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WAVSMITH_HAS_ASAN 1
#endif
#endif
#ifndef WAVSMITH_HAS_ASAN
#define WAVSMITH_HAS_ASAN 0
#endif

namespace {
class FreedbCommandsTest : public ::testing::Test {
protected:
    // Runs the program against the fixture, over the gateway or the line protocol.
    SCliResult Run(std::vector<std::string> args, bool bHttp, const std::string& strLauncher = "") {
        const unsigned port = bHttp ? m_server.HttpPort() : m_server.CddbpPort();
        args.insert(args.end(), {"--cdplayer-ini", m_dir.File("CDPLAYER.INI"), "--server",
                                 "127.0.0.1:" + std::to_string(port), bHttp ? "--http" : "--cddbp",
                                 "--http-path", CCddbTestServer::CgiPath(), "--timeout", "5"});
        return RunCli(args, m_dir.Path(), strLauncher);
    }

    CCddbTestServer m_server;
    CTempDir m_dir;
};

const char* const kQuery[] = {"query", "0c025603", "3", "150", "15150", "30150", "600"};
} // namespace

TEST_F(FreedbCommandsTest, QueryPrintsEveryMatchAndReadTheAlbumOverBothTransports) {
    for (bool http : {false, true}) {
        SCliResult result = Run({std::begin(kQuery), std::end(kQuery)}, http);
        ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
        EXPECT_EQ(SplitLines(result.m_strOut),
                  (std::vector<std::string>{"rock 0c025603 Test Artist / Test Album",
                                            "misc 0c025603 Various / Mixed Tape"}));
        EXPECT_TRUE(result.m_strErr.empty()) << result.m_strErr;

        result = Run({"read", "rock", "0c025603"}, http);
        ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
        EXPECT_EQ(SplitLines(result.m_strOut).at(5), "2\t03:20\t15150\tSecond Song\tlive\tencore")
            << result.m_strOut;
    }
}

TEST_F(FreedbCommandsTest, TheLogGoesToStandardErrorStampedWithItsLevelPrefix) {
    std::vector<std::string> args(std::begin(kQuery), std::end(kQuery));
    args.insert(args.end(), {"--log", "--full-log"});
    const SCliResult result = Run(args, false);
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    // Each line begins "(dd.mm.yyyy, hh:mm:ss) ": digits where the form has a 0.
    const std::string form = "(00.00.0000, 00:00:00) ";
    const std::vector<std::string> log = SplitLines(result.m_strErr);
    for (const std::string& line : log) {
        EXPECT_TRUE(line.size() >= form.size() &&
                    std::equal(form.begin(), form.end(), line.begin(),
                               [](char f, char c) {
                                   return f == '0'
                                              ? std::isdigit(static_cast<unsigned char>(c)) != 0
                                              : f == c;
                               }))
            << line;
    }
    const auto has = [&log](const std::string& text) {
        return std::find_if(log.begin(), log.end(), [&text](const std::string& line) {
                   return line.size() > 23 && line.substr(23) == text;
               }) != log.end();
    };
    EXPECT_TRUE(has("[INF]Connecting to 127.0.0.1:" + std::to_string(m_server.CddbpPort()) +
                    ", timeout 5"));
    EXPECT_TRUE(has("[DBG] -> proto 6")) << "the full log";
}

// The site names itself in its result links by the host asked; the profile's logging
// level holds for the search as for the other commands.
TEST_F(FreedbCommandsTest, SearchAsksTheWebSiteGiven) {
    m_dir.WriteFile("Wavsmith.ini", "[FreeDB]\nLogging=1\n");
    const SCliResult result = Run({"search", "blue", "night", "--in", "title", "--web-host",
                                   "127.0.0.1:" + std::to_string(m_server.HttpPort()), "--log",
                                   "--profile", m_dir.File("Wavsmith.ini")},
                                  false);
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    EXPECT_NE(result.m_strErr.find("[DBG] -> GET /freedb_search.php?words=blue+night"),
              std::string::npos)
        << result.m_strErr;
    EXPECT_EQ(SplitLines(result.m_strOut).at(0), "jazz 1e0a2b04 Quartet / Blue Night");
    EXPECT_NE(m_server.ReceivedLines().at(0).find("&fields=title&"), std::string::npos);
}

TEST_F(FreedbCommandsTest, SitesAndStatPrintWhatTheServerSent) {
    SCliResult result = Run({"sites"}, false);
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    EXPECT_EQ(SplitLines(result.m_strOut).at(1),
              "127.0.0.1 http 80 /~cddb/cddb.cgi N000.00 W000.00 Loopback fixture, HTTP");
    result = Run({"stat"}, true);
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    EXPECT_EQ(SplitLines(result.m_strOut).at(0), "Database entries: 3");
}

// A hostile 15 MB list: what is stored stays small, and so does the program.
TEST_F(FreedbCommandsTest, SitesSaveStoresABoundedListAndNoOverride) {
    m_server.SetSitesReplyBytes(15u << 20);
    const std::string peakFile = m_dir.File("peak");
    const SCliResult result =
        Run({"sites", "--save"}, false, WAVSMITH_PEAK_MEMORY_PATH " " + peakFile);
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    EXPECT_LT(std::filesystem::file_size(m_dir.File("CDPLAYER.INI")), 300u << 10);
    CFreeDBSettings stored(m_dir.File("CDPLAYER.INI"));
    EXPECT_EQ(stored.GetSiteCount(), CFreeDBSettings::kMaxServers);
    EXPECT_EQ(stored.GetSite(1).m_strDescription, "Loopback fixture, HTTP");
    EXPECT_EQ(stored.m_strRemoteServer, CFreeDBSettings::kDefaultServer);
#if !defined(__SANITIZE_ADDRESS__) && !WAVSMITH_HAS_ASAN
    EXPECT_LT(std::stol(ReadWholeFile(peakFile)), 30 * 1024) << "KiB at the peak";
#endif
}

TEST_F(FreedbCommandsTest, ARefusedHelloIsExplainedWithTheWayOut) {
    m_server.SetHelloRefusal("500 Unknown developer email");
    for (bool http : {false, true}) {
        const SCliResult result = Run({"stat"}, http);
        EXPECT_EQ(result.m_nExitCode, 1);
        EXPECT_NE(result.m_strErr.find("the server refused this program's hello (it answered "
                                       "\"500 Unknown developer email\")"),
                  std::string::npos)
            << result.m_strErr;
        EXPECT_NE(result.m_strErr.find("another server with --server"), std::string::npos);
    }
}

TEST_F(FreedbCommandsTest, FailuresAndBadUsageHaveTheirExitStatus) {
    m_server.SetMisbehaviour(CCddbTestServer::EMisbehaviour::Welcome432);
    SCliResult result = Run({"stat", "--log"}, false);
    EXPECT_EQ(result.m_nExitCode, 1);
    EXPECT_NE(result.m_strErr.find("[ERR]Error 103: Permission denied"), std::string::npos)
        << result.m_strErr;
    m_server.SetMisbehaviour(CCddbTestServer::EMisbehaviour::None);

    result = Run({"read", "rock", "00000000"}, true);
    EXPECT_EQ(result.m_nExitCode, 1);
    EXPECT_TRUE(result.m_strOut.empty());

    EXPECT_EQ(Run({"query", "0c025603", "3", "150", "600"}, false).m_nExitCode, 2);
    EXPECT_EQ(Run({"read", "rock"}, false).m_nExitCode, 2);
    EXPECT_EQ(Run({"stat", "--timeout", "0"}, false).m_nExitCode, 2);
    EXPECT_EQ(Run({"search", "x", "--in", "lyrics"}, false).m_nExitCode, 2);
}

// Through a real proxy with Basic authentication: the gateway's commands and the
// search pass with the right password and are refused with a wrong one.
TEST_F(FreedbCommandsTest, TheGatewayGoesThroughAnAuthenticatingProxy) {
    if (!CTinyProxy::IsInstalled())
        GTEST_SKIP() << "tinyproxy is not installed (tools/install-deps.sh installs it)";
    CTinyProxy proxy("wavsmith", "s3cret");
    ASSERT_TRUE(proxy.IsRunning());
    const std::string proxyAddress = "127.0.0.1:" + std::to_string(proxy.Port());
    std::vector<std::string> args(std::begin(kQuery), std::end(kQuery));
    args.insert(args.end(), {"--proxy", proxyAddress, "--proxy-user", "wavsmith",
                             "--proxy-password", "wrong", "--log"});
    SCliResult result = Run(args, true);
    EXPECT_EQ(result.m_nExitCode, 1);
    EXPECT_TRUE(result.m_strOut.empty());
    EXPECT_NE(result.m_strErr.find("[INF]Connecting thru proxy " + proxyAddress), std::string::npos)
        << result.m_strErr;

    args[args.size() - 2] = "s3cret";
    result = Run(args, true);
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    EXPECT_EQ(SplitLines(result.m_strOut).size(), 2u);

    // The search takes --proxy too, over either transport: with a wrong password the
    // proxy's refusal page holds no result.
    std::vector<std::string> search = {
        "search",           "quartet",
        "--web-host",       "127.0.0.1:" + std::to_string(m_server.HttpPort()),
        "--proxy",          proxyAddress,
        "--proxy-user",     "wavsmith",
        "--proxy-password", "wrong"};
    EXPECT_TRUE(Run(search, false).m_strOut.empty());
    search.back() = "s3cret";
    result = Run(search, false);
    ASSERT_EQ(result.m_nExitCode, 0) << result.m_strErr;
    EXPECT_EQ(SplitLines(result.m_strOut).at(0), "jazz 1e0a2b04 Quartet / Blue Night");
}
