// Arbitrary bytes as a query reply: every line the match parser takes yields a category
// without blanks and a disc ID of eight characters, and the reply code stays in range.
#include "freedb/protocol/CddbReplyParser.h"
#include "freedb/protocol/TextLines.h"
#include "freedb/service/AlbumInfo.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    CTextLines lines(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string line;
    while (lines.ReadLine(line)) {
        if (CCddbReplyParser::ParseCode(line) > 999)
            std::abort();
        CAlbumInfo album;
        if (!CCddbReplyParser::ParseMatch(line, album))
            continue;
        if (album.GetStoredDiscId().size() != 8 ||
            album.GetCategory().find(' ') != std::string::npos)
            std::abort();
    }
    return 0;
}
