#include "lang/StringCatalogue.h"

#include "lang/BuiltInCatalogue.h"
#include "platform/FolderListing.h"
#include "platform/PlatformPaths.h"
#include "platform/Text.h"

#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {
struct SSectionRange {
    std::string_view m_strSection;
    unsigned m_nFirst;
    unsigned m_nLast;
};

// Checked in this order; the first range that holds the identifier wins.
constexpr SSectionRange kSectionRanges[] = {
    {"DlgAbout", 4018, 4018},    {"DlgAbout", 59447, 59447},     {"DlgAbout", 59506, 59506},
    {"BarInfo", 4029, 4029},     {"BarInfo", 60510, 60511},      {"TabID3", 4030, 4031},
    {"TabID3", 59487, 59488},    {"TabID3", 59490, 59496},       {"TabID3", 59498, 59505},
    {"TabID3", 60507, 60507},    {"TabID3", 60513, 60513},       {"DlgSkipFiles", 4032, 4034},
    {"TabsName", 4041, 4041},    {"TabsName", 59507, 59509},     {"DlgSymbols", 4043, 4047},
    {"DlgItemInfo", 6132, 6158}, {"TabTrackList", 59410, 59417}, {"TabTrackList", 60512, 60512},
    {"DlgEncode", 59511, 59521}, {"DlgEncode", 60488, 60488},    {"DlgMessages", 60489, 60496},
    {"TabMP3", 60497, 60506},    {"TabMP3", 62100, 62119},       {"TabID3", 62120, 62139},
    {"DlgEncode", 62150, 62169}, {"DlgMessages", 62200, 62219},  {"DlgSkipFiles", 62220, 62229},
    {"DlgAbout", 62230, 62239},  {"DlgSkipFiles", 62240, 62269},
};
constexpr std::string_view kOtherSection = "MenuItems";

// Values shorter than this are taken for placeholders and ignored.
constexpr size_t kMinValueLength = 3;

std::string_view FirstLine(std::string_view text) {
    const size_t escaped = text.find("\\n");
    if (escaped != std::string_view::npos)
        return text.substr(0, escaped);
    return text.substr(0, text.find('\n'));
}

// The file of `strName` in `strDir`: the exact name, or else the one file whose name
// matches without regard to case; nullopt when there is none.
std::optional<std::string> FindLanguageFile(const std::string& strDir, const std::string& strName) {
    const std::string wanted = strName + ".lng";
    std::error_code error;
    if (fs::is_regular_file(strDir + wanted, error))
        return strDir + wanted;
    // A listing that fails half-way finds what it read before.
    std::vector<std::string> names;
    CFolderListing::ListFiles(strDir, ".lng", names);
    for (const std::string& name : names) {
        if (CText::EqualsNoCase(name, wanted))
            return strDir + name;
    }
    return std::nullopt;
}
} // namespace

CStringCatalogue::CStringCatalogue(std::string strLanguageDir)
    : m_strLanguageDir(CPlatformPaths::WithTrailingSlash(std::move(strLanguageDir))) {}

CStringCatalogue::CStringCatalogue() : CStringCatalogue(CPlatformPaths::DataDir()) {}

bool CStringCatalogue::SetInterfaceLanguage(const std::string& strName) {
    m_strLanguage = strName;
    m_strLanguageFile.clear();
    m_file.Parse({});
    if (strName.empty())
        return true;
    // A language is a file of the language directory, never a path elsewhere.
    if (strName.find('/') != std::string::npos)
        return false;
    const std::optional<std::string> file = FindLanguageFile(m_strLanguageDir, strName);
    m_strLanguageFile = file.value_or(m_strLanguageDir + strName + ".lng");
    m_file.Load(m_strLanguageFile);
    return file.has_value();
}

std::optional<std::string> CStringCatalogue::FindUiString(unsigned nId) const {
    std::optional<std::string> translated =
        TranslatedValue(CatalogSection(nId), CatalogKey(nId), kMinValueLength);
    if (translated)
        return translated;
    const std::optional<std::string_view> builtIn = CBuiltInCatalogue::Text(nId);
    if (!builtIn)
        return std::nullopt;
    return std::string(*builtIn);
}

