#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CAlbumInfo;

// Reads an xmcd record (the body of a "cddb read" reply) into an album: the frame
// offsets and disc length of the comment header, DYEAR, DTITLE, TTITLEn and EXTTn.
// Everything else is read and ignored. Lines come one at a time, without line ends and
// trimmed, as the connection's line reader delivers them; a parser lives in the thread
// that reads the record.
//
// A record as a server sends it (after the "210 rock 2a0c4403 CD database entry
// follows (until terminating `.')" line):
//
//   # xmcd CD database file
//   #
//   # Track frame offsets:
//   #       150
//   #       21052
//   #       41000
//   #
//   # Disc length: 3139 seconds
//   #
//   # Revision: 3
//   # Submitted via: ExactAudioCopy v0.99pb4
//   #
//   DISCID=2a0c4403
//   DTITLE=Some Artist / A Rather Long Album Title That The Server Wr
//   DTITLE=aps Over Two Lines
//   DYEAR=1999
//   DGENRE=Rock
//   TTITLE0=Opening
//   TTITLE1=Middle Piece\nPart Two
//   TTITLE2=Closing
//   EXTD=
//   EXTT0=Recorded live
//   EXTT1=
//   EXTT2=
//   PLAYORDER=
//   .
class CXmcdParser {
public:
    // Receives finished log lines, each ending in "\r\n".
    using LogSink = std::function<void(std::string_view)>;
    // Delivers the next line; false when the connection has no more.
    using LineReader = std::function<bool(std::string&)>;

    enum class EStep {
        kMore,     // the line was taken; feed the next one
        kEnd,      // the record ended ("." or a "#FILENAME=" separator); call Finish
        kRejected, // a malformed DYEAR, TTITLE or EXTT line: the record is refused as it is
    };

    // A server that keeps sending must not grow the album without end: the offset list
    // ends after this many tracks, and a title, extra text or DTITLE stops growing at
    // this many bytes (further pieces are dropped).
    static constexpr std::size_t kMaxTracks = 1000;
    static constexpr std::size_t kMaxFieldBytes = 256 * 1024;

    // Fills `album`, which should be fresh or hold only what a query match gave it:
    // titles and extra texts are added to. `log` may be empty.
    explicit CXmcdParser(CAlbumInfo& album, LogSink log = {});

    EStep FeedLine(std::string_view line);
    // After the last line: the compilation split of the track titles (with its log line
    // for " - "), then artist and title from the DTITLE text. Answers whether the record
    // had its "# xmcd" header.
    bool Finish();

    // Reads lines until the record ends or `readLine` fails, then finishes. False for a
    // rejected record (the album keeps what was read, unsplit) and for a record without
    // header.
    static bool ParseXmcd(const LineReader& readLine, CAlbumInfo& album, const LogSink& log = {});
    // The same over lines already read.
    static bool ParseXmcd(const std::vector<std::string>& lines, CAlbumInfo& album,
                          const LogSink& log = {});
    // The same over a whole text: split at line feeds, each line cleared of carriage
    // returns and trimmed as the connection would deliver it. A last line without line
    // feed is read as well.
    static bool ParseXmcdText(std::string_view text, CAlbumInfo& album, const LogSink& log = {});

    // Undoes the escapes in this order: backslash-n to a line feed, backslash-t to a tab,
    // two backslashes to one.
    static std::string UndoEscapes(std::string_view line);

private:
    // The track number after a TTITLE or EXTT key starting at `pos`: one digit when the
    // character after it is "=", else two. False when there is no digit.
    static bool ReadTrackNumber(std::string_view text, std::size_t pos, std::size_t& number);
    static void AppendCapped(std::string& field, std::string_view value);

    CAlbumInfo& m_album;
    LogSink m_log;
    std::string m_strDTitle;
    // Position of the next frame offset; -1 outside the offset list.
    long long m_nOffsetIndex = -1;
    bool m_bHeader = false;
};
