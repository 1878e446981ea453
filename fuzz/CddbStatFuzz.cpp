// Arbitrary bytes as a "stat" reply: reading it never fails, and a figure changes only
// on a line that starts with its key.
#include "freedb/protocol/CddbReplyParser.h"
#include "freedb/protocol/ServerStats.h"
#include "freedb/protocol/TextLines.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    CTextLines lines(std::string_view(reinterpret_cast<const char*>(data), size));
    CServerStats stats;
    stats.m_nMaxUsers = 12345;
    std::string line;
    bool maxUsersLine = false;
    while (lines.ReadLine(line)) {
        maxUsersLine = maxUsersLine || line.rfind("max users:", 0) == 0;
        CCddbReplyParser::ParseStatLine(line, stats);
    }
    if (!maxUsersLine && stats.m_nMaxUsers != 12345)
        std::abort();
    return 0;
}
