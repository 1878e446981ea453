#pragma once

#include <array>
#include <string>

class CProfile;

// The replacements for the nine characters that file names must not hold, and the
// switches that remove doubled spaces and dots. Kept in the profile section
// "SymbolReplacement".
class CSymbolReplacement {
public:
    // The characters replaced, in the order of the keys "1" to "9".
    static constexpr std::array<char, 9> kSymbols{'*', '\\', '/', '?', '"', '|', '<', '>', ':'};
    static constexpr std::array<const char*, 9> kDefaultReplacements{" x ", "-", "-", ".", "-",
                                                                     "-",   "[", "]", "-"};

    // The defaults.
    CSymbolReplacement();
    static CSymbolReplacement Load(const CProfile& profile);
    bool Save(CProfile& profile) const;

    // Replaces the symbols, trims blanks and trailing dots, and removes doubled spaces
    // and dots when switched on. For a file name without directory and extension.
    std::string ReplaceFileNameSymbols(std::string text) const;

    std::array<std::string, 9> m_strReplacements;
    bool m_bDeleteDoubleSpaces = true;
    bool m_bDeleteDoubleDots = true;
};
