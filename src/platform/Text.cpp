#include "platform/Text.h"

#include <cctype>
#include <cstdio>
#include <vector>

namespace {
char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The run of digits at the start of `text`, without its leading zeros.
std::string_view DigitRun(std::string_view text, size_t& nLength) {
    nLength = 0;
    while (nLength < text.size() && IsDigit(text[nLength]))
        ++nLength;
    std::string_view digits = text.substr(0, nLength);
    while (digits.size() > 1 && digits.front() == '0')
        digits.remove_prefix(1);
    return digits;
}
} // namespace

std::string CText::ToLowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = LowerAscii(c);
    return result;
}

bool CText::EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

bool CText::EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

bool CText::NaturalLess(std::string_view a, std::string_view b) {
    std::string_view restA = a;
    std::string_view restB = b;
    while (!restA.empty() && !restB.empty()) {
        if (IsDigit(restA.front()) && IsDigit(restB.front())) {
            size_t lengthA = 0;
            size_t lengthB = 0;
            const std::string_view numberA = DigitRun(restA, lengthA);
            const std::string_view numberB = DigitRun(restB, lengthB);
            // Without leading zeros the shorter run is the smaller number.
            if (numberA.size() != numberB.size())
                return numberA.size() < numberB.size();
            if (numberA != numberB)
                return numberA < numberB;
            restA.remove_prefix(lengthA);
            restB.remove_prefix(lengthB);
            continue;
        }
        if (restA.front() != restB.front())
            return static_cast<unsigned char>(restA.front()) <
                   static_cast<unsigned char>(restB.front());
        restA.remove_prefix(1);
        restB.remove_prefix(1);
    }
    if (restA.empty() != restB.empty())
        return restA.empty();
    // Equal but for leading zeros ("01" and "1"): byte order keeps the order strict.
    return a < b;
}

std::string_view CText::TrimLeft(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    return text.substr(start);
}

std::string_view CText::TrimRight(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    return text.substr(0, end);
}

std::string_view CText::Trim(std::string_view text) {
    return TrimRight(TrimLeft(text));
}

int CText::ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty())
        return 0;
    int count = 0;
    std::string result;
    size_t pos = 0;
    for (size_t hit = text.find(from); hit != std::string::npos; hit = text.find(from, pos)) {
        result.append(text, pos, hit - pos);
        result.append(to);
        pos = hit + from.size();
        ++count;
    }
    if (count == 0)
        return 0;
    result.append(text, pos, std::string::npos);
    text = std::move(result);
    return count;
}

std::string CText::OneLine(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return result;
}

std::string CText::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string result = FormatV(format, args);
    va_end(args);
    return result;
}

std::string CText::FormatV(const char* format, va_list args) {
    char small[256];
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (needed < 0)
        return {};
    if (static_cast<size_t>(needed) < sizeof small)
        return std::string(small, static_cast<size_t>(needed));
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    return std::string(buffer.data(), static_cast<size_t>(needed));
}

bool CText::ParseInt(std::string_view text, long long& value) {
    text = TrimLeft(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])))
        return false;
    constexpr long long kLimit = 1LL << 40; // far beyond any 32-bit setting; stops overflow
    long long magnitude = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            break;
        if (magnitude < kLimit)
            magnitude = magnitude * 10 + (c - '0');
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

std::string_view CText::FileNamePart(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view CText::DirectoryPart(std::string_view path) {
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash + 1);
}
