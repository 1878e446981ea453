#include "filelist/OutputNamer.h"

#include "encoding/AppSettings.h"
#include "encoding/GenreTable.h"
#include "encoding/TrackItem.h"
#include "filelist/SymbolReplacement.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {
class OutputNamerTest : public ::testing::Test {
protected:
    OutputNamerTest() : m_settings("/mp3/"), m_namer(m_settings, m_profile) {}

    // The path that the track at `nIndex` with title `strTitle` gets.
    std::string PathOf(unsigned nIndex, const std::string& strTitle) {
        CTrackItem track(m_settings);
        track.m_nIndex = nIndex;
        track.m_strTitle = strTitle;
        track.m_strFileTitle = "take " + std::to_string(nIndex + 1);
        track.m_strWavDir = "/wav/";
        EXPECT_TRUE(m_namer.BuildOutputName(track));
        return track.m_strMp3Path;
    }

    CProfile m_profile;
    CAppSettings m_settings;
    COutputNamer m_namer;
};

std::string Clean(const std::string& text) {
    return CSymbolReplacement().ReplaceFileNameSymbols(text);
}
} // namespace

TEST(SymbolReplacementTest, ForbiddenCharactersAreReplacedAndBlanksAndDotsTidied) {
    EXPECT_EQ(Clean("AC/DC: Live?"), "AC-DC- Live");
    EXPECT_EQ(Clean("a * b"), "a x b");
    EXPECT_EQ(Clean("<a|b>\"c\\d"), "[a-b]-c-d");
    EXPECT_EQ(Clean(" \t..name .. "), ".name");
    // One pass each: blanks, dots, blanks.
    EXPECT_EQ(Clean("name . ."), "name .");
    EXPECT_EQ(Clean("a    b....c"), "a b.c");
    EXPECT_EQ(Clean("...."), "");
    // Line breaks from a server's track title must not reach a playlist line.
    EXPECT_EQ(Clean("one\r\ntwo\tthree"), "one two three");
}

TEST(SymbolReplacementTest, SwitchedOffDoublesStayAndEmptyReplacementDeletes) {
    CSymbolReplacement table;
    table.m_bDeleteDoubleSpaces = false;
    table.m_bDeleteDoubleDots = false;
    table.m_strReplacements[8] = ""; // colon
    EXPECT_EQ(table.ReplaceFileNameSymbols("a * b..c: d"), "a  x  b..c d");
}

TEST(SymbolReplacementTest, SaveWritesOneSectionThatLoadsBackExactlyOrTheDefaultsWithout) {
    CTempDir dir;
    CSymbolReplacement table;
    table.m_strReplacements[3] = "";      // question mark
    table.m_strReplacements[4] = "\"q\""; // double quote, itself quoted
    table.m_bDeleteDoubleSpaces = false;
    {
        CProfile profile(dir.File("profile.ini"));
        ASSERT_TRUE(table.Save(profile));
    }
    EXPECT_EQ(dir.ReadFile("profile.ini"), "[SymbolReplacement]\n"
                                           "DD=1\n"
                                           "DS=0\n"
                                           "1=\" x \"\n"
                                           "2=-\n"
                                           "3=-\n"
                                           "4=\n"
                                           "5=\"\"q\"\"\n"
                                           "6=-\n"
                                           "7=[\n"
                                           "8=]\n"
                                           "9=-\n");

    const CSymbolReplacement loaded = CSymbolReplacement::Load(CProfile(dir.File("profile.ini")));
    EXPECT_EQ(loaded.m_strReplacements, table.m_strReplacements);
    EXPECT_FALSE(loaded.m_bDeleteDoubleSpaces);
    EXPECT_TRUE(loaded.m_bDeleteDoubleDots);
    // Without the section the defaults hold.
    EXPECT_EQ(CSymbolReplacement::Load(CProfile()).m_strReplacements,
              CSymbolReplacement().m_strReplacements);
}

TEST(OutputNamerNumberTest, StylesNumberFromOneAndLettersGoOnPastZ) {
    const struct {
        unsigned index;
        unsigned style;
        const char* text;
    } numbers[] = {{0, 0, "1"},   {9, 0, "10"},   {8, 1, "09"},
                   {9, 1, "10"},  {2, 4, "3"},    {4294967295u, 0, "4294967296"},
                   {0, 2, "A"},   {25, 2, "Z"},   {26, 2, "AA"},
                   {27, 2, "AB"}, {701, 2, "ZZ"}, {702, 2, "AAA"},
                   {0, 3, "a"},   {26, 3, "aa"},  {4294967295u, 3, "mwlqkwv"}};
    for (const auto& number : numbers)
        EXPECT_EQ(COutputNamer::NumberText(number.index, number.style), number.text)
            << number.index << " in style " << number.style;
}