std::string CStringCatalogue::LoadUiString(unsigned nId) const {
    return FindUiString(nId).value_or(std::string());
}

std::string CStringCatalogue::LoadUiStringFromSection(unsigned nId,
                                                      std::string_view section) const {
    std::optional<std::string> translated =
        TranslatedValue(section, std::to_string(nId), kMinValueLength);
    if (translated)
        return *translated;
    return std::string(FirstLine(CBuiltInCatalogue::Text(nId).value_or(std::string_view())));
}

std::string CStringCatalogue::LoadStatusPrompt(unsigned nId) const {
    std::optional<std::string> translated =
        TranslatedValue(kStatusPromptSection, CatalogKey(nId), kMinValueLength);
    if (translated)
        return *translated;
    return std::string(CBuiltInCatalogue::Text(nId).value_or(std::string_view()));
}

std::string CStringCatalogue::GetTranslatorName() const {
    return DescriptionValue("author", kDefaultTranslatorName);
}

std::string CStringCatalogue::GetTranslatorEmail() const {
    return DescriptionValue("email", kDefaultTranslatorEmail);
}

std::string CStringCatalogue::GetLanguageLocale() const {
    return DescriptionValue("locale", "");
}

std::string CStringCatalogue::CatalogSection(unsigned nId) {
    for (const SSectionRange& range : kSectionRanges) {
        if (nId >= range.m_nFirst && nId <= range.m_nLast)
            return std::string(range.m_strSection);
    }
    return std::string(kOtherSection);
}

std::string CStringCatalogue::CatalogKey(unsigned nId) {
    const SCatalogueEntry* entry = CBuiltInCatalogue::Find(nId);
    if (entry != nullptr && !entry->m_strKey.empty())
        return std::string(entry->m_strKey);
    return std::to_string(nId);
}

std::string CStringCatalogue::Unescape(std::string_view value) {
    static constexpr std::pair<std::string_view, std::string_view> kEscapes[] = {
        {"\\n", "\n"}, {"\\t", "\t"}, {"\\r", "\r"},  {"\\b", "\b"},
        {"\\v", "\v"}, {"\\'", "'"},  {"\\\"", "\""},
    };
    std::string text(value);
    for (const auto& [escape, character] : kEscapes)
        CText::ReplaceAll(text, escape, character);
    return text;
}

std::optional<std::string> CStringCatalogue::TranslatedValue(std::string_view section,
                                                             std::string_view key,
                                                             size_t nMinLength) const {
    if (!IsLanguageSelected())
        return std::nullopt;
    const std::string value = m_file.Value(section, key);
    if (value.size() < nMinLength)
        return std::nullopt;
    return Unescape(value);
}

std::string CStringCatalogue::DescriptionValue(std::string_view key,
                                               std::string_view strDefault) const {
    return TranslatedValue("Description", key, kMinValueLength).value_or(std::string(strDefault));
}

std::optional<std::string> CStringCatalogue::FormatArgs(unsigned nId,
                                                        const std::vector<SFormatArg>& args) const {
    const std::optional<std::string_view> builtIn = CBuiltInCatalogue::Text(nId);
    if (!builtIn)
        return std::nullopt;
    const std::string format = LoadUiString(nId);
    if (format != *builtIn && CUiFormat::Conversions(format) != CUiFormat::Conversions(*builtIn))
        return std::nullopt;
    return CUiFormat::Apply(format, args);
}

std::string CStringCatalogue::FormatArgsOrBuiltIn(unsigned nId,
                                                  const std::vector<SFormatArg>& args) const {
    std::optional<std::string> text = FormatArgs(nId, args);
    if (text)
        return *text;
    return CUiFormat::Apply(CBuiltInCatalogue::Text(nId).value_or(std::string_view()), args)
        .value_or(std::string());
}
