#include "platform/Text.h"

#include <gtest/gtest.h>

TEST(TextTest, ReplaceAllWorksLeftToRightOnTheResultOfEarlierHits) {
    std::string text = "aaaa";
    EXPECT_EQ(CText::ReplaceAll(text, "aa", "a"), 2);
    EXPECT_EQ(text, "aa");
    std::string unchanged = "abc";
    EXPECT_EQ(CText::ReplaceAll(unchanged, "", "x"), 0);
    EXPECT_EQ(unchanged, "abc");
}

TEST(TextTest, ParseIntTakesTheLeadingNumberAndRefusesText) {
    long long value = 0;
    EXPECT_TRUE(CText::ParseInt("  -12abc", value));
    EXPECT_EQ(value, -12);
    EXPECT_FALSE(CText::ParseInt("abc", value));
    EXPECT_FALSE(CText::ParseInt("-", value));
    EXPECT_TRUE(CText::ParseInt("99999999999999999999999", value));
    EXPECT_GT(value, 0); // clamped, never wrapped
}

TEST(TextTest, PathPartsSplitAtTheLastSlash) {
    EXPECT_EQ(CText::FileNamePart("/a/b/c.wav"), "c.wav");
    EXPECT_EQ(CText::DirectoryPart("/a/b/c.wav"), "/a/b/");
    EXPECT_EQ(CText::DirectoryPart("c.wav"), "");
    EXPECT_TRUE(CText::EndsWithNoCase("x.WaV", ".wav"));
    EXPECT_FALSE(CText::EndsWithNoCase("wav", ".wav"));
}
