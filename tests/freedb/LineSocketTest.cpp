#include "freedb/protocol/LineSocket.h"

#include "support/CddbTestServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {
using EMisbehaviour = CCddbTestServer::EMisbehaviour;

// A line socket whose wait can be broken and whose traces are kept.
class CTestLineSocket : public CLineSocket {
public:
    std::atomic<bool> m_bBreak{false};
    std::vector<std::string> m_traces;

protected:
    bool IsBreak() override { return m_bBreak; }
    void Trace(int nDirection, const std::string& strText) override {
        m_traces.push_back((nDirection > 0 ? "> " : "< ") + strText);
    }
};

class LineSocketTest : public ::testing::Test {
protected:
    bool ConnectTo(unsigned nTimeout) {
        if (!m_socket.Create())
            return false;
        m_socket.SetTimeout(nTimeout);
        return m_socket.Connect("127.0.0.1", m_server.CddbpPort());
    }

    CCddbTestServer m_server;
    CTestLineSocket m_socket;
};

using Clock = std::chrono::steady_clock;
double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}
} // namespace

TEST_F(LineSocketTest, LinesComeWithoutLineEndsAndSurroundingBlanksAndGoWithALineFeed) {
    m_server.SetWelcome("  200 O\rK \t\r\n\r\n");
    ASSERT_TRUE(ConnectTo(5));
    std::string line;
    ASSERT_TRUE(m_socket.ReadLine(line));
    EXPECT_EQ(line, "200 OK");
    ASSERT_TRUE(m_socket.ReadLine(line));
    EXPECT_EQ(line, "");
    ASSERT_TRUE(m_socket.SendLine("stat"));
    ASSERT_TRUE(m_socket.ReadLine(line));
    EXPECT_EQ(line.substr(0, 4), "210 ");
    // The server keeps the bytes of a line up to the line feed: no carriage return came.
    EXPECT_EQ(m_server.ReceivedLines().front(), "stat");
    EXPECT_EQ(std::vector<std::string>(m_socket.m_traces.begin(), m_socket.m_traces.begin() + 3),
              (std::vector<std::string>{"< 200 OK", "< ", "> stat"}));
}

TEST_F(LineSocketTest, ConnectFailsWithoutAListenerAndAStopEndsTheWaitForANameLookUp) {
    CCddbTestServer closed;
    const unsigned port = closed.CddbpPort();
    closed.Stop();
    CTestLineSocket socket;
    ASSERT_TRUE(socket.Create());
    socket.SetTimeout(2);
    EXPECT_FALSE(socket.Connect("127.0.0.1", port));

    // A name look-up cannot be interrupted, yet a stop must not wait for it; the look-up's answer
    // is still taken when it comes in time.
    m_socket.SetResolver([](const std::string& strHost, in_addr& address) {
        std::this_thread::sleep_for(std::chrono::milliseconds(strHost == "slow.test" ? 3000 : 10));
        return inet_pton(AF_INET, "127.0.0.1", &address) == 1;
    });
    ASSERT_TRUE(m_socket.Create());
    m_socket.SetTimeout(30);
    std::thread stopper([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        m_socket.Shutdown();
    });
    const auto start = Clock::now();
    EXPECT_FALSE(m_socket.Connect("slow.test", m_server.CddbpPort()));
    EXPECT_LT(SecondsSince(start), 1.5);
    stopper.join();

    m_socket.ResetShutdown();
    ASSERT_TRUE(m_socket.Create());
    EXPECT_TRUE(m_socket.Connect("quick.test", m_server.CddbpPort()));
}

// Silence in every form ends in a failed read once the idle time-out has passed.
TEST_F(LineSocketTest, SilentServersFailTheReadAfterTheIdleTimeOut) {
    for (EMisbehaviour misbehaviour :
         {EMisbehaviour::NoWelcome, EMisbehaviour::HalfLineThenSilence}) {
        m_server.SetMisbehaviour(misbehaviour);
        ASSERT_TRUE(ConnectTo(1));
        const auto start = Clock::now();
        std::string line = "stale";
        EXPECT_FALSE(m_socket.ReadLine(line));
        EXPECT_TRUE(line.empty());
        EXPECT_GE(SecondsSince(start), 0.9);
        EXPECT_LT(SecondsSince(start), 10.0);
        m_socket.Close();
    }
}

// A peer that goes inside a line is no reason to wait out the time-out; a line without
// end fails at the cap and gives up the connection.
TEST_F(LineSocketTest, ALineCutOffOrWithoutEndDeliversNothing) {
    m_server.SetMisbehaviour(EMisbehaviour::CloseMidLine);
    ASSERT_TRUE(ConnectTo(30));
    std::string line;
    const auto start = Clock::now();
    EXPECT_FALSE(m_socket.ReadLine(line));
    EXPECT_TRUE(line.empty());
    EXPECT_LT(SecondsSince(start), 10.0);
    EXPECT_TRUE(m_socket.m_traces.empty());

    m_socket.Close();
    m_server.SetMisbehaviour(EMisbehaviour::EndlessLine);
    ASSERT_TRUE(ConnectTo(30));
    EXPECT_FALSE(m_socket.ReadLine(line));
    EXPECT_TRUE(line.empty());
    EXPECT_FALSE(m_socket.ReadLine(line));
}

TEST_F(LineSocketTest, BreakEndsAWaitAndAShutdownFromAnotherThreadWakesIt) {
    m_server.SetMisbehaviour(EMisbehaviour::NoWelcome);
    ASSERT_TRUE(ConnectTo(30));
    std::thread breaker([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        m_socket.m_bBreak = true;
    });
    std::string line;
    auto start = Clock::now();
    EXPECT_FALSE(m_socket.ReadLine(line));
    EXPECT_LT(SecondsSince(start), 10.0);
    breaker.join();

    m_socket.m_bBreak = false;
    m_socket.Close();
    ASSERT_TRUE(ConnectTo(30));
    std::thread stopper([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        m_socket.Shutdown();
    });
    start = Clock::now();
    EXPECT_FALSE(m_socket.ReadLine(line));
    EXPECT_LT(SecondsSince(start), 10.0);
    stopper.join();
    // A stopped operation cannot open a new connection until the stop is over.
    EXPECT_FALSE(m_socket.Create());
    m_socket.ResetShutdown();
    EXPECT_TRUE(ConnectTo(5));
}
