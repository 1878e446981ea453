#include "freedb/protocol/WebSearchPage.h"

#include "freedb/protocol/TextLines.h"
#include "freedb/service/AlbumInfo.h"
#include "freedb/service/AlbumList.h"
#include "platform/Text.h"

#include <algorithm>

std::string CWebSearchPage::BuildRequestPath(const SRequest& request) {
    std::string words = request.m_strWords;
    std::replace_if(
        words.begin(), words.end(),
        [](char c) { return c == ' ' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, '+');
    std::string path = "/freedb_search.php?words=" + words + "&allfields=NO&grouping=none";
    if (request.m_bInArtists)
        path += "&fields=artist";
    if (request.m_bInTitles)
        path += "&fields=title";
    if (request.m_bInTracks)
        path += "&fields=track";
    if (request.m_bInOther)
        path += "&fields=rest";
    path += "&allcats=YES";
    return path;
}

std::string CWebSearchPage::ResultLinkMarker(const std::string& strHost) {
    return "http://" + strHost + "/freedb_search_fmt.php?cat=";
}

std::optional<CWebSearchPage::SResult> CWebSearchPage::ParseLine(std::string_view line) {
    const std::size_t marker = line.find(m_strMarker);
    if (marker == std::string_view::npos)
        return std::nullopt;
    std::string_view rest = line.substr(marker + m_strMarker.size());

    const std::size_t id = rest.find("&id=");
    if (id == std::string_view::npos)
        return std::nullopt;
    SResult result;
    result.m_strCategory = rest.substr(0, id);
    rest = rest.substr(id + 4);

    const std::size_t close = rest.find("\">");
    if (close == std::string_view::npos)
        return std::nullopt;
    result.m_strDiscId = rest.substr(0, close);
    rest = rest.substr(close + 2);

    const std::size_t end = rest.find("</a>");
    if (end == std::string_view::npos)
        return std::nullopt;
    const std::string_view text = rest.substr(0, end);

    const std::size_t slash = text.find(" / ");
    if (slash == std::string_view::npos) {
        result.m_strArtist = text;
        result.m_strTitle = text;
    } else {
        result.m_strArtist = text.substr(0, slash);
        result.m_strTitle = text.substr(slash + 3);
        if (result.m_strTitle.empty())
            result.m_strTitle = result.m_strArtist;
    }
    if (text.find("<font size=-1>") != std::string_view::npos) {
        result.m_strArtist = m_strPreviousArtist;
        result.m_strTitle = m_strPreviousTitle;
    }
    m_strPreviousArtist = result.m_strArtist;
    m_strPreviousTitle = result.m_strTitle;
    return result;
}

bool CWebSearchPage::FeedLine(std::string_view line, CAlbumList& results) {
    if (line == "</html>" || m_nResults >= kMaxResults)
        return false;
    if (const std::optional<SResult> result = ParseLine(line)) {
        AppendResult(*result, results);
        ++m_nResults;
    }
    return m_nResults < kMaxResults;
}

std::size_t CWebSearchPage::ParsePage(const LineReader& readLine, CAlbumList& results) {
    CWebSearchPage page;
    std::string line;
    while (readLine(line) && page.FeedLine(line, results)) {
    }
    return page.GetResultCount();
}

std::size_t CWebSearchPage::ParsePageText(std::string_view text, CAlbumList& results) {
    CTextLines lines(text);
    return ParsePage([&](std::string& line) { return lines.ReadLine(line); }, results);
}

void CWebSearchPage::AppendResult(const SResult& result, CAlbumList& results) {
    auto album = std::make_unique<CAlbumInfo>();
    album->SetArtist(result.m_strArtist);
    album->SetTitle(result.m_strTitle);
    album->SetCategory(result.m_strCategory);
    album->SetDiscId(result.m_strDiscId);
    results.Add(std::move(album));
}

std::string CWebSearchPage::SummaryLogLine(std::size_t nAlbums) {
    if (nAlbums == 0)
        return "[INF]\tNothing found.\r\n";
    if (nAlbums == 1)
        return "[INF]\tFound exact match\r\n";
    return CText::Format("[INF]\tFound %zu matches.\r\n", nAlbums);
}
