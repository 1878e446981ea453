#include "cli/HelloRefusal.h"

#include "freedb/protocol/CddbClient.h"

#include <string_view>

void CHelloRefusal::Notice(const std::string& strLine) {
    const std::string marker = "Error " + std::to_string(CCddbClient::kErrorHelloRefused) + ": " +
                               CCddbClient::kHelloRefused;
    const std::size_t found = strLine.find(marker);
    if (found != std::string::npos)
        m_strReply = strLine.substr(found + marker.size());
}

std::string CHelloRefusal::Message() const {
    return "wavsmith-cli: the server refused this program's hello (it answered \"" + m_strReply +
           "\"), so it answers no lookup from here.\n"
           "Choose another server with --server HOST[:PORT], or look albums up on MusicBrainz "
           "with --server musicbrainz.\n";
}
