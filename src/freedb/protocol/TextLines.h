#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Hands out the lines of a text as the connection's line reader would: split at line
// feeds, carriage returns removed, surrounding white space trimmed. A last line without
// line feed is handed out as well. For parsers fed from files, tests and fuzzers.
class CTextLines {
public:
    explicit CTextLines(std::string_view text) : m_text(text) {}

    // The next line; false when the text is used up.
    bool ReadLine(std::string& line);

private:
    std::string_view m_text;
    std::size_t m_nPos = 0;
};
