#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CProfile;
class CStringCatalogue;
class IUserPrompt;

// One entry of the "Interface language" submenu.
struct SLanguageItem {
    std::string m_strName;
    unsigned m_nCommandId;
    bool m_bChecked;
};

// The rules of the language menu: which language files it lists, which item is
// checked, what choosing one does, and how the windows give their menus catalogue texts.
// The menu itself belongs to the window code.
class CLanguageMenu {
public:
    static constexpr unsigned kEnglishCommand = 32801;
    static constexpr unsigned kFirstLanguageCommand = 61001;
    static constexpr unsigned kMaxLanguages = 19;
    static constexpr unsigned kFirstPopupId = 60402;
    // Ends this instance and starts the program again; provided by the desktop program.
    using RestartHook = std::function<void()>;

    explicit CLanguageMenu(const CStringCatalogue& catalogue);

    // The language files of the catalogue's directory in the order the file system lists
    // them, at most kMaxLanguages: names without ".lng", with a capital first letter.
    // `pListed`, when given, tells whether the directory could be read to its end.
    std::vector<std::string> LanguageNames(bool* pListed = nullptr) const;
    // The items that follow "&English (Default)", numbered from kFirstLanguageCommand.
    std::vector<SLanguageItem> BuildLanguageMenu() const;
    bool IsChecked(unsigned nCommandId) const;

    // Stores `strName` as the language of the next start and restarts, after the user
    // agreed. Nothing happens for the current language. Returns whether it restarted.
    bool SwitchLanguage(const std::string& strName, IUserPrompt& prompt, CProfile& profile,
                        const RestartHook& restart) const;
    // The same for a menu item: English, or the k-th language file of a fresh listing.
    bool SwitchToItem(unsigned nCommandId, IUserPrompt& prompt, CProfile& profile,
                      const RestartHook& restart) const;

    // The catalogue identifier of the next popup title: the counter starts at
    // kFirstPopupId, moves on after each use and skips 60404.
    static unsigned TakePopupId(unsigned& nCounter);
    // The text of a menu item (a popup's catalogue identifier or a command); nullopt
    // while no language is selected, when the menus keep their built-in texts.
    std::optional<std::string> MenuItemText(unsigned nId) const;

private:
    const CStringCatalogue& m_catalogue;
};