TEST_F(OutputNamerTest, TemplateTokensFillTheNameWithTheProfilesReplacements) {
    EXPECT_EQ(PathOf(2, "Intro"), "/mp3/03 - Intro.mp3");

    m_settings.m_strOutputFileFormat = "[number] - [artist], [album] ([year]) - [title] [genre]";
    m_settings.m_strArtist = "Abba";
    m_settings.m_strAlbum = "Gold";
    m_settings.m_strYear = "1992";
    m_settings.m_nGenre = 81; // Pop
    m_settings.m_strMp3Ext = ".MP3";
    EXPECT_EQ(PathOf(0, "SOS"), "/mp3/01 - Abba, Gold (1992) - SOS Pop.MP3");
    // Beside the WAV file when asked.
    m_settings.m_bSameDir = 1;
    m_settings.m_strOutputFileFormat = "[number] - [title]";
    m_settings.m_strMp3Ext = ".mp3";
    EXPECT_EQ(PathOf(0, "Intro"), "/wav/01 - Intro.mp3");

    // Tokens inside a title are filled, but the title is not read again.
    m_settings.m_bSameDir = 0;
    EXPECT_EQ(PathOf(0, "Best of [artist] [title]"), "/mp3/01 - Best of Abba [title].mp3");

    // Replacement changes in the profile apply to the next name.
    EXPECT_EQ(PathOf(0, "A:  B"), "/mp3/01 - A- B.mp3");
    m_profile.WriteString("SymbolReplacement", "9", ",");
    m_profile.WriteInt("SymbolReplacement", "DS", 0);
    EXPECT_EQ(PathOf(0, "A:  B"), "/mp3/01 - A,  B.mp3");
}

TEST_F(OutputNamerTest, NumberLeadsWhenNeitherTitleNorNumberIsInTheTemplate) {
    m_settings.m_nNumberStyle = 0;
    m_settings.m_strArtist = "Abba";
    m_settings.m_strOutputFileFormat = "[artist]";
    EXPECT_EQ(PathOf(0, "SOS"), "/mp3/1Abba.mp3");

    m_settings.m_strOutputFileFormat = "[genre]";
    m_settings.m_nGenre = CGenreTable::kNoGenre;
    EXPECT_EQ(PathOf(0, "SOS"), "/mp3/1.mp3");
    m_settings.m_nGenre = 15;
    EXPECT_EQ(PathOf(0, "SOS"), "/mp3/1Blues.mp3");
}

TEST_F(OutputNamerTest, WavNameStandsInForAnEmptyTemplateOrAnEmptyResult) {
    m_settings.m_strOutputFileFormat = "";
    EXPECT_EQ(PathOf(4, "ignored"), "/mp3/take 5.mp3");

    m_settings.m_strOutputFileFormat = "[title]";
    EXPECT_EQ(PathOf(4, ""), "/mp3/take 5.mp3");
    // The fallback comes before the clean-up, so a title of dots leaves no name.
    EXPECT_EQ(PathOf(4, "..."), "/mp3/.mp3");
}

TEST_F(OutputNamerTest, ANameTooLongForTheFileSystemLosesTheEndOfItsTitle) {
    CTempDir dir;
    m_settings.m_strOutputDir = dir.Path();
    std::string title;
    for (int i = 0; i < 200; ++i)
        title += "\u00e9";
    CTrackItem track(m_settings);
    track.m_nIndex = 2;
    track.m_strTitle = title;
    for (unsigned copy : {1u, 2u}) {
        ASSERT_TRUE(m_namer.BuildOutputName(track, copy));
        const std::string name(CText::FileNamePart(track.m_strMp3Path));
        EXPECT_LE(name.size(), COutputNamer::kMaxNameBytes);
        EXPECT_GT(name.size(), COutputNamer::kMaxNameBytes - 2);
        EXPECT_TRUE(name.starts_with("03 - \u00e9")) << name;
        EXPECT_TRUE(name.ends_with(copy == 1 ? "\u00e9.mp3" : "\u00e9 (2).mp3")) << name;
        // The file system takes the name.
        EXPECT_NO_THROW(dir.WriteFile(name, "x"));
        EXPECT_TRUE(std::filesystem::exists(track.m_strMp3Path)) << name;
    }

    // Without a title in the template the name is cut at its end.
    m_settings.m_strOutputFileFormat = "[number] - [album]";
    track.m_strAlbum = std::string(300, 'a');
    ASSERT_TRUE(m_namer.BuildOutputName(track));
    EXPECT_EQ(CText::FileNamePart(track.m_strMp3Path),
              "03 - " + std::string(COutputNamer::kMaxNameBytes - 9, 'a') + ".mp3");
}

TEST_F(OutputNamerTest, EncodedTrackKeepsItsPath) {
    CTrackItem track(m_settings);
    track.m_strTitle = "Intro";
    ASSERT_TRUE(m_namer.BuildOutputName(track));
    track.m_bEncoded = true;
    m_settings.m_strOutputFileFormat = "[title]";
    EXPECT_FALSE(m_namer.BuildOutputName(track));
    EXPECT_EQ(track.m_strMp3Path, "/mp3/01 - Intro.mp3");
}

TEST_F(OutputNamerTest, ExampleShowsTheTemplateAsTypedForASampleFirstTrack) {
    const unsigned pop = 81;
    EXPECT_EQ(m_namer.ExampleName("[number] - [title] ([genre])", "", "", "", "", pop),
              "01 - Track (Pop).mp3");
    EXPECT_EQ(m_namer.ExampleName("[artist] - [year]", "Intro", "A/B", "", "1999", pop),
              "A-B - 1999.mp3");
    EXPECT_EQ(m_namer.ExampleName("", "Intro", "", "", "", CGenreTable::kNoGenre), ".mp3");
    m_settings.m_nNumberStyle = 3;
    EXPECT_EQ(m_namer.ExampleName("[number][title][genre]", "x", "", "", "", CGenreTable::kNoGenre),
              "ax.mp3");
}
