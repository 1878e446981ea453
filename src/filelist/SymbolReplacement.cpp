#include "filelist/SymbolReplacement.h"

#include "platform/Profile.h"
#include "platform/Text.h"

namespace {
constexpr const char* kSection = "SymbolReplacement";
constexpr std::array<const char*, 9> kKeys{"1", "2", "3", "4", "5", "6", "7", "8", "9"};

// The profile trims its values, but replacements such as " x " live by their blanks.
// Such a value is stored in double quotes, as is one that is itself quoted, so that
// unquoting on load gives back exactly what was saved.
std::string Quote(const std::string& value) {
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    if (!quoted && CText::Trim(value).size() == value.size())
        return value;
    return '"' + value + '"';
}

std::string Unquote(std::string value) {
    if (value.size() < 2 || value.front() != '"' || value.back() != '"')
        return value;
    return value.substr(1, value.size() - 2);
}

// Windows refuses control characters in file names; here they would only break the
// lines of a playlist, so they become blanks.
void BlankControlCharacters(std::string& text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            c = ' ';
    }
}

void RemoveTrailing(std::string& text, char c) {
    const size_t end = text.find_last_not_of(c);
    text.erase(end == std::string::npos ? 0 : end + 1);
}

// Replaces `doubled` by its half until none is left.
void Collapse(std::string& text, std::string_view doubled) {
    while (text.find(doubled) != std::string::npos)
        CText::ReplaceAll(text, doubled, doubled.substr(0, 1));
}
} // namespace

CSymbolReplacement::CSymbolReplacement() {
    for (size_t i = 0; i < kSymbols.size(); ++i)
        m_strReplacements[i] = kDefaultReplacements[i];
}

CSymbolReplacement CSymbolReplacement::Load(const CProfile& profile) {
    CSymbolReplacement table;
    for (size_t i = 0; i < kKeys.size(); ++i)
        table.m_strReplacements[i] =
            Unquote(profile.GetString(kSection, kKeys[i], kDefaultReplacements[i]));
    table.m_bDeleteDoubleSpaces = profile.GetInt(kSection, "DS", 1) != 0;
    table.m_bDeleteDoubleDots = profile.GetInt(kSection, "DD", 1) != 0;
    return table;
}

bool CSymbolReplacement::Save(CProfile& profile) const {
    {
        CProfile::CDeferredSave batch(profile);
        profile.WriteInt(kSection, "DD", m_bDeleteDoubleDots ? 1 : 0);
        profile.WriteInt(kSection, "DS", m_bDeleteDoubleSpaces ? 1 : 0);
        for (size_t i = 0; i < kKeys.size(); ++i)
            profile.WriteString(kSection, kKeys[i], Quote(m_strReplacements[i]));
    }
    // The batch saved when it ended; a save that failed is still pending and fails again.
    return profile.Flush();
}

std::string CSymbolReplacement::ReplaceFileNameSymbols(std::string text) const {
    for (size_t i = 0; i < kSymbols.size(); ++i)
        CText::ReplaceAll(text, std::string_view(&kSymbols[i], 1), m_strReplacements[i]);
    BlankControlCharacters(text);

    text = std::string(CText::Trim(text));
    RemoveTrailing(text, '.');
    text = std::string(CText::TrimRight(text));

    if (m_bDeleteDoubleSpaces)
        Collapse(text, "  ");
    if (m_bDeleteDoubleDots)
        Collapse(text, "..");
    return text;
}
