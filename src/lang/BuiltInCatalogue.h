#pragma once

#include <optional>
#include <span>
#include <string_view>

// One built-in text: its identifier, the key name a language file uses for it (empty for
// the decimal identifier) and the English text.
struct SCatalogueEntry {
    unsigned m_nId;
    std::string_view m_strKey;
    std::string_view m_strText;
};

// The built-in English texts. For a menu command the catalogue text is its status-bar
// prompt; the menu texts themselves are a table of their own, which the windows build
// their menus from.
class CBuiltInCatalogue {
public:
    static std::span<const SCatalogueEntry> Entries();
    static const SCatalogueEntry* Find(unsigned nId);
    static std::optional<std::string_view> Text(unsigned nId);

    // The English menu text of a command or popup ("&Open File(s)...\tCtrl+Ins").
    static std::optional<std::string_view> MenuText(unsigned nId);
    // Every command that has a menu item, so a status-bar prompt and a menu text.
    static std::span<const unsigned> CommandIds();
    static bool IsCommand(unsigned nId);
};
