// Arbitrary bytes as a search result page, and as the words of a search: the page
// gives at most the bounded number of albums, each without tracks, and no words ever
// put a line break or blank into the request path.
#include "freedb/protocol/WebSearchPage.h"
#include "freedb/service/AlbumList.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CAlbumList results;
    const size_t found = CWebSearchPage::ParsePageText(text, results);
    if (found != results.GetCount() || found > CWebSearchPage::kMaxResults)
        std::abort();
    for (size_t i = 0; i < found; ++i) {
        const CAlbumInfo& album = results.GetAt(i);
        if (album.GetTrackCount() != 0 || !album.IsFilled())
            std::abort();
    }
    (void)CWebSearchPage::SummaryLogLine(found);

    CWebSearchPage::SRequest request;
    request.m_strWords.assign(text.substr(0, 4096));
    request.m_bInArtists = size % 2 == 0;
    request.m_bInTracks = true;
    const std::string path = CWebSearchPage::BuildRequestPath(request);
    if (path.find_first_of(std::string_view(" \r\n\0", 4)) != std::string::npos)
        std::abort();
    return 0;
}
