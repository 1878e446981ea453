#include "freedb/service/EditorOptions.h"

#include "platform/Profile.h"

#include <gtest/gtest.h>

TEST(EditorOptionsTest, SizesAndTreeWidthOutOfTheirRangesFallBack) {
    CProfile profile;
    profile.WriteInt("FreeDB", "w", 3000);
    profile.WriteInt("FreeDB", "h", 299);
    profile.WriteInt("FreeDB", "TreeWidth", 95);
    profile.WriteInt("FreeDB", "ShowSearchBar", 0);
    CEditorOptions options;
    options.Load(profile);
    EXPECT_EQ(options.m_nWidth, 400);
    EXPECT_EQ(options.m_nHeight, 300);
    EXPECT_EQ(options.m_nTreeWidth, 30);
    EXPECT_FALSE(options.m_bShowSearchBar);
    EXPECT_TRUE(options.m_bShowInfoBar) << "absent keys keep their defaults";
    EXPECT_EQ(options.m_nX, 300);

    options.m_nWidth = 2000;
    options.m_nTreeWidth = 10;
    options.m_bSearchInTrackExtras = true;
    ASSERT_TRUE(options.Save(profile));
    CEditorOptions reread;
    reread.Load(profile);
    EXPECT_EQ(reread.m_nWidth, 2000);
    EXPECT_EQ(reread.m_nTreeWidth, 10);
    EXPECT_TRUE(reread.m_bSearchInTrackExtras);
}

TEST(EditorOptionsTest, NewSearchTextsGoOnTopOfTheHistoryOnce) {
    CProfile profile;
    profile.WriteString("FreeDB\\SearchHistory", "String0", "quartet");
    profile.WriteString("FreeDB\\SearchHistory", "String1", "blue");
    profile.WriteString("FreeDB\\SearchHistory", "String3", "after a gap");
    std::vector<std::string> history = CEditorOptions::LoadSearchHistory(profile);
    EXPECT_EQ(history, (std::vector<std::string>{"quartet", "blue"}));

    EXPECT_FALSE(CEditorOptions::AddToHistory(history, ""));
    EXPECT_FALSE(CEditorOptions::AddToHistory(history, "blue"));
    EXPECT_TRUE(CEditorOptions::AddToHistory(history, "night"));
    ASSERT_TRUE(CEditorOptions::SaveSearchHistory(profile, history));
    EXPECT_EQ(CEditorOptions::LoadSearchHistory(profile),
              (std::vector<std::string>{"night", "quartet", "blue", "after a gap"}));
}
