#include "lang/LanguageMenu.h"

#include "lang/StringCatalogue.h"
#include "platform/FolderListing.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "platform/UserPrompt.h"

namespace {
constexpr unsigned kSkippedPopupId = 60404;

std::string MenuName(std::string name) {
    for (size_t at = CText::ToLowerAscii(name).find(".lng"); at != std::string::npos;
         at = CText::ToLowerAscii(name).find(".lng"))
        name.erase(at, 4);
    if (!name.empty() && name[0] >= 'a' && name[0] <= 'z')
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
}
} // namespace

CLanguageMenu::CLanguageMenu(const CStringCatalogue& catalogue) : m_catalogue(catalogue) {}

std::vector<std::string> CLanguageMenu::LanguageNames(bool* pListed) const {
    std::vector<std::string> files;
    const bool listed = CFolderListing::ListFiles(m_catalogue.LanguageDir(), ".lng", files);
    if (pListed != nullptr)
        *pListed = listed;
    if (files.size() > kMaxLanguages)
        files.resize(kMaxLanguages);
    std::vector<std::string> names;
    for (const std::string& file : files)
        names.push_back(MenuName(file));
    return names;
}

std::vector<SLanguageItem> CLanguageMenu::BuildLanguageMenu() const {
    std::vector<SLanguageItem> items;
    for (const std::string& name : LanguageNames()) {
        const unsigned id = kFirstLanguageCommand + static_cast<unsigned>(items.size());
        items.push_back({name, id, CText::EqualsNoCase(name, m_catalogue.LanguageName())});
    }
    return items;
}

bool CLanguageMenu::IsChecked(unsigned nCommandId) const {
    if (nCommandId == kEnglishCommand)
        return !m_catalogue.IsLanguageSelected();
    const std::vector<std::string> names = LanguageNames();
    const unsigned k = nCommandId - kFirstLanguageCommand;
    return nCommandId >= kFirstLanguageCommand && k < names.size() &&
           CText::EqualsNoCase(names[k], m_catalogue.LanguageName());
}

bool CLanguageMenu::SwitchLanguage(const std::string& strName, IUserPrompt& prompt,
                                   CProfile& profile, const RestartHook& restart) const {
    if (CText::EqualsNoCase(strName, m_catalogue.LanguageName()))
        return false;
    if (!prompt.AskYesNo(m_catalogue.LoadUiString(UiString::kRestartQuestion), EPromptIcon::None))
        return false;
    profile.WriteString("Settings", "Language", strName);
    if (restart)
        restart();
    return true;
}

bool CLanguageMenu::SwitchToItem(unsigned nCommandId, IUserPrompt& prompt, CProfile& profile,
                                 const RestartHook& restart) const {
    if (nCommandId == kEnglishCommand)
        return SwitchLanguage({}, prompt, profile, restart);
    const std::vector<std::string> names = LanguageNames();
    const unsigned k = nCommandId - kFirstLanguageCommand;
    if (nCommandId < kFirstLanguageCommand || k >= names.size())
        return false;
    return SwitchLanguage(names[k], prompt, profile, restart);
}

unsigned CLanguageMenu::TakePopupId(unsigned& nCounter) {
    if (nCounter == kSkippedPopupId)
        ++nCounter;
    return nCounter++;
}

std::optional<std::string> CLanguageMenu::MenuItemText(unsigned nId) const {
    if (!m_catalogue.IsLanguageSelected())
        return std::nullopt;
    return m_catalogue.LoadUiString(nId);
}
