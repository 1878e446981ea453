#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

// String helpers that the program's rules are written in terms of: ASCII case
// folding, trimming, replace-all and printf-style formatting of UTF-8 text.
class CText {
public:
    static std::string ToLowerAscii(std::string_view text);
    static bool EqualsNoCase(std::string_view a, std::string_view b);
    static bool EndsWithNoCase(std::string_view text, std::string_view suffix);

    static std::string_view TrimLeft(std::string_view text);
    static std::string_view TrimRight(std::string_view text);
    static std::string_view Trim(std::string_view text);

    // Replaces every occurrence of `from` left to right; returns how many were replaced.
    static int ReplaceAll(std::string& text, std::string_view from, std::string_view to);

    // Turns CR and LF into blanks, for values that must stay on one line.
    static std::string OneLine(std::string_view text);

    // printf-style formatting; only for formats that are part of the program.
    static std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
    static std::string FormatV(const char* format, va_list args);

    // Parses a decimal integer with optional sign and surrounding blanks; digits may be
    // followed by other text. Returns false when there are no digits.
    static bool ParseInt(std::string_view text, long long& value);

    // Name order as people read it: runs of digits compare by their value, so "Track 2"
    // comes before "Track 10"; everything else compares byte by byte.
    static bool NaturalLess(std::string_view a, std::string_view b);

    // The part after the last '/', and the part up to and including it.
    static std::string_view FileNamePart(std::string_view path);
    static std::string_view DirectoryPart(std::string_view path);
};
