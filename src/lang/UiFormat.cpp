#include "lang/UiFormat.h"

#include <cstdio>

namespace {
// One conversion: its text ("%-6.2ld") and the argument it takes.
struct SConversion {
    std::string_view m_strText;
    EFormatArg m_kind;
    char m_cLetter;
};

// A piece of a parsed format: literal text, or a conversion.
struct SPiece {
    std::string_view m_literal;
    std::optional<SConversion> m_conversion;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t SkipDigits(std::string_view text, size_t pos, size_t& count) {
    count = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
        ++count;
    }
    return pos;
}

std::optional<EFormatArg> KindOf(char letter, bool isLong) {
    switch (letter) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
    case 'o':
        return isLong ? EFormatArg::Long : EFormatArg::Int;
    case 'c':
        return isLong ? std::nullopt : std::optional(EFormatArg::Int);
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
        // "%lf" means the same as "%f".
        return EFormatArg::Double;
    case 's':
        return isLong ? std::nullopt : std::optional(EFormatArg::String);
    default:
        return std::nullopt;
    }
}

// Parses the conversion that starts with the '%' at `start`; `end` gets the position
// after it. A "%%" gives a conversion-free piece holding "%".
std::optional<SPiece> ParseConversion(std::string_view format, size_t start, size_t& end) {
    size_t pos = start + 1;
    if (pos < format.size() && format[pos] == '%') {
        end = pos + 1;
        return SPiece{format.substr(pos, 1), std::nullopt};
    }
    while (pos < format.size() &&
           std::string_view("-+ #0").find(format[pos]) != std::string_view::npos)
        ++pos;
    size_t digits = 0;
    pos = SkipDigits(format, pos, digits);
    if (digits > CUiFormat::kMaxWidthDigits)
        return std::nullopt;
    if (pos < format.size() && format[pos] == '.') {
        pos = SkipDigits(format, pos + 1, digits);
        if (digits > CUiFormat::kMaxWidthDigits)
            return std::nullopt;
    }
    const bool isLong = pos < format.size() && format[pos] == 'l';
    if (isLong)
        ++pos;
    if (pos >= format.size())
        return std::nullopt;
    const std::optional<EFormatArg> kind = KindOf(format[pos], isLong);
    if (!kind)
        return std::nullopt;
    end = pos + 1;
    return SPiece{{}, SConversion{format.substr(start, end - start), *kind, format[pos]}};
}

std::optional<std::vector<SPiece>> Parse(std::string_view format) {
    std::vector<SPiece> pieces;
    size_t pos = 0;
    while (pos < format.size()) {
        const size_t percent = format.find('%', pos);
        if (percent == std::string_view::npos) {
            pieces.push_back(SPiece{format.substr(pos), std::nullopt});
            break;
        }
        if (percent > pos)
            pieces.push_back(SPiece{format.substr(pos, percent - pos), std::nullopt});
        std::optional<SPiece> piece = ParseConversion(format, percent, pos);
        if (!piece)
            return std::nullopt;
        pieces.push_back(*piece);
    }
    return pieces;
}

bool IsUnsignedLetter(char letter) {
    return letter == 'u' || letter == 'x' || letter == 'X' || letter == 'o';
}

// printf with a conversion that Parse() accepted and exactly the argument it takes.
template <class T> void AppendFormatted(std::string& out, const std::string& pattern, T value) {
    const int needed = std::snprintf(nullptr, 0, pattern.c_str(), value);
    if (needed <= 0)
        return;
    std::string piece(static_cast<size_t>(needed) + 1, '\0');
    std::snprintf(piece.data(), piece.size(), pattern.c_str(), value);
    piece.resize(static_cast<size_t>(needed));
    out += piece;
}

void AppendConversion(std::string& out, const SConversion& conversion, const SFormatArg& arg) {
    const std::string pattern(conversion.m_strText);
    const bool isUnsigned = IsUnsignedLetter(conversion.m_cLetter);
    switch (conversion.m_kind) {
    case EFormatArg::Int:
        if (isUnsigned)
            AppendFormatted(out, pattern, static_cast<unsigned>(arg.m_nValue));
        else
            AppendFormatted(out, pattern, static_cast<int>(arg.m_nValue));
        return;
    case EFormatArg::Long:
        if (isUnsigned)
            AppendFormatted(out, pattern, static_cast<unsigned long>(arg.m_nValue));
        else
            AppendFormatted(out, pattern, static_cast<long>(arg.m_nValue));
        return;
    case EFormatArg::Double:
        AppendFormatted(out, pattern, arg.m_dValue);
        return;
    case EFormatArg::String:
        AppendFormatted(out, pattern, std::string(arg.m_strValue).c_str());
        return;
    }
}
} // namespace

std::optional<std::vector<EFormatArg>> CUiFormat::Conversions(std::string_view format) {
    const std::optional<std::vector<SPiece>> pieces = Parse(format);
    if (!pieces)
        return std::nullopt;
    std::vector<EFormatArg> kinds;
    for (const SPiece& piece : *pieces) {
        if (piece.m_conversion)
            kinds.push_back(piece.m_conversion->m_kind);
    }
    return kinds;
}

std::optional<std::string> CUiFormat::Apply(std::string_view format,
                                            const std::vector<SFormatArg>& args) {
    const std::optional<std::vector<SPiece>> pieces = Parse(format);
    if (!pieces)
        return std::nullopt;
    size_t next = 0;
    std::string out;
    for (const SPiece& piece : *pieces) {
        if (!piece.m_conversion) {
            out += piece.m_literal;
            continue;
        }
        if (next >= args.size() || args[next].m_kind != piece.m_conversion->m_kind)
            return std::nullopt;
        AppendConversion(out, *piece.m_conversion, args[next++]);
    }
    if (next != args.size())
        return std::nullopt;
    return out;
}
