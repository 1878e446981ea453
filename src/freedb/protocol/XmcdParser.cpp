#include "freedb/protocol/XmcdParser.h"

#include "freedb/protocol/TextLines.h"
#include "freedb/service/AlbumInfo.h"
#include "platform/Text.h"

#include <cstdint>
#include <utility>

namespace {
bool IsScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// What scanf's "%u" reads at `pos`: blanks, an optional sign, decimal digits; the
// value wraps to 32 bits as the C library's conversion does. False without digits.
bool ScanUnsigned(std::string_view text, std::size_t pos, std::uint32_t& value) {
    while (pos < text.size() && IsScanSpace(text[pos]))
        ++pos;
    bool bNegative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        bNegative = text[pos] == '-';
        ++pos;
    }
    if (pos >= text.size() || text[pos] < '0' || text[pos] > '9')
        return false;
    std::uint64_t n = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        if (n <= UINT64_MAX / 10)
            n = n * 10 + static_cast<std::uint64_t>(text[pos] - '0');
        else
            n = UINT64_MAX;
    }
    if (n > UINT32_MAX)
        n = UINT32_MAX;
    value = static_cast<std::uint32_t>(bNegative ? 0 - n : n);
    return true;
}
} // namespace

CXmcdParser::CXmcdParser(CAlbumInfo& album, LogSink log) : m_album(album), m_log(std::move(log)) {}

// One pass that gives what the three replacements in their order give: a backslash
// right before n or t escapes that letter (the letter passes come first, so such a
// backslash never pairs with one before it); the backslashes left in a run then pair up
// from the left, each pair becoming one.
std::string CXmcdParser::UndoEscapes(std::string_view line) {
    std::string text;
    text.reserve(line.size());
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t slash = line.find('\\', pos);
        if (slash == std::string_view::npos) {
            text.append(line.substr(pos));
            break;
        }
        text.append(line.substr(pos, slash - pos));
        std::size_t end = slash;
        while (end < line.size() && line[end] == '\\')
            ++end;
        std::size_t run = end - slash;
        char letter = 0;
        if (end < line.size() && (line[end] == 'n' || line[end] == 't')) {
            letter = line[end] == 'n' ? '\n' : '\t';
            --run;
            ++end;
        }
        text.append((run + 1) / 2, '\\');
        if (letter != 0)
            text += letter;
        pos = end;
    }
    return text;
}

bool CXmcdParser::ReadTrackNumber(std::string_view text, std::size_t pos, std::size_t& number) {
    const std::size_t digits = (pos + 1 < text.size() && text[pos + 1] == '=') ? 1 : 2;
    number = 0;
    std::size_t read = 0;
    for (; read < digits && pos + read < text.size(); ++read) {
        const char c = text[pos + read];
        if (c < '0' || c > '9')
            break;
        number = number * 10 + static_cast<std::size_t>(c - '0');
    }
    return read > 0;
}

void CXmcdParser::AppendCapped(std::string& field, std::string_view value) {
    if (field.size() + value.size() <= kMaxFieldBytes)
        field.append(value);
}

CXmcdParser::EStep CXmcdParser::FeedLine(std::string_view line) {
    if (line == "." || line.starts_with("#FILENAME="))
        return EStep::kEnd;
    const std::string text = UndoEscapes(line);
    const std::size_t equals = text.find('=');
    const std::string_view value = equals == std::string::npos
                                       ? std::string_view()
                                       : std::string_view(text).substr(equals + 1);

    if (text.starts_with("# xmcd")) {
        m_bHeader = true;
    } else if (text.starts_with("#") && m_nOffsetIndex >= 0) {
        std::uint32_t offset = 0;
        if (!ScanUnsigned(text, 1, offset) ||
            static_cast<std::size_t>(m_nOffsetIndex) >= kMaxTracks) {
            m_nOffsetIndex = -1;
            return EStep::kMore;
        }
        m_album.GetTrack(static_cast<std::size_t>(m_nOffsetIndex))
            .SetFrameOffset(static_cast<std::int32_t>(offset));
        ++m_nOffsetIndex;
    } else if (text.starts_with("# Track frame offsets:")) {
        m_nOffsetIndex = 0;
    } else if (text.starts_with("# Disc length:")) {
        std::uint32_t seconds = 0;
        if (ScanUnsigned(text, 14, seconds))
            m_album.SetDiscLength(seconds);
    } else if (text.starts_with("DYEAR")) {
        if (equals == std::string::npos)
            return EStep::kRejected;
        m_album.SetYear(value);
    } else if (text.starts_with("DTITLE")) {
        AppendCapped(m_strDTitle, value);
    } else if (text.starts_with("TTITLE") || text.starts_with("EXTT")) {
        if (equals == std::string::npos)
            return EStep::kRejected;
        const bool bTitle = text[0] == 'T';
        std::size_t number = 0;
        // A key without a number is taken for no track at all.
        if (!ReadTrackNumber(text, bTitle ? 6 : 4, number))
            return EStep::kMore;
        CAlbumTrack& track = m_album.GetTrack(number);
        const std::string& current = bTitle ? track.GetTitle() : track.GetExtra();
        if (current.size() + value.size() > kMaxFieldBytes)
            return EStep::kMore;
        if (bTitle)
            track.SetTitle(value, true);
        else
            track.SetExtra(value, true);
    }
    return EStep::kMore;
}

bool CXmcdParser::Finish() {
    if (m_album.ApplyCompilationSplit() == " - " && m_log) {
        m_log("[INF]\tAlbum " + std::as_const(m_album).GetDiscId() +
              " is parsed as compilation with delimiter \"-\"\r\n");
    }
    m_album.SetArtistAndTitleFromDTitle(m_strDTitle);
    return m_bHeader;
}

bool CXmcdParser::ParseXmcd(const LineReader& readLine, CAlbumInfo& album, const LogSink& log) {
    CXmcdParser parser(album, log);
    std::string line;
    while (readLine(line)) {
        const EStep step = parser.FeedLine(line);
        if (step == EStep::kRejected)
            return false;
        if (step == EStep::kEnd)
            break;
    }
    return parser.Finish();
}

bool CXmcdParser::ParseXmcd(const std::vector<std::string>& lines, CAlbumInfo& album,
                            const LogSink& log) {
    std::size_t next = 0;
    return ParseXmcd(
        [&](std::string& line) {
            if (next >= lines.size())
                return false;
            line = lines[next++];
            return true;
        },
        album, log);
}

bool CXmcdParser::ParseXmcdText(std::string_view text, CAlbumInfo& album, const LogSink& log) {
    CTextLines lines(text);
    return ParseXmcd([&](std::string& line) { return lines.ReadLine(line); }, album, log);
}
