// Arbitrary bytes as a "sites" reply, read as the client reads it: the code of the first
// line, then one server record per line up to ".". No record holds a line break.
#include "freedb/protocol/CddbReplyParser.h"
#include "freedb/protocol/TextLines.h"
#include "freedb/service/FreeDBSettings.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    CTextLines lines(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string line;
    if (!lines.ReadLine(line) || CCddbReplyParser::ParseCode(line) != 210)
        return 0;
    CFreeDBSettings settings("/nonexistent/CDPLAYER.INI");
    settings.ClearSites();
    while (lines.ReadLine(line) && line != ".")
        settings.AddSite(CFreeDBSite(line));
    for (size_t i = 0; i < settings.GetSiteCount(); ++i) {
        if (settings.GetSite(i).m_strLine.find_first_of("\r\n") != std::string::npos)
            std::abort();
    }
    return 0;
}
