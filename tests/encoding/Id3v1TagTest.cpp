#include "encoding/Id3v1Tag.h"

#include "encoding/AppSettings.h"
#include "encoding/TrackItem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {
std::string AsText(const CId3v1Tag::Bytes& tag) {
    return std::string(tag.begin(), tag.end());
}

// `text` followed by zeros up to `nWidth` bytes.
std::string Field(const std::string& text, size_t nWidth) {
    return text + std::string(nWidth - text.size(), '\0');
}

class Id3v1TagTest : public ::testing::Test {
protected:
    Id3v1TagTest() : m_track(m_settings) {}

    CAppSettings m_settings;
    CTrackItem m_track;
};
} // namespace

TEST_F(Id3v1TagTest, FieldsSitAtTheirOffsetsWithTheTrackTitle) {
    m_track.m_strFileTitle = "Intro take 2";
    m_track.m_strTitle = "Intro";
    m_track.m_strArtist = "Abba";
    m_track.m_strAlbum = "Gold";
    m_track.m_strYear = "1992";
    m_track.m_strComment = "remaster";
    m_track.m_nIndex = 2;
    m_track.m_nGenre = 81; // Pop, genre number 13

    const std::string expected = "TAG" + Field("Intro", 30) + Field("Abba", 30) +
                                 Field("Gold", 30) + "1992" + Field("remaster", 28) +
                                 std::string("\0\3\15", 3);
    EXPECT_EQ(AsText(CId3v1Tag::BuildId3v1Tag(m_track)), expected);
    // A track an album left without a title keeps its WAV file's name.
    m_track.m_strTitle.clear();
    EXPECT_EQ(AsText(CId3v1Tag::BuildId3v1Tag(m_track)).substr(3, 30), Field("Intro take 2", 30));

    // Empty texts leave only the marker, the track and no genre.
    CTrackItem empty(m_settings);
    empty.m_strTitle.clear();
    empty.m_nGenre = 0;
    EXPECT_EQ(AsText(CId3v1Tag::BuildId3v1Tag(empty)), "TAG" + std::string(123, '\0') + "\1\xFF");
}

TEST_F(Id3v1TagTest, LongTextsAreCutToTheirFieldsWithoutSpillingOver) {
    m_track.m_strTitle = std::string(30, 't') + "0123456789";
    m_track.m_strArtist = std::string(30, 'a'); // fills the field: no terminating zero
    m_track.m_strYear = "19999";
    m_track.m_strComment = std::string(29, 'c');
    m_track.m_nIndex = 0;

    const CId3v1Tag::Bytes tag = CId3v1Tag::BuildId3v1Tag(m_track);
    const std::string text = AsText(tag);
    EXPECT_EQ(text.substr(3, 30), std::string(30, 't'));
    EXPECT_EQ(text.substr(33, 30), std::string(30, 'a'));
    EXPECT_EQ(text.substr(63, 30), std::string(30, '\0'));
    EXPECT_EQ(text.substr(93, 4), "1999");
    EXPECT_EQ(text.substr(97, 28), std::string(28, 'c'));
    EXPECT_EQ(tag[125], 0);
    EXPECT_EQ(tag[126], 1);

    // Fields are cut after the conversion to Latin-1, so no character is split.
    m_track.m_strArtist = std::string(29, 'a') + "\xC3\xA9" + "z"; // 29 + é + z
    m_track.m_strAlbum = std::string(29, 'b') + "\xE2\x82\xAC";    // 29 + euro
    const std::string converted = AsText(CId3v1Tag::BuildId3v1Tag(m_track));
    EXPECT_EQ(converted.substr(33, 30), std::string(29, 'a') + "\xE9");
    EXPECT_EQ(converted.substr(63, 30), std::string(29, 'b') + "?");
}

TEST_F(Id3v1TagTest, TrackByteWrapsAfter255AndUnknownGenreRowsMeanNone) {
    const std::pair<unsigned, unsigned> cases[] = {{0, 1}, {254, 255}, {255, 0}, {256, 1}};
    for (const auto& [index, trackByte] : cases) {
        m_track.m_nIndex = index;
        EXPECT_EQ(CId3v1Tag::BuildId3v1Tag(m_track)[126], trackByte) << "index " << index;
    }
    m_track.m_nGenre = 126; // Vocal
    EXPECT_EQ(CId3v1Tag::BuildId3v1Tag(m_track)[127], 28);
    m_track.m_nGenre = 127;
    EXPECT_EQ(CId3v1Tag::BuildId3v1Tag(m_track)[127], 255);
}

TEST(Id3v1Latin1Test, KeepsLatin1AndMarksEverythingElseWithOneQuestionMark) {
    EXPECT_EQ(CId3v1Tag::ToLatin1("Caf\xC3\xA9 \xC3\xBF"), "Caf\xE9 \xFF");
    EXPECT_EQ(CId3v1Tag::ToLatin1("5 \xE2\x82\xAC"), "5 ?");   // euro sign
    EXPECT_EQ(CId3v1Tag::ToLatin1("\xF0\x9F\x8E\xB5!"), "?!"); // beyond the BMP
    EXPECT_EQ(CId3v1Tag::ToLatin1("a\xFF-\x80-"), "a?-?-");    // stray bytes
    EXPECT_EQ(CId3v1Tag::ToLatin1("x\xE2\x82"), "x?");         // cut-off sequence
    EXPECT_EQ(CId3v1Tag::ToLatin1("\xE2\x82x"), "?x");         // broken sequence
    EXPECT_EQ(CId3v1Tag::ToLatin1("\xC0\xAF"), "??");          // overlong slash
    EXPECT_EQ(CId3v1Tag::ToLatin1("\xED\xA0\x80"), "???");     // surrogate
    EXPECT_EQ(CId3v1Tag::ToLatin1(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST_F(Id3v1TagTest, WriteAppendsTheTagWithOneWrite) {
    CTempDir dir;
    m_track.m_strTitle = "Intro";
    std::FILE* stream = std::fopen(dir.File("a.mp3").c_str(), "wb");
    ASSERT_NE(stream, nullptr);
    std::fputs("frames", stream);
    EXPECT_TRUE(CId3v1Tag::WriteId3v1Tag(m_track, stream));
    std::fclose(stream);

    EXPECT_EQ(dir.ReadFile("a.mp3"), "frames" + AsText(CId3v1Tag::BuildId3v1Tag(m_track)));
    EXPECT_FALSE(CId3v1Tag::WriteId3v1Tag(m_track, nullptr));
}
