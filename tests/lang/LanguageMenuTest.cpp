#include "lang/LanguageMenu.h"

#include "lang/StringCatalogue.h"
#include "platform/Profile.h"
#include "support/FailingReaddir.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {
class LanguageMenuTest : public ::testing::Test {
protected:
    LanguageMenuTest() : m_catalogue(m_dir.Path()) {}

    bool Switch(const CStringCatalogue& catalogue, unsigned nCommandId) {
        return CLanguageMenu(catalogue).SwitchToItem(nCommandId, m_prompt, m_profile,
                                                     [this] { ++m_nRestarts; });
    }

    CTempDir m_dir;
    CStringCatalogue m_catalogue;
    CProfile m_profile;
    CRecordingPrompt m_prompt;
    int m_nRestarts = 0;
};
} // namespace

TEST_F(LanguageMenuTest, ListsAtMostNineteenCapitalisedNamesWithoutAnyLngExtension) {
    for (int i = 0; i < 25; ++i)
        m_dir.WriteFile("lang" + std::to_string(i) + ".lng", "");
    m_dir.WriteFile("notes.txt", "");
    const std::vector<SLanguageItem> items = CLanguageMenu(m_catalogue).BuildLanguageMenu();
    ASSERT_EQ(items.size(), 19u);
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].m_nCommandId, 61001 + i);
        EXPECT_EQ(items[i].m_strName.rfind("Lang", 0), 0u) << items[i].m_strName;
        EXPECT_EQ(items[i].m_strName.find(".lng"), std::string::npos);
        EXPECT_FALSE(items[i].m_bChecked);
    }
    // Every ".lng" goes, and the extension matches without regard to case.
    CTempDir other;
    other.WriteFile("german.LNG", "");
    other.WriteFile("old.lng.lng", "");
    std::vector<std::string> names = CLanguageMenu(CStringCatalogue(other.Path())).LanguageNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"German", "Old"}));
}

TEST_F(LanguageMenuTest, AFolderListingThatFailsHalfWayIsReportedNotThrown) {
    for (const char* name : {"one.lng", "two.lng", "three.lng"})
        m_dir.WriteFile(name, "");
    CStringCatalogue catalogue(m_dir.Path());
    {
        const CFailingReaddir failing(3);
        bool listed = true;
        EXPECT_LT(CLanguageMenu(m_catalogue).LanguageNames(&listed).size(), 3u);
        EXPECT_FALSE(listed);
    }
    {
        // The catalogue looks for a name in another case through a listing too.
        const CFailingReaddir failing(0);
        EXPECT_FALSE(catalogue.SetInterfaceLanguage("ONE"));
    }
    EXPECT_TRUE(catalogue.SetInterfaceLanguage("ONE"));
    EXPECT_TRUE(catalogue.SetInterfaceLanguage(""));
    EXPECT_FALSE(catalogue.SetInterfaceLanguage("four"));
}

TEST_F(LanguageMenuTest, TheCurrentLanguageIsChecked) {
    m_dir.WriteFile("german.lng", "");
    EXPECT_TRUE(CLanguageMenu(m_catalogue).IsChecked(CLanguageMenu::kEnglishCommand));
    CStringCatalogue german(m_dir.Path());
    german.SetInterfaceLanguage("GERMAN");
    const CLanguageMenu menu(german);
    EXPECT_FALSE(menu.IsChecked(CLanguageMenu::kEnglishCommand));
    EXPECT_TRUE(menu.IsChecked(61001));
    EXPECT_FALSE(menu.IsChecked(61002));
    ASSERT_EQ(menu.BuildLanguageMenu().size(), 1u);
    EXPECT_TRUE(menu.BuildLanguageMenu()[0].m_bChecked);
}

TEST_F(LanguageMenuTest, ChoosingAnotherLanguageAsksThenStoresItsMenuNameAndRestarts) {
    m_dir.WriteFile("german.lng", "");
    m_prompt.m_bAnswer = false;
    EXPECT_FALSE(Switch(m_catalogue, 61001));
    EXPECT_EQ(m_profile.GetString("Settings", "Language", "unset"), "unset");
    EXPECT_EQ(m_nRestarts, 0);

    m_prompt.m_bAnswer = true;
    EXPECT_TRUE(Switch(m_catalogue, 61001));
    EXPECT_EQ(m_profile.GetString("Settings", "Language", "unset"), "German");
    EXPECT_EQ(m_nRestarts, 1);
    ASSERT_EQ(m_prompt.Entries().size(), 2u);
    EXPECT_EQ(m_prompt.Entries()[1].m_strText,
              "Program should be restarted to set another intreface language.\nContinue?");
    EXPECT_EQ(m_prompt.Entries()[1].m_icon, EPromptIcon::None);

    // The current language and missing files do nothing, without a question.
    m_prompt.Clear();
    EXPECT_FALSE(Switch(m_catalogue, CLanguageMenu::kEnglishCommand));
    EXPECT_FALSE(Switch(m_catalogue, 61002));
    CStringCatalogue german(m_dir.Path());
    german.SetInterfaceLanguage("german");
    EXPECT_FALSE(Switch(german, 61001));
    EXPECT_TRUE(m_prompt.Entries().empty());
    EXPECT_TRUE(Switch(german, CLanguageMenu::kEnglishCommand));
    EXPECT_EQ(m_profile.GetString("Settings", "Language", "unset"), "");
}

TEST_F(LanguageMenuTest, PopupsCountFromTheFirstIdAndMenusKeepTheirTextsUntilALanguageIsSelected) {
    unsigned counter = CLanguageMenu::kFirstPopupId;
    std::vector<unsigned> ids;
    for (int i = 0; i < 6; ++i)
        ids.push_back(CLanguageMenu::TakePopupId(counter));
    EXPECT_EQ(ids, (std::vector<unsigned>{60402, 60403, 60405, 60406, 60407, 60408}));

    // Menus keep their texts until a language is selected.
    EXPECT_EQ(CLanguageMenu(m_catalogue).MenuItemText(32771), std::nullopt);
    m_dir.WriteFile("german.lng", "[MenuItems]\n60402=&Aktion\n");
    CStringCatalogue german(m_dir.Path());
    german.SetInterfaceLanguage("german");
    EXPECT_EQ(CLanguageMenu(german).MenuItemText(60402), "&Aktion");
    // A command missing from the file shows its prompt, as the catalogue holds no other.
    EXPECT_EQ(CLanguageMenu(german).MenuItemText(32771), "Opens files for encoding");
}
