#include "freedb/service/OperationLog.h"

#include "freedb/service/OperationLogObserver.h"
#include "support/TempDir.h"

#include <cctype>
#include <cstdio>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {
std::tm At(int day, int month, int year, int hour, int minute, int second) {
    std::tm time{};
    time.tm_mday = day;
    time.tm_mon = month - 1;
    time.tm_year = year - 1900;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

class CRecordingObserver : public IOperationLogObserver {
public:
    void OnLogLine(int nLevel, const std::string& strLine) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.emplace_back(nLevel, strLine);
    }
    std::vector<std::pair<int, std::string>> m_lines;

private:
    std::mutex m_mutex;
};

const std::tm kTime = At(5, 12, 2026, 10, 42, 7);
} // namespace

TEST(OperationLogLineTest, PrefixesGiveTheLevelInTheirOrderAndAreRemoved) {
    const std::pair<const char*, std::pair<int, const char*>> cases[] = {
        {"     Opening connection ... done.", {0, "     Opening connection ... done."}},
        {"[INF]     Found 3 matches.", {1, "     Found 3 matches."}},
        {"[ERR]Error 003: x", {2, "Error 003: x"}},
        {"[DBG] -> cddb hello", {3, " -> cddb hello"}},
        {"[INF][ERR]both", {2, "both"}},
        {"[ERR][INF]late", {2, "[INF]late"}},
        {"[INF][ERR][DBG]all", {3, "all"}},
        {" [INF]indented", {0, " [INF]indented"}},
        {"[inf]lower", {0, "[inf]lower"}},
        // A line stays one line.
        {"[INF]Done. 1 retrieved.\r\n", {1, "Done. 1 retrieved."}},
        {"server said\r\nmore\n", {0, "server said  more"}},
    };
    for (const auto& [input, expected] : cases) {
        COperationLog log;
        log.Log(input, kTime);
        ASSERT_EQ(log.GetLineCount(), 1u);
        EXPECT_EQ(log.GetLines()[0].m_nLevel, expected.first) << input;
        EXPECT_EQ(log.GetLines()[0].m_strText,
                  std::string("(05.12.2026, 10:42:07) ") + expected.second)
            << input;
    }
}

TEST(OperationLogLineTest, StampCarriesTheLocalDateAndTime) {
    COperationLog log;
    log.Log("early", At(1, 2, 2027, 3, 4, 5));
    log.Log("now");
    EXPECT_EQ(log.GetLines()[0].m_strText, "(01.02.2027, 03:04:05) early");
    // "(dd.mm.yyyy, hh:mm:ss) now": digits where the pattern has '9'.
    const std::string pattern = "(99.99.9999, 99:99:99) now";
    const std::string line = log.GetLines()[1].m_strText;
    ASSERT_EQ(line.size(), pattern.size()) << line;
    for (size_t i = 0; i < line.size(); ++i) {
        EXPECT_TRUE(pattern[i] == '9' ? std::isdigit(static_cast<unsigned char>(line[i])) != 0
                                      : line[i] == pattern[i])
            << line;
    }
}

TEST(OperationLogSaveTest, EveryLineEndsWithCrLfAndAFileThatCannotBeCreatedFails) {
    CTempDir dir;
    COperationLog log;
    log.Log("one", kTime);
    log.Log("[ERR]two", kTime);
    ASSERT_TRUE(log.SaveToFile(dir.File("log.txt")));
    EXPECT_EQ(dir.ReadFile("log.txt"),
              "(05.12.2026, 10:42:07) one\r\n(05.12.2026, 10:42:07) two\r\n");
    EXPECT_FALSE(log.SaveToFile(dir.File("no/such/dir/log.txt")));
    EXPECT_FALSE(log.SaveToFile(dir.Path()));

    log.Clear();
    EXPECT_EQ(log.GetLineCount(), 0u);
    ASSERT_TRUE(log.SaveToFile(dir.File("log.txt")));
    EXPECT_EQ(dir.ReadFile("log.txt"), "");
}

TEST(OperationLogThreadTest, LinesFromSeveralThreadsStayWholeAndInOrder) {
    CRecordingObserver observer;
    COperationLog log(&observer);
    constexpr int kThreads = 4;
    constexpr int kLines = 400;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&log, t] {
            for (int i = 0; i < kLines; ++i)
                log.Log("[INF]thread " + std::to_string(t) + " line " + std::to_string(i) +
                            std::string(50, static_cast<char>('a' + t)),
                        kTime);
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    const std::vector<COperationLog::SLine> lines = log.GetLines();
    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kLines));
    ASSERT_EQ(observer.m_lines.size(), lines.size());
    std::vector<int> next(kThreads, 0);
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(observer.m_lines[i].first, lines[i].m_nLevel);
        EXPECT_EQ(observer.m_lines[i].second, lines[i].m_strText);
        int t = -1;
        int number = -1;
        char tail[64] = {};
        ASSERT_EQ(std::sscanf(lines[i].m_strText.c_str(),
                              "(05.12.2026, 10:42:07) thread %d line %d%63s", &t, &number, tail),
                  3)
            << lines[i].m_strText;
        ASSERT_TRUE(t >= 0 && t < kThreads);
        EXPECT_EQ(number, next[t]++);
        EXPECT_EQ(std::string(tail), std::string(50, static_cast<char>('a' + t)));
    }
}
