#include "freedb/protocol/XmcdParser.h"

#include "freedb/service/AlbumInfo.h"
#include "platform/Text.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
struct SParse {
    CAlbumInfo m_album;
    std::vector<std::string> m_log;
    bool m_bResult = false;

    explicit SParse(const std::vector<std::string>& lines, CAlbumInfo album = CAlbumInfo())
        : m_album(std::move(album)) {
        m_bResult = CXmcdParser::ParseXmcd(
            lines, m_album, [this](std::string_view line) { m_log.emplace_back(line); });
    }
};
} // namespace

TEST(XmcdParserRecordTest, ReadsTheWholeSampleRecord) {
    CAlbumInfo album;
    ASSERT_TRUE(CXmcdParser::ParseXmcdText(ReadBeside(__FILE__, "data", "xmcd_record.txt"), album));
    ASSERT_EQ(album.GetTrackCount(), 3u);
    EXPECT_EQ(album.GetTracks()[0].GetFrameOffset(), 150);
    EXPECT_EQ(album.GetTracks()[1].GetFrameOffset(), 21052);
    EXPECT_EQ(album.GetTracks()[2].GetFrameOffset(), 41000);
    EXPECT_EQ(album.GetDiscLength(), 3139u);
    EXPECT_EQ(album.GetArtist(), "Some Artist");
    EXPECT_EQ(album.GetTitle(), "A Rather Long Album Title That The Server Wraps Over Two Lines");
    EXPECT_EQ(album.GetYear(), "1999");
    EXPECT_EQ(album.GetTracks()[0].GetTitle(), "Opening");
    EXPECT_EQ(album.GetTracks()[1].GetTitle(), "Middle Piece\nPart Two");
    EXPECT_EQ(album.GetTracks()[2].GetTitle(), "Closing \\ Coda\tEnd");
    EXPECT_EQ(album.GetTracks()[0].GetExtra(), "Recorded live in Vienna");
    EXPECT_EQ(album.GetTracks()[1].GetExtra(), "");
    // DISCID, DGENRE, EXTD and PLAYORDER are not read; nothing after "." is.
    EXPECT_EQ(album.GetStoredDiscId(), "");
    EXPECT_EQ(album.GetCategory(), "");
    EXPECT_FALSE(album.IsCompilation());
    EXPECT_FALSE(album.GetTracks()[0].IsChanged());
}

TEST(XmcdParserRecordTest, AddsToWhatAQueryMatchGave) {
    CAlbumInfo match;
    match.SetArtist("Query Artist");
    match.SetTitle("Query Title");
    match.SetCategory("rock");
    match.SetDiscId("2a0c4403");
    match.GetTrack(0).SetTitle("Already ");
    SParse parse({"# xmcd", "DTITLE=Record Artist / Record Title", "TTITLE0=there", "."}, match);
    EXPECT_TRUE(parse.m_bResult);
    EXPECT_EQ(parse.m_album.GetCategory(), "rock");
    EXPECT_EQ(parse.m_album.GetStoredDiscId(), "2a0c4403");
    EXPECT_EQ(parse.m_album.GetArtist(), "Record Artist");
    EXPECT_EQ(parse.m_album.GetTitle(), "Record Title");
    EXPECT_EQ(parse.m_album.GetTracks()[0].GetTitle(), "Already there");
}

TEST(XmcdParserRecordTest, RecordEndsAtDotFilenameOrWhenTheReadFailsAndNeedsItsHeader) {
    SParse dot({"# xmcd", "TTITLE0=a", ".", "TTITLE1=b"});
    EXPECT_TRUE(dot.m_bResult);
    EXPECT_EQ(dot.m_album.GetTrackCount(), 1u);

    SParse separator({"# xmcd", "TTITLE0=a", "#FILENAME=rock/2a0c4403", "TTITLE1=b"});
    EXPECT_TRUE(separator.m_bResult);
    EXPECT_EQ(separator.m_album.GetTrackCount(), 1u);

    // A record cut short is still applied, split included.
    SParse cut({"# xmcd", "DTITLE=A / B", "TTITLE0=x"});
    EXPECT_TRUE(cut.m_bResult);
    EXPECT_EQ(cut.m_album.GetArtist(), "A");

    // An empty record, or one without its header, fails; the latter is still applied.
    SParse empty({"."});
    EXPECT_FALSE(empty.m_bResult);
    EXPECT_TRUE(empty.m_album.IsFilled());
    EXPECT_EQ(empty.m_album.GetArtist(), "");
    EXPECT_EQ(empty.m_album.GetTitle(), "");

    SParse headless({"DTITLE=A / B", "DYEAR=2001", "TTITLE0=x", "."});
    EXPECT_FALSE(headless.m_bResult);
    EXPECT_EQ(headless.m_album.GetArtist(), "A");
    EXPECT_EQ(headless.m_album.GetYear(), "2001");
    EXPECT_EQ(headless.m_album.GetTracks()[0].GetTitle(), "x");
}

