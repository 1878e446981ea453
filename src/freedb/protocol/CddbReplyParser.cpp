#include "freedb/protocol/CddbReplyParser.h"

#include "freedb/protocol/ServerStats.h"
#include "freedb/service/AlbumInfo.h"

#include <cstdint>

namespace {
constexpr size_t kDiscIdLength = 8;

// The number after the key, as "key %u" would read it: blanks skipped, then digits,
// cut to 32 bits.
bool ReadFigure(std::string_view line, std::string_view key, uint32_t& value) {
    if (line.substr(0, key.size()) != key)
        return false;
    size_t pos = key.size();
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    if (pos == line.size() || line[pos] < '0' || line[pos] > '9')
        return false;
    uint32_t number = 0;
    for (; pos < line.size() && line[pos] >= '0' && line[pos] <= '9'; ++pos)
        number = number * 10 + static_cast<uint32_t>(line[pos] - '0');
    value = number;
    return true;
}
} // namespace

unsigned CCddbReplyParser::ParseCode(std::string_view line) {
    line = line.substr(0, 3);
    size_t pos = 0;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    unsigned code = 0;
    for (; pos < line.size() && line[pos] >= '0' && line[pos] <= '9'; ++pos)
        code = code * 10 + static_cast<unsigned>(line[pos] - '0');
    return code;
}

bool CCddbReplyParser::ParseMatch(std::string_view line, CAlbumInfo& album) {
    const size_t blank = line.find(' ');
    if (blank == std::string_view::npos)
        return false;
    const std::string_view rest = line.substr(blank + 1);
    if (rest.find(' ') != kDiscIdLength)
        return false;
    const std::string_view text = rest.substr(kDiscIdLength + 1);
    const size_t separator = text.find(" / ");
    const bool split = separator != std::string_view::npos;
    album.SetArtist(split ? text.substr(0, separator) : text);
    album.SetTitle(split ? text.substr(separator + 3) : text);
    album.SetCategory(line.substr(0, blank));
    album.SetDiscId(rest.substr(0, kDiscIdLength));
    return true;
}

void CCddbReplyParser::ParseStatLine(std::string_view line, CServerStats& stats) {
    const struct {
        std::string_view m_key;
        uint32_t CServerStats::*m_pField;
    } kFigures[] = {
        {"Database entries:", &CServerStats::m_nTotal},
        {"blues:", &CServerStats::m_nBlues},
        {"classical:", &CServerStats::m_nClassical},
        {"country:", &CServerStats::m_nCountry},
        {"folk:", &CServerStats::m_nFolk},
        {"jazz:", &CServerStats::m_nJazz},
        {"misc:", &CServerStats::m_nMisc},
        {"newage:", &CServerStats::m_nNewage},
        {"reggae:", &CServerStats::m_nReggae},
        {"rock:", &CServerStats::m_nRock},
        {"soundtrack:", &CServerStats::m_nSoundtrack},
        {"data:", &CServerStats::m_nData},
        {"current users:", &CServerStats::m_nCurrentUsers},
        {"max users:", &CServerStats::m_nMaxUsers},
    };
    for (const auto& figure : kFigures)
        ReadFigure(line, figure.m_key, stats.*figure.m_pField);
}
