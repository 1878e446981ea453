#include "encoding/GenreTable.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

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

TEST(GenreTableTest, EveryRowCarriesTheStandardNumberOfItsName) {
    // The ID3v1 genres 0 to 125 in number order, as players read the genre byte.
    const std::string standardText =
        "Blues|Classic Rock|Country|Dance|Disco|Funk|Grunge|Hip-Hop|Jazz|Metal|New Age|"
        "Oldies|Other|Pop|R&B|Rap|Reggae|Rock|Techno|Industrial|Alternative|Ska|Death Metal|"
        "Pranks|Soundtrack|Euro-Techno|Ambient|Trip-Hop|Vocal|Jazz+Funk|Fusion|Trance|"
        "Classical|Instrumental|Acid|House|Game|Sound Clip|Gospel|Noise|AlternRock|Bass|Soul|"
        "Punk|Space|Meditative|Instrumental Pop|Instrumental Rock|Ethnic|Gothic|Darkwave|"
        "Techno-Industrial|Electronic|Pop-Folk|Eurodance|Dream|Southern Rock|Comedy|Cult|"
        "Gangsta|Top 40|Christian Rap|Pop/Funk|Jungle|Native American|Cabaret|New Wave|"
        "Psychadelic|Rave|Showtunes|Trailer|Lo-Fi|Tribal|Acid Punk|Acid Jazz|Polka|Retro|"
        "Musical|Rock & Roll|Hard Rock|Folk|Folk-Rock|National Folk|Swing|Fast Fusion|Bebob|"
        "Latin|Revival|Celtic|Bluegrass|Avantgarde|Gothic Rock|Progressive Rock|"
        "Psychedelic Rock|Symphonic Rock|Slow Rock|Big Band|Chorus|Easy Listening|Acoustic|"
        "Humour|Speech|Chanson|Opera|Chamber Music|Sonata|Symphony|Booty Bass|Primus|"
        "Porn Groove|Satire|Slow Jam|Club|Tango|Samba|Folklore|Ballad|Power Ballad|"
        "Rhythmic Soul|Freestyle|Duet|Punk Rock|Drum Solo|A capella|Euro-House|Dance Hall";
    const std::string_view text(standardText);
    std::vector<std::string_view> standard;
    for (size_t start = 0, bar = 0; bar != std::string_view::npos; start = bar + 1) {
        bar = text.find('|', start);
        standard.push_back(text.substr(start, bar - start));
    }
    ASSERT_EQ(standard.size(), CGenreTable::kRowCount - 1);
    std::set<std::string_view> names;
    for (unsigned row = 1; row < CGenreTable::kRowCount; ++row) {
        const std::string_view name = CGenreTable::GenreName(row);
        const unsigned number = CGenreTable::GenreNumber(row);
        ASSERT_LT(number, standard.size()) << name;
        EXPECT_EQ(name, standard[number]) << "row " << row;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), CGenreTable::kRowCount - 1);
    // Row 0 and rows outside the table have no name and no genre number.
    for (unsigned row : {0u, 127u, static_cast<unsigned>(CGenreTable::kNoGenre)}) {
        EXPECT_EQ(CGenreTable::GenreName(row), "") << row;
        EXPECT_EQ(CGenreTable::GenreNumber(row), 255) << row;
    }
}

TEST(GenreTableTest, FindRowIgnoresCaseAndNeverReturnsRowZeroForAName) {
    EXPECT_EQ(CGenreTable::FindRow("rock & roll"), 100);
    EXPECT_EQ(CGenreTable::FindRow("VOCAL"), 126);
    EXPECT_EQ(CGenreTable::FindRow("Rock "), -1);
    EXPECT_EQ(CGenreTable::FindRow("Polka Punk"), -1);
    EXPECT_EQ(CGenreTable::FindRow(""), 0);
}
