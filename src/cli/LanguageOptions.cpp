#include "cli/LanguageOptions.h"

#include "cli/ArgParser.h"
#include "lang/LanguageMenu.h"
#include "platform/Profile.h"
#include "platform/Text.h"

#include <limits>

namespace {
// The name the language menu gives the built-in texts.
constexpr const char* kBuiltInLanguage = "English";
} // namespace

void CLanguageOptions::Register(CArgParser& parser) {
    parser.AddValue("--lang", [this](const std::string& value) {
        m_strLanguage = CText::EqualsNoCase(value, kBuiltInLanguage) ? std::string() : value;
        return std::string();
    });
    parser.AddValue("--track", [this](const std::string& value) {
        return CArgParser::ParseNumber("--track", value, 1, std::numeric_limits<int>::max(),
                                       m_nTrack);
    });
}

CStringCatalogue CLanguageOptions::MakeCatalogue(const CProfile& profile) const {
    CStringCatalogue catalogue;
    catalogue.SetInterfaceLanguage(
        m_strLanguage.value_or(profile.GetString("Settings", "Language", "")));
    return catalogue;
}

std::string CLanguageOptions::CheckLanguage() const {
    CStringCatalogue catalogue;
    if (!m_strLanguage || catalogue.SetInterfaceLanguage(*m_strLanguage))
        return {};
    bool listed = true;
    std::string names = kBuiltInLanguage;
    for (const std::string& name : CLanguageMenu(catalogue).LanguageNames(&listed))
        names += ", " + name;
    return "unknown language '" + *m_strLanguage + "'; the languages are " + names +
           (listed ? "" : " (the language folder could not be read to its end)");
}

const char* CLanguageOptions::UsageText() {
    return R"(Language options:
  --lang NAME           Show texts from the program's language file NAME.lng
                        instead of the stored interface language; English (or an
                        empty NAME) gives the built-in texts
  --track N             The track of the list that 'info' describes (default 1)
)";
}
