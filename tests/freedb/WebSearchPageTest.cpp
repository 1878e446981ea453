#include "freedb/protocol/WebSearchPage.h"

#include "freedb/service/AlbumList.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <string>

namespace {
std::string Link(const std::string& category, const std::string& id, const std::string& text) {
    return "<tr><td><a href=\"http://" + std::string(CWebSearchPage::kWebSearchHost) +
           "/freedb_search_fmt.php?cat=" + category + "&id=" + id + "\">" + text + "</a></td></tr>";
}
} // namespace

TEST(WebSearchRequestTest, TheChosenFieldsAndTheWordsWithBlanksAsPlusAndNoLineBreaks) {
    CWebSearchPage::SRequest request;
    request.m_strWords = "words";
    EXPECT_FALSE(request.HasFields());
    request.m_strWords = "a&b  c\xC3\xA9";
    request.m_bInArtists = request.m_bInTitles = request.m_bInTracks = request.m_bInOther = true;
    EXPECT_EQ(CWebSearchPage::BuildRequestPath(request),
              "/freedb_search.php?words=a&b++c\xC3\xA9&allfields=NO&grouping=none"
              "&fields=artist&fields=title&fields=track&fields=rest&allcats=YES");

    request.m_bInArtists = request.m_bInTitles = request.m_bInOther = false;
    request.m_strWords = "a\r\nHost: evil\tx";
    EXPECT_EQ(CWebSearchPage::BuildRequestPath(request),
              "/freedb_search.php?words=a++Host:+evil+x&allfields=NO&grouping=none"
              "&fields=track&allcats=YES");
}

TEST(WebSearchPageTest, ResultsOfTheSamplePage) {
    CAlbumList results;
    EXPECT_EQ(CWebSearchPage::ParsePageText(ReadBeside(__FILE__, "data", "web_search_page.html"),
                                            results),
              6u);
    ASSERT_EQ(results.GetCount(), 6u);

    const CAlbumInfo& first = results.GetAt(0);
    EXPECT_EQ(first.GetCategory(), "rock");
    EXPECT_EQ(first.GetStoredDiscId(), "2a0c4403");
    EXPECT_EQ(first.GetArtist(), "Some Artist");
    EXPECT_EQ(first.GetTitle(), "Some Album");
    EXPECT_EQ(first.GetTrackCount(), 0u);

    // The small-print line: its own category and ID, the album above's names.
    const CAlbumInfo& further = results.GetAt(1);
    EXPECT_EQ(further.GetCategory(), "misc");
    EXPECT_EQ(further.GetStoredDiscId(), "2a0c4404");
    EXPECT_EQ(further.GetArtist(), "Some Artist");
    EXPECT_EQ(further.GetTitle(), "Some Album");

    EXPECT_EQ(results.GetAt(2).GetArtist(), "Untitled Session");
    EXPECT_EQ(results.GetAt(2).GetTitle(), "Untitled Session");
    // "Artist / " with nothing after: the title is the artist.
    EXPECT_EQ(results.GetAt(3).GetArtist(), "Lone Artist");
    EXPECT_EQ(results.GetAt(3).GetTitle(), "Lone Artist");
    // Two links in one line: only the first counts.
    EXPECT_EQ(results.GetAt(4).GetCategory(), "blues");
    EXPECT_EQ(results.GetAt(4).GetArtist(), "First");
    // Malformed links and other hosts are skipped; the next good one splits at its
    // first " / "; nothing after </html> is read.
    EXPECT_EQ(results.GetAt(5).GetCategory(), "classical");
    EXPECT_EQ(results.GetAt(5).GetArtist(), "Composer");
    EXPECT_EQ(results.GetAt(5).GetTitle(), "Symphony / No. 5");
}

TEST(WebSearchPageTest, ResultsAreAddedToTheListAndAnEarlyEndKeepsThem) {
    CAlbumList results;
    CAlbumInfo earlier;
    earlier.SetTitle("earlier");
    results.AddCopy(earlier);
    // No </html>: the reader simply runs out.
    const std::string page = Link("rock", "01020304", "X / Y") + "\n" +
                             Link("misc", "01020305", "<font size=-1>misc</font>");
    EXPECT_EQ(CWebSearchPage::ParsePageText(page, results), 2u);
    ASSERT_EQ(results.GetCount(), 3u);
    EXPECT_EQ(results.GetAt(0).GetTitle(), "earlier");
    EXPECT_EQ(results.GetAt(2).GetArtist(), "X");
    EXPECT_EQ(results.GetAt(2).GetTitle(), "Y");
    EXPECT_EQ(results.GetAt(2).GetStoredDiscId(), "01020305");
}

TEST(WebSearchPageTest, MalformedLinesGiveNothingAndSmallPrintFirstTakesEmptyNames) {
    CWebSearchPage page;
    const std::string marker = CWebSearchPage::ResultLinkMarker();
    for (const std::string& line :
         {std::string(), marker, marker + "rock&id=1\"", marker + "rock&id=1\">t"})
        EXPECT_FALSE(page.ParseLine(line).has_value()) << line;
    const auto bare = page.ParseLine(marker + "&id=\"></a>");
    ASSERT_TRUE(bare.has_value());
    EXPECT_EQ(bare->m_strCategory, "");
    EXPECT_EQ(bare->m_strDiscId, "");
    const auto small = page.ParseLine(Link("misc", "01020305", "<font size=-1>misc</font>"));
    ASSERT_TRUE(small.has_value());
    EXPECT_EQ(small->m_strArtist, "");
    EXPECT_EQ(small->m_strCategory, "misc");
}

TEST(WebSearchPageTest, EndsAtHtmlCloseOrAtTheResultCap) {
    CAlbumList results;
    CWebSearchPage page;
    EXPECT_TRUE(page.FeedLine("<html>", results));
    EXPECT_FALSE(page.FeedLine("</html>", results));

    CWebSearchPage endless;
    const std::string line = Link("rock", "01020304", "A / B");
    size_t fed = 0;
    while (endless.FeedLine(line, results) && fed < CWebSearchPage::kMaxResults + 10)
        ++fed;
    EXPECT_EQ(results.GetCount(), CWebSearchPage::kMaxResults);
    EXPECT_FALSE(endless.FeedLine(line, results));
    EXPECT_EQ(results.GetCount(), CWebSearchPage::kMaxResults);
}