TEST(XmcdParserHeaderTest, AnOffsetListEndsAtTheFirstUnreadableOffsetOrItsBound) {
    // A disc length right after the offsets ends the list unread.
    SParse early({"# Track frame offsets:", "# 150", "# Disc length: 3139 seconds", "."});
    EXPECT_EQ(early.m_album.GetTrackCount(), 1u);
    EXPECT_EQ(early.m_album.GetDiscLength(), 0u);

    SParse unreadable({"# Track frame offsets:", "# 150", "# x 300", "# 450", "#600",
                       "# Disc length: 99 seconds", "."});
    ASSERT_EQ(unreadable.m_album.GetTrackCount(), 1u);
    EXPECT_EQ(unreadable.m_album.GetDiscLength(), 99u);

    // Without a blank the number still reads, as the scan pattern's blank matches none.
    SParse tight({"# Track frame offsets:", "#150", "#\t 300", "."});
    ASSERT_EQ(tight.m_album.GetTrackCount(), 2u);
    EXPECT_EQ(tight.m_album.GetTracks()[1].GetFrameOffset(), 300);

    // The list is bounded.
    std::vector<std::string> lines = {"# Track frame offsets:"};
    for (size_t i = 0; i < CXmcdParser::kMaxTracks + 50; ++i)
        lines.push_back("# " + std::to_string(150 + i));
    lines.push_back(".");
    SParse parse(lines);
    EXPECT_EQ(parse.m_album.GetTrackCount(), CXmcdParser::kMaxTracks);
}

TEST(XmcdParserKeysTest, TrackKeysValuesAndRepeatedLinesJoin) {
    SParse parse({"# xmcd", "TTITLE10=ten", "TTITLE7=seven", "EXTT10=extra ten", "TTITLE0=a=b",
                  "TTITLE1=", "TTITLEx=no number", "TTITLE=none", "EXTT=none", "TTITLE3=Love",
                  "TTITLE3=Love", "EXTT3=a", "EXTT3=b", "DYEAR=1998", "DYEAR=1999", "DTITLE=x=y",
                  "."});
    EXPECT_TRUE(parse.m_bResult);
    const std::vector<CAlbumTrack>& tracks = parse.m_album.GetTracks();
    ASSERT_EQ(tracks.size(), 11u);
    EXPECT_EQ(tracks[10].GetTitle(), "ten");
    EXPECT_EQ(tracks[7].GetTitle(), "seven");
    EXPECT_EQ(tracks[10].GetExtra(), "extra ten");
    // The value is everything after the first "=".
    EXPECT_EQ(tracks[0].GetTitle(), "a=b");
    EXPECT_EQ(tracks[1].GetTitle(), "");
    // Several lines of one key join; the year is replaced.
    EXPECT_EQ(tracks[3].GetTitle(), "LoveLove");
    EXPECT_EQ(tracks[3].GetExtra(), "ab");
    EXPECT_FALSE(tracks[3].IsChanged());
    EXPECT_EQ(parse.m_album.GetYear(), "1999");
    // A DTITLE without " / " gives both the whole text.
    EXPECT_EQ(parse.m_album.GetArtist(), "x=y");
    EXPECT_EQ(parse.m_album.GetTitle(), "x=y");

    // Two DTITLE lines join without a separator: the first loses its trailing blank to the
    // line reader's trimming, the blank right after the "=" of the second stays.
    CAlbumInfo album;
    CXmcdParser::ParseXmcdText("# xmcd\nDTITLE=Some Artist / Long \r\nDTITLE= Title\r\n.\r\n",
                               album);
    EXPECT_EQ(album.GetArtist(), "Some Artist");
    EXPECT_EQ(album.GetTitle(), "Long Title");
}

TEST(XmcdParserKeysTest, LongLinesAreAcceptedAndFieldsStopGrowingAtTheCap) {
    const std::string longText(100000, 'x');
    SParse parse({"# xmcd", "TTITLE0=" + longText, "DTITLE=" + longText, "."});
    EXPECT_EQ(parse.m_album.GetTracks()[0].GetTitle(), longText);
    EXPECT_EQ(parse.m_album.GetTitle(), longText);

    std::vector<std::string> endless = {"# xmcd"};
    for (int i = 0; i < 10; ++i)
        endless.push_back("TTITLE0=" + longText);
    endless.push_back(".");
    SParse capped(endless);
    EXPECT_LE(capped.m_album.GetTracks()[0].GetTitle().size(), CXmcdParser::kMaxFieldBytes);
    EXPECT_EQ(capped.m_album.GetTracks()[0].GetTitle().size(), 2 * longText.size());
}

