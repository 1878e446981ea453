#include "cli/LanguageOptions.h"

#include "cli/ArgParser.h"
#include "platform/Profile.h"

#include <limits>

void CLanguageOptions::Register(CArgParser& parser) {
    parser.AddValue("--lang", [this](const std::string& value) {
        m_strLanguage = value;
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

const char* CLanguageOptions::UsageText() {
    return R"(Language options:
  --lang NAME           Show texts from the language file NAME.lng beside the program
                        instead of the stored interface language; an empty NAME gives
                        the built-in English texts
  --track N             The track of the list that 'info' describes (default 1)
)";
}
