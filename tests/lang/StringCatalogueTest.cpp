#include "lang/StringCatalogue.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {
class StringCatalogueTest : public ::testing::Test {
protected:
    // A catalogue whose program directory holds "test.lng" with `content`.
    CStringCatalogue WithLanguageFile(const std::string& content) {
        m_dir.WriteFile("test.lng", content);
        CStringCatalogue catalogue(m_dir.Path());
        catalogue.SetInterfaceLanguage("test");
        return catalogue;
    }

    CTempDir m_dir;
};
} // namespace

TEST_F(StringCatalogueTest, WithoutALanguageOrAUsableFileTheBuiltInTextsAreUsed) {
    CStringCatalogue catalogue(m_dir.Path());
    m_dir.WriteFile(".lng", "[TabTrackList]\nColumnStatus=Ignored\n");
    EXPECT_EQ(catalogue.LoadUiString(59415), "Status");
    EXPECT_EQ(catalogue.LoadUiString(32771), "Opens files for encoding");
    EXPECT_FALSE(catalogue.FindUiString(12345).has_value());
    EXPECT_EQ(catalogue.LoadUiString(12345), "");
    EXPECT_EQ(catalogue.LanguageFilePath(), "");

    // Unusable or missing files read as files without keys.
    const std::string valid = "[TabTrackList]\nColumnStatus=Zustand\n";
    std::string binary = valid;
    binary.push_back('\0');
    std::string enormous = valid + std::string(CLanguageFile::kMaxFileSize, ';');
    for (const std::string& content : {std::string(), binary, enormous}) {
        EXPECT_EQ(WithLanguageFile(content).LoadUiString(59415), "Status");
    }
    CStringCatalogue missing(m_dir.Path());
    missing.SetInterfaceLanguage("nothere");
    EXPECT_TRUE(missing.IsLanguageSelected());
    EXPECT_EQ(missing.LoadUiString(59415), "Status");
    EXPECT_EQ(missing.LanguageFilePath(), m_dir.Path() + "nothere.lng");
}

TEST_F(StringCatalogueTest, ValuesOfAtMostTwoCharactersFallBackAndLongOnesAreCutWhole) {
    const CStringCatalogue catalogue = WithLanguageFile("[TabTrackList]\n"
                                                        "ColumnStatus=OK\n"
                                                        "ColumnTitle=T\n"
                                                        "ColumnTime=Zeit\n"
                                                        "ColumnMP3Size=\n"
                                                        "[DlgItemInfo]\n6153=Ein\n");
    EXPECT_EQ(catalogue.LoadUiString(59415), "Status");
    EXPECT_EQ(catalogue.LoadUiString(59417), "Song Title");
    EXPECT_EQ(catalogue.LoadUiString(59412), "Zeit");
    EXPECT_EQ(catalogue.LoadUiString(59414), "MP3 Size");
    EXPECT_EQ(catalogue.LoadUiString(59416), "MP3 FileName"); // key missing
    EXPECT_EQ(catalogue.LoadUiString(6153), "Ein");

    // Long values are cut at 299 bytes without splitting a character.
    const std::string ascii(400, 'a');
    EXPECT_EQ(WithLanguageFile("[TabTrackList]\nColumnStatus=" + ascii + "\n").LoadUiString(59415),
              ascii.substr(0, 299));
    // 298 ASCII bytes, then a two-byte character that would end at byte 300.
    const std::string umlauts = std::string(298, 'a') + "ää";
    EXPECT_EQ(
        WithLanguageFile("[TabTrackList]\nColumnStatus=" + umlauts + "\n").LoadUiString(59415),
        std::string(298, 'a'));
}

TEST_F(StringCatalogueTest, KeysAreLookedUpInTheSectionOfTheirIdentifier) {
    const CStringCatalogue catalogue = WithLanguageFile("[MenuItems]\n59415=Wrong section\n"
                                                        "4019=Menu copy\n59489=Gap id\n"
                                                        "[tabtracklist]\ncolumnstatus=Zustand\n"
                                                        "[DlgItemInfo]\n6135=Inside range\n");
    EXPECT_EQ(catalogue.LoadUiString(59415), "Zustand");
    EXPECT_EQ(catalogue.LoadUiString(4019), "Menu copy");

    // The edges of the identifier ranges.
    const std::pair<unsigned, const char*> sections[] = {
        {59489, "MenuItems"}, {59497, "MenuItems"},    {59490, "TabID3"},    {60506, "TabMP3"},
        {60507, "TabID3"},    {60512, "TabTrackList"}, {60514, "MenuItems"}, {6135, "DlgItemInfo"},
        {60488, "DlgEncode"}, {60489, "DlgMessages"},  {4042, "MenuItems"}};
    for (const auto& [id, section] : sections)
        EXPECT_EQ(CStringCatalogue::CatalogSection(id), section) << id;
    EXPECT_EQ(CStringCatalogue::CatalogKey(60488), "MessageBoxStop");
    EXPECT_EQ(CStringCatalogue::CatalogKey(4041), "4041");
    EXPECT_EQ(CStringCatalogue::CatalogKey(99999), "99999");
}

TEST_F(StringCatalogueTest, EscapesAreReplacedOneKindAfterAnother) {
    EXPECT_EQ(CStringCatalogue::Unescape("one\\ntwo\\tthree\\rfour"), "one\ntwo\tthree\rfour");
    EXPECT_EQ(CStringCatalogue::Unescape("\\b\\v\\'\\\""), "\b\v'\"");
    EXPECT_EQ(CStringCatalogue::Unescape("C:\\\\dir\\x"), "C:\\\\dir\\x");
    // Each kind is one left-to-right pass: the second backslash of a doubled one still
    // starts an escape.
    EXPECT_EQ(CStringCatalogue::Unescape("a\\\\nb"), "a\\\nb");
    EXPECT_EQ(CStringCatalogue::Unescape("\\"), "\\");

    const CStringCatalogue catalogue =
        WithLanguageFile("[DlgMessages]\nMessageInvalidPath=Ordner\\n\\n%s\\nist \\\"falsch\\\"\n");
    EXPECT_EQ(catalogue.LoadUiString(60490), "Ordner\n\n%s\nist \"falsch\"");
}

