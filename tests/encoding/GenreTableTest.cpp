#include "encoding/GenreTable.h"

#include <gtest/gtest.h>
#include <set>

namespace {
// The order of the genre lists: byte order, except that a name which is a prefix of
// another comes after it when the other continues with a space ("Acid Jazz", "Acid"),
// and before it otherwise ("Jazz", "Jazz+Funk").
bool ListedBefore(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        if (a[i] != b[i])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
    }
    if (a.size() == b.size())
        return false;
    if (a.size() < b.size())
        return b[common] != ' ';
    return a[common] == ' ';
}
} // namespace

TEST(GenreTableTest, RowsAreSortedByNameWithLongerFormsBeforeASpacedPrefix) {
    for (unsigned row = 2; row < CGenreTable::kRowCount; ++row) {
        EXPECT_TRUE(ListedBefore(CGenreTable::GenreName(row - 1), CGenreTable::GenreName(row)))
            << "rows " << row - 1 << " and " << row;
    }
    EXPECT_EQ(CGenreTable::GenreName(2), "Acid Jazz");
    EXPECT_EQ(CGenreTable::GenreName(4), "Acid");
    EXPECT_EQ(CGenreTable::GenreName(64), "Jazz");
    EXPECT_EQ(CGenreTable::GenreName(65), "Jazz+Funk");
}

TEST(GenreTableTest, EveryGenreNumberOccursOnceAndRowZeroIsNoGenre) {
    std::set<unsigned> numbers;
    for (unsigned row = 1; row < CGenreTable::kRowCount; ++row) {
        EXPECT_FALSE(CGenreTable::GenreName(row).empty()) << "row " << row;
        numbers.insert(CGenreTable::GenreNumber(row));
    }
    ASSERT_EQ(numbers.size(), 126u);
    EXPECT_EQ(*numbers.begin(), 0u);
    EXPECT_EQ(*numbers.rbegin(), 125u);

    EXPECT_EQ(CGenreTable::GenreName(0), "");
    EXPECT_EQ(CGenreTable::GenreNumber(0), 255);
    EXPECT_EQ(CGenreTable::GenreNumber(15), 0);   // Blues
    EXPECT_EQ(CGenreTable::GenreNumber(126), 28); // Vocal
}

TEST(GenreTableTest, RowsOutsideTheTableHaveNoNameAndNoGenreNumber) {
    EXPECT_EQ(CGenreTable::GenreName(127), "");
    EXPECT_EQ(CGenreTable::GenreName(CGenreTable::kNoGenre), "");
    EXPECT_EQ(CGenreTable::GenreNumber(127), 255);
    EXPECT_EQ(CGenreTable::GenreNumber(CGenreTable::kNoGenre), 255);
}

TEST(GenreTableTest, FindRowIgnoresCaseAndNeverReturnsRowZeroForAName) {
    EXPECT_EQ(CGenreTable::FindRow("rock & roll"), 100);
    EXPECT_EQ(CGenreTable::FindRow("VOCAL"), 126);
    EXPECT_EQ(CGenreTable::FindRow("Rock "), -1);
    EXPECT_EQ(CGenreTable::FindRow("Polka Punk"), -1);
    EXPECT_EQ(CGenreTable::FindRow(""), 0);
}
