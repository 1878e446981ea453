#include "freedb/service/CellSort.h"

#include <gtest/gtest.h>

TEST(CellSortTest, NumbersAndTimesSortByValueAndAnythingElseByText) {
    using EKind = CCellSort::EKind;
    EXPECT_EQ(CCellSort::KindOf({"10", "9", "-2"}), EKind::Number);
    EXPECT_EQ(CCellSort::SortedOrder({"10", "9", "-2"}, false),
              (std::vector<std::size_t>{2, 1, 0}));
    EXPECT_EQ(CCellSort::KindOf({"1:05:00", "59:59", "2:07"}), EKind::Time);
    EXPECT_EQ(CCellSort::SortedOrder({"1:05:00", "59:59", "2:07"}, false),
              (std::vector<std::size_t>{2, 1, 0}));
    EXPECT_EQ(CCellSort::KindOf({"2:07", "3:75"}), EKind::Text) << "not a time";
    EXPECT_EQ(CCellSort::KindOf({"12", "4:00"}), EKind::Text);
    EXPECT_EQ(CCellSort::KindOf({"7", ""}), EKind::Text);
    // Text ignores case; equal cells keep their order either way.
    EXPECT_EQ(CCellSort::SortedOrder({"beta", "Alpha", "alpha", "10"}, false),
              (std::vector<std::size_t>{3, 1, 2, 0}));
    EXPECT_EQ(CCellSort::SortedOrder({"beta", "Alpha", "alpha", "10"}, true),
              (std::vector<std::size_t>{0, 1, 2, 3}));
}