TEST_F(StringCatalogueTest, SectionLabelsAndStatusPrompts) {
    const CStringCatalogue catalogue =
        WithLanguageFile("[BarMain]\n4019=Öffnen\n4020=Go\n"
                         "[StatusBarMessages]\n32771=Öffnet Dateien\n"
                         "32772=ab\n");
    EXPECT_EQ(catalogue.LoadUiStringFromSection(4019, "BarMain"), "Öffnen");
    EXPECT_EQ(catalogue.LoadUiStringFromSection(4020, "BarMain"), "Open Dir");
    // A built-in text stands in only up to its first line break.
    EXPECT_EQ(catalogue.LoadUiStringFromSection(60490, "BarMain"), "The folder:");
    EXPECT_EQ(catalogue.LoadStatusPrompt(32771), "Öffnet Dateien");
    EXPECT_EQ(catalogue.LoadStatusPrompt(32772), "Opens a source directory and adds its WAV files");
    EXPECT_EQ(CStringCatalogue(m_dir.Path()).LoadUiStringFromSection(60489, "BarMain"),
              "The folder:");
}

TEST_F(StringCatalogueTest, TranslatorComesFromTheDescriptionOrIsTheMaker) {
    const CStringCatalogue english(m_dir.Path());
    EXPECT_EQ(english.GetTranslatorName(), CStringCatalogue::kDefaultTranslatorName);
    EXPECT_EQ(english.GetTranslatorEmail(), CStringCatalogue::kDefaultTranslatorEmail);

    CStringCatalogue translated =
        WithLanguageFile("[Description]\nauthor=Jana \\\"JJ\\\" Jäger\nemail=jj\n");
    EXPECT_EQ(translated.GetTranslatorName(), "Jana \"JJ\" Jäger");
    EXPECT_EQ(translated.GetTranslatorEmail(), CStringCatalogue::kDefaultTranslatorEmail);
    EXPECT_EQ(translated.FormatUiString(UiString::kTranslatedBy, translated.GetTranslatorName(),
                                        translated.GetTranslatorEmail()),
              "Translated by Jana \"JJ\" Jäger (" +
                  std::string(CStringCatalogue::kDefaultTranslatorEmail) + ")");
}

TEST_F(StringCatalogueTest, LanguageNamesFindTheirFileWithoutRegardToCase) {
    m_dir.WriteFile("german.lng", "[TabTrackList]\nColumnStatus=Zustand\n");
    CStringCatalogue catalogue(m_dir.Path());
    catalogue.SetInterfaceLanguage("German");
    EXPECT_EQ(catalogue.LanguageName(), "German");
    EXPECT_EQ(catalogue.LoadUiString(59415), "Zustand");

    CStringCatalogue outside(m_dir.Path() + "sub");
    outside.SetInterfaceLanguage("../german");
    EXPECT_EQ(outside.LoadUiString(59415), "Status");
}

TEST_F(StringCatalogueTest, TranslatedFormatsAreUsedOnlyWhenTheirConversionsMatch) {
    const CStringCatalogue catalogue =
        WithLanguageFile("[DlgMessages]\n"
                         "StatusBarMessage1=Für %d Dateien nötig: %.2f MB\n"
                         "StatusBarMessage2=Spielzeit: %s\n"
                         "MessageNoFolder=Ordner %s %s fehlt\n"
                         "MessageInvalidPath=%s%n\n"
                         "MessageUnableToCreate=%*d\n"
                         "MessageSelectMp3Dir=100% sicher\n"
                         "[MenuItems]\n59442=%d:%02d.%02d\n59441=%.2lf MB\n");
    EXPECT_EQ(catalogue.FormatUiString(UiString::kTotalsSize, 3, 1.5),
              "Für 3 Dateien nötig: 1.50 MB");
    EXPECT_EQ(catalogue.FormatUiString(UiString::kTotalsPlayTime, 1, 2), std::nullopt);
    EXPECT_EQ(catalogue.FormatUiString(UiString::kFolderMissingQuestion, "/x/"), std::nullopt);
    EXPECT_EQ(catalogue.FormatUiString(UiString::kFolderInvalid, "/x/"), std::nullopt);
    EXPECT_EQ(catalogue.FormatUiString(UiString::kFolderNotCreated, "/x/"), std::nullopt);
    // A text without conversions is not a format; a stray '%' in it makes it unusable.
    EXPECT_EQ(catalogue.FormatUiString(60492), std::nullopt);
    // Signed and unsigned int conversions take the same argument.
    EXPECT_EQ(catalogue.FormatUiString(UiString::kPlayTimeFormat, 1u, 5u, 0u), "1:05.00");
    EXPECT_EQ(catalogue.FormatUiString(UiString::kWavSizeFormat, 2.0), "2.00 MB");

    EXPECT_EQ(catalogue.FormatUiStringOrBuiltIn(UiString::kTotalsPlayTime, 61, 1),
              "Play time: 61:01");
    // Arguments that do not fit even the built-in format are refused, not guessed at.
    EXPECT_EQ(catalogue.FormatUiString(UiString::kTotalsSize, "3", 1.5), std::nullopt);
    EXPECT_EQ(catalogue.FormatUiString(12345, 1), std::nullopt);
}
