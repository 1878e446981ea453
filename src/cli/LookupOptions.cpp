#include "cli/LookupOptions.h"

#include "cli/ArgParser.h"

#include <climits>

namespace {
CArgParser::ValueHandler Number(const char* pName, unsigned nMax, std::optional<unsigned>& target) {
    return [pName, nMax, &target](const std::string& value) {
        unsigned number = 0;
        std::string error = CArgParser::ParseNumber(pName, value, 1, nMax, number);
        if (error.empty())
            target = number;
        return error;
    };
}
} // namespace

void CLookupOptions::Register(CArgParser& parser) {
    parser.AddValue("--select", Number("--select", INT_MAX, m_nSelect));
    parser.AddValue("--freedb", Number("--freedb", INT_MAX, m_nFreedb));
    parser.AddValue("--threads", Number("--threads", 20, m_nThreads));
}

const char* CLookupOptions::UsageText() {
    return R"(FreeDB lookup (lookup, encode --freedb; the connection options apply):
  --select N            lookup: apply album N to the list and print the list
  --freedb N            encode: look the list up, apply album N, then encode
  --threads N           Connections that fetch track lists at once, 1 to 20
                        (default: "MaxThreadsCount" of the profile)
)";
}