// The reader undoes the escapes in one pass; it must agree with the rule as written,
// three replacements in order, on every short mix of backslashes, letters and text.
TEST(XmcdParserEscapesTest, OnePassAgreesWithTheThreeReplacementsInOrder) {
    const char alphabet[] = {'\\', 'n', 't', 'x'};
    for (int length = 0; length <= 7; ++length) {
        int combinations = 1;
        for (int i = 0; i < length; ++i)
            combinations *= 4;
        for (int code = 0; code < combinations; ++code) {
            std::string text;
            for (int i = 0, rest = code; i < length; ++i, rest /= 4)
                text += alphabet[rest % 4];
            std::string expected = text;
            CText::ReplaceAll(expected, "\\n", "\n");
            CText::ReplaceAll(expected, "\\t", "\t");
            CText::ReplaceAll(expected, "\\\\", "\\");
            ASSERT_EQ(CXmcdParser::UndoEscapes(text), expected) << text;
        }
    }
}

TEST(XmcdParserFailureTest, MalformedKeysRejectTheRecordAsItIs) {
    CAlbumInfo withYear;
    withYear.SetYear("1970");
    SParse year(
        {"# xmcd", "DTITLE=A / B", "TTITLE0=t / u", "TTITLE1=v / w", "DYEAR", "TTITLE2=x", "."},
        withYear);
    EXPECT_FALSE(year.m_bResult);
    // The year stays, no DTITLE split and no compilation split took place.
    EXPECT_FALSE(year.m_album.IsFilled());
    year.m_album.SetCategory("rock");
    EXPECT_EQ(year.m_album.GetYear(), "1970");
    EXPECT_EQ(year.m_album.GetArtist(), "");
    EXPECT_EQ(year.m_album.GetTracks()[0].GetTitle(), "t / u");
    EXPECT_FALSE(year.m_album.IsCompilation());
    EXPECT_EQ(year.m_album.GetTrackCount(), 2u);

    SParse title({"# xmcd", "TTITLE0=a", "TTITLE1", "TTITLE2=c", "."});
    EXPECT_FALSE(title.m_bResult);
    EXPECT_EQ(title.m_album.GetTrackCount(), 1u);

    SParse extra({"# xmcd", "EXTT0 no equals", "."});
    EXPECT_FALSE(extra.m_bResult);

    // DTITLE without "=" adds nothing but is no error.
    SParse dtitle({"# xmcd", "DTITLE", "DTITLE=A / B", "."});
    EXPECT_TRUE(dtitle.m_bResult);
    EXPECT_EQ(dtitle.m_album.GetArtist(), "A");

    // Fed line by line, the rejection shows at its line and the record still ends at ".".
    CAlbumInfo album;
    CXmcdParser parser(album);
    for (const char* line : {"# xmcd", "DTITLE=A / B"})
        EXPECT_EQ(parser.FeedLine(line), CXmcdParser::EStep::kMore);
    EXPECT_EQ(parser.FeedLine("DYEAR"), CXmcdParser::EStep::kRejected);
    EXPECT_EQ(parser.FeedLine("."), CXmcdParser::EStep::kEnd);
    EXPECT_TRUE(parser.Finish());
    EXPECT_EQ(album.GetTitle(), "B");
}

TEST(XmcdParserCompilationTest, SlashSplitsQuietlyDashSplitsWithALogLine) {
    SParse slash({"# xmcd", "DTITLE=Various / Hits", "TTITLE0=A / x", "TTITLE1=B / y", "."});
    EXPECT_EQ(slash.m_album.GetTracks()[1].GetArtist(), "B");
    EXPECT_TRUE(slash.m_log.empty());

    CAlbumInfo match;
    match.SetDiscId("0a0b0c0d");
    SParse dash({"# xmcd", "TTITLE0=A - x", "TTITLE1=B - y", "."}, match);
    EXPECT_TRUE(dash.m_album.IsCompilation());
    EXPECT_EQ(dash.m_album.GetTracks()[0].GetArtist(), "A");
    EXPECT_EQ(dash.m_album.GetTracks()[0].GetTitle(), "x");
    ASSERT_EQ(dash.m_log.size(), 1u);
    EXPECT_EQ(dash.m_log[0],
              "[INF]\tAlbum 0a0b0c0d is parsed as compilation with delimiter \"-\"\r\n");
}
