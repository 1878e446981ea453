// Reads the German language file that the build copies beside the executables and checks
// it against the built-in catalogue.
#include "lang/BuiltInCatalogue.h"
#include "lang/StringCatalogue.h"
#include "lang/UiFormat.h"
#include "platform/PlatformPaths.h"
#include "platform/PrivateProfile.h"
#include "platform/Text.h"

#include <gtest/gtest.h>
#include <set>

namespace {
bool IsMainBarLabel(unsigned nId) {
    return nId >= 4019 && nId <= 4025;
}

// The section whose key the program reads for a built-in text.
std::string HomeSection(unsigned nId) {
    return IsMainBarLabel(nId) ? "BarMain" : CStringCatalogue::CatalogSection(nId);
}

// The catalogue identifier that `key` of `section` translates, or nullopt.
std::optional<unsigned> IdOfKey(const std::string& section, const std::string& key) {
    if (CText::EqualsNoCase(section, CStringCatalogue::kStatusPromptSection)) {
        long long id = 0;
        if (CText::ParseInt(key, id) && std::to_string(id) == key &&
            CBuiltInCatalogue::IsCommand(static_cast<unsigned>(id)))
            return static_cast<unsigned>(id);
        return std::nullopt;
    }
    for (const SCatalogueEntry& entry : CBuiltInCatalogue::Entries()) {
        if (CText::EqualsNoCase(HomeSection(entry.m_nId), section) &&
            CText::EqualsNoCase(CStringCatalogue::CatalogKey(entry.m_nId), key))
            return entry.m_nId;
    }
    return std::nullopt;
}

class GermanLanguageFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_file.Load(CPlatformPaths::DataDir() + "german.lng"))
            << "german.lng is not beside the test program";
    }

    std::string Value(const std::string& section, const std::string& key) const {
        return m_file.GetString(section, key, {});
    }

    CPrivateProfile m_file;
};
} // namespace

TEST_F(GermanLanguageFileTest, EveryKeyTranslatesACatalogueTextWithTheSameConversions) {
    size_t keys = 0;
    for (const std::string& section : m_file.SectionNames()) {
        std::set<std::string> seen;
        for (const std::string& key : m_file.KeyNames(section)) {
            ++keys;
            EXPECT_TRUE(seen.insert(CText::ToLowerAscii(key)).second)
                << "[" << section << "] " << key << " appears twice";
            if (CText::EqualsNoCase(section, "Description")) {
                EXPECT_TRUE(key == "author" || key == "email" || key == "locale") << key;
                continue;
            }
            const std::optional<unsigned> id = IdOfKey(section, key);
            if (!id) {
                ADD_FAILURE() << "[" << section << "] " << key << " names no catalogue text";
                continue;
            }
            const std::string value = CStringCatalogue::Unescape(Value(section, key));
            const auto conversions = CUiFormat::Conversions(value);
            EXPECT_TRUE(conversions.has_value()) << "[" << section << "] " << key;
            EXPECT_EQ(conversions, CUiFormat::Conversions(*CBuiltInCatalogue::Text(*id)))
                << "[" << section << "] " << key << " = " << value;
        }
    }
    EXPECT_GT(keys, CBuiltInCatalogue::Entries().size());
}

TEST_F(GermanLanguageFileTest, EveryCatalogueTextIsTranslated) {
    CStringCatalogue german;
    german.SetInterfaceLanguage("german");
    for (const SCatalogueEntry& entry : CBuiltInCatalogue::Entries()) {
        const std::string section = HomeSection(entry.m_nId);
        const std::string key = IsMainBarLabel(entry.m_nId)
                                    ? std::to_string(entry.m_nId)
                                    : CStringCatalogue::CatalogKey(entry.m_nId);
        const std::optional<std::string> value = m_file.Find(section, key);
        if (!value) {
            ADD_FAILURE() << "[" << section << "] " << key << " (" << entry.m_strText
                          << ") is missing";
            continue;
        }
        // Values of up to two characters are never used, so only texts that short
        // themselves may stay that short.
        EXPECT_TRUE(value->size() > 2 || entry.m_strText.size() <= 2)
            << "[" << section << "] " << key << " = " << *value << " would show English";
        const std::string shown = IsMainBarLabel(entry.m_nId)
                                      ? german.LoadUiStringFromSection(entry.m_nId, "BarMain")
                                      : german.LoadUiString(entry.m_nId);
        EXPECT_EQ(shown, value->size() > 2 ? CStringCatalogue::Unescape(*value)
                                           : std::string(entry.m_strText));
    }
    for (unsigned id : CBuiltInCatalogue::CommandIds()) {
        EXPECT_GT(
            Value(std::string(CStringCatalogue::kStatusPromptSection), std::to_string(id)).size(),
            2u)
            << "status-bar prompt of " << id;
        EXPECT_GT(Value("MenuItems", std::to_string(id)).size(), 2u) << "menu text of " << id;
    }
    EXPECT_GT(german.GetTranslatorName().size(), 2u);
    EXPECT_NE(german.GetTranslatorName(), CStringCatalogue::kDefaultTranslatorName);
    EXPECT_NE(german.GetTranslatorEmail(), CStringCatalogue::kDefaultTranslatorEmail);
}
