#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class CAlbumList;

// The word search of the FreeDB web site, without its transport: the request path of
// a search and the picking of results out of the returned HTML page. The HTTP client
// sends the path to kWebSearchHost and feeds the page lines here; results are albums
// known only by category, disc ID, artist and title. A page parser lives in the thread
// that reads the page.
//
// Result lines of a page look like this (the second is the small-print line for a
// further entry of the album above it, in another category):
//
//   <tr><td><a href="http://gnudb.org/freedb_search_fmt.php?cat=rock&id=2a0c4403">Some Artist /
//   Some Album</a></td></tr> <tr><td><a
//   href="http://gnudb.org/freedb_search_fmt.php?cat=misc&id=2a0c4404"><font
//   size=-1>misc</font></a></td></tr>
class CWebSearchPage {
public:
    // The one fixed host of the search: connected to, named in the Host header and
    // part of every result link.
    static constexpr const char* kWebSearchHost = "gnudb.org";
    static constexpr const char* kWebSearchPort = "80";
    static constexpr unsigned kWebSearchTimeout = 30;
    // A page that never ends must not grow the results without end.
    static constexpr std::size_t kMaxResults = 10000;

    // What to search: the words as typed and the fields to search them in.
    struct SRequest {
        std::string m_strWords;
        bool m_bInArtists = false;
        bool m_bInTitles = false;
        bool m_bInTracks = false;
        bool m_bInOther = false;

        // Without any field nothing is sent.
        bool HasFields() const { return m_bInArtists || m_bInTitles || m_bInTracks || m_bInOther; }
    };

    // One album found.
    struct SResult {
        std::string m_strCategory;
        std::string m_strDiscId;
        std::string m_strArtist;
        std::string m_strTitle;
    };

    // Delivers the next page line; false when the page has no more.
    using LineReader = std::function<bool(std::string&)>;

    // "/freedb_search.php?words=" + the words with blanks as "+" + the fixed options and
    // one "&fields=" per chosen field + "&allcats=YES". Nothing else is encoded, except
    // that control characters (which a one-line search box cannot hold, and which would
    // break the request line) also become "+".
    static std::string BuildRequestPath(const SRequest& request);
    // The text a result line holds: "http://" + host + "/freedb_search_fmt.php?cat=".
    static std::string ResultLinkMarker(const std::string& strHost = kWebSearchHost);

    // A page of the web site on `strHost` (without port), which names itself in its
    // result links.
    explicit CWebSearchPage(const std::string& strHost = kWebSearchHost)
        : m_strMarker(ResultLinkMarker(strHost)) {}

    // The result of one page line, or none for a line without a well-formed result
    // link; only the first link of a line counts. A small-print line takes the artist
    // and title of the result before it.
    std::optional<SResult> ParseLine(std::string_view line);
    // Feeds one line: a result is appended to `results`. Answers false when the page is
    // over: the line is exactly "</html>", or this page has given kMaxResults results.
    bool FeedLine(std::string_view line, CAlbumList& results);
    // Results appended by this page so far.
    std::size_t GetResultCount() const { return m_nResults; }

    // Reads a whole page (until `readLine` fails or the page is over) into `results`,
    // which is not emptied; answers the number of results appended.
    static std::size_t ParsePage(const LineReader& readLine, CAlbumList& results);
    // The same over a text, split at line feeds and trimmed as the connection would.
    static std::size_t ParsePageText(std::string_view text, CAlbumList& results);

    // Appends a result as an album with category, disc ID, artist and title and no tracks.
    static void AppendResult(const SResult& result, CAlbumList& results);
    // The closing log line for the number of albums the results hold after a search.
    static std::string SummaryLogLine(std::size_t nAlbums);

private:
    std::string m_strMarker;
    std::string m_strPreviousArtist;
    std::string m_strPreviousTitle;
    std::size_t m_nResults = 0;
};
