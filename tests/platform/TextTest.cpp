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

TEST(TextTest, NaturalOrderComparesDigitRunsByValue) {
    EXPECT_TRUE(CText::NaturalLess("Track 2", "Track 10"));
    EXPECT_FALSE(CText::NaturalLess("Track 10", "Track 2"));
    EXPECT_TRUE(CText::NaturalLess("9a", "10"));
    EXPECT_TRUE(CText::NaturalLess("a9b", "a10a"));
    EXPECT_TRUE(CText::NaturalLess("a", "a1"));
    EXPECT_TRUE(CText::NaturalLess("B", "a"));
    // Past 64 bits, and equal values told apart by their zeros, in one strict order.
    EXPECT_TRUE(CText::NaturalLess("t99999999999999999999", "t100000000000000000000"));
    EXPECT_TRUE(CText::NaturalLess("Track 02", "Track 2"));
    EXPECT_FALSE(CText::NaturalLess("Track 2", "Track 02"));
    EXPECT_FALSE(CText::NaturalLess("a1", "a1"));
}
