#pragma once

#include <string>
#include <string_view>

class CAlbumInfo;
class CServerStats;

// The reading of CDDB reply lines, apart from the sending: every function takes one
// line as the connection delivered it (no line end, trimmed).
class CCddbReplyParser {
public:
    // The number in the first three characters of a reply line; 0 when they hold none.
    //   200 rock 0a0b0c0d Some Artist / Some Album
    static unsigned ParseCode(std::string_view line);

    // A match of a query reply: category, disc ID of exactly eight characters and the
    // title text, split into artist and title at the first " / " (both the whole text
    // without one). False, with the album untouched, for a line of another form.
    //   211 Found inexact matches, list follows (until terminating `.')
    //   rock 0c025603 Test Artist / Test Album
    //   misc 0c025603 Various / Mixed Tape
    //   .
    static bool ParseMatch(std::string_view line, CAlbumInfo& album);

    // One line of a "stat" reply: the figure whose key starts the line is read.
    //   210 OK, status information follows (until terminating `.')
    //   Server status:
    //       current proto: 6
    //       max proto: 6
    //       interface: cddbp
    //       current users: 3
    //       max users: 100
    //   Database entries: 3
    //   Database entries by category:
    //       blues: 0
    //       jazz: 1
    //       rock: 1
    //   .
    static void ParseStatLine(std::string_view line, CServerStats& stats);
};
