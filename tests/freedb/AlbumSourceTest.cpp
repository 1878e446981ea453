#include "freedb/protocol/AlbumSource.h"

#include "platform/Profile.h"
#include "support/RecordingOwner.h"

#include <gtest/gtest.h>

namespace {
// The log-line rules alone, on a source with no albums of its own.
class CLogOnlySource : public CAlbumSource {
public:
    using CAlbumSource::CAlbumSource;
    bool Open() override { return true; }
    bool Close() override { return true; }
    bool Query(CAlbumInfo&, CAlbumList&) override { return false; }
    bool Read(CAlbumInfo&) override { return false; }
};

class AlbumSourceLogTest : public ::testing::Test {
protected:
    void SetUp() override { m_source.SetOwner(&m_owner); }

    CProfile m_profile;
    CRecordingOwner m_owner;
    CLogOnlySource m_source{&m_profile};
};
} // namespace

TEST_F(AlbumSourceLogTest, AStepAndItsEndMakeOneLineWithTabsAsFiveBlanks) {
    m_source.Log("\tOpening connection ... ");
    EXPECT_TRUE(m_owner.Lines().empty());
    m_source.Log("done.\r\n");
    m_source.Log("[ERR]Error %.03u: %s\r\n", 3u, "Something");
    m_source.Log("first\r\nsecond\r\nthird ");
    EXPECT_EQ(m_owner.Lines(),
              (std::vector<std::string>{"     Opening connection ... done.",
                                        "[ERR]Error 003: Something", "first", "second"}));
    // Without an owner lines are built and dropped.
    CLogOnlySource alone(nullptr);
    alone.Log("\tstep ... done.\r\n");
    EXPECT_FALSE(alone.IsUserBreak());
    EXPECT_FALSE(alone.IsFullLogging());
}

TEST_F(AlbumSourceLogTest, AfterAStopEveryErrorLineIsAUserBreak) {
    m_owner.m_bStop = true;
    m_source.Log("\tRetrieving albums list ... failed.\r\n");
    m_source.Log("[ERR]Error %.03u: %s\r\n", 131u, "Receiving timeout.");
    EXPECT_EQ(m_owner.Lines(), (std::vector<std::string>{"     Retrieving albums list ... failed.",
                                                         "[ERR]Error 105: User break."}));
}

TEST_F(AlbumSourceLogTest, TracesComeBeforeTheNextLineOnlyAtFullLogging) {
    m_source.Trace(+1, "stat");
    m_source.Log("\tstep ...done.\r\n");
    EXPECT_EQ(m_owner.Lines(), (std::vector<std::string>{"     step ...done."}));

    m_owner.Clear();
    m_profile.WriteInt("FreeDB", "Logging", 1);
    m_source.RefreshLogging();
    m_source.Log("\tstep ...");
    m_source.Trace(+1, "stat");
    m_source.Trace(-1, "210\tOK");
    m_source.Trace(0, "note");
    m_source.Log("done.\r\n");
    EXPECT_EQ(m_owner.Lines(), (std::vector<std::string>{"[DBG] -> stat", "[DBG] <- 210     OK",
                                                         "[DBG]    note", "     step ...done."}));
}
