#pragma once

#include "lang/LanguageFile.h"
#include "lang/UiFormat.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Catalogue identifiers of the texts the core shows.
namespace UiString {
constexpr unsigned kTranslatedBy = 4018;     // "Translated by %s (%s)"
constexpr unsigned kTrackEncoded = 59430;    // "Encoded"
constexpr unsigned kTrackNotEncoded = 59431; // "-"
constexpr unsigned kTrackEncodedWavKept = 59432;
constexpr unsigned kWavSizeFormat = 59441;  // "%4.2f  MB "
constexpr unsigned kPlayTimeFormat = 59442; // "%u:%02u.%02u"
constexpr unsigned kNumberFormat = 59443;   // "%d"
constexpr unsigned kColumnWavName = 59410;
constexpr unsigned kColumnNumber = 59411;
constexpr unsigned kColumnPlayTime = 59412;
constexpr unsigned kColumnWavSize = 59413;
constexpr unsigned kColumnMp3Size = 59414;
constexpr unsigned kColumnStatus = 59415;
constexpr unsigned kColumnMp3Name = 59416;
constexpr unsigned kColumnTitle = 59417;
constexpr unsigned kColumnDirectory = 60512;
constexpr unsigned kSkipFilesExplanation = 4034;
constexpr unsigned kStopEncodingQuestion = 60488;
constexpr unsigned kFolderMissingQuestion = 60489; // "%s" is the folder
constexpr unsigned kFolderInvalid = 60490;
constexpr unsigned kFolderNotCreated = 60491;
constexpr unsigned kTotalsSize = 60495;     // "For %d files required: %.1f Mb"
constexpr unsigned kTotalsPlayTime = 60496; // "Play time: %.2d:%.2d"
constexpr unsigned kRestartQuestion = 4050;
// File information window
constexpr unsigned kInfoCaption = 6134;
constexpr unsigned kInfoGeneralFormat = 6136;
constexpr unsigned kInfoAlbumFormat = 6137;
constexpr unsigned kInfoWavFormat = 6141;
constexpr unsigned kInfoMp3Format = 6142;
constexpr unsigned kInfoGeneralTab = 6143;
constexpr unsigned kInfoAlbumTab = 6144;
constexpr unsigned kInfoWavTab = 6148;
constexpr unsigned kInfoMp3Tab = 6149;
constexpr unsigned kInfoNotCreated = 6150;
constexpr unsigned kInfoYes = 6153;
constexpr unsigned kInfoNo = 6154;
constexpr unsigned kInfoWavWillBeDeleted = 6155;
constexpr unsigned kInfoWavReady = 6156;
constexpr unsigned kInfoWavDeleted = 6157;
constexpr unsigned kInfoWavEncoded = 6158;
// Why a file was not added, as the Skip Files window and the command line show it
constexpr unsigned kReasonNotWavName = 62240;
constexpr unsigned kReasonNotWav = 62241;
constexpr unsigned kReasonChannels = 62242; // "%u channels"
constexpr unsigned kReasonSampleBits = 62243;
constexpr unsigned kReasonFloatBits = 62244;
constexpr unsigned kReasonNoData = 62245;
constexpr unsigned kReasonNoFmt = 62246;
constexpr unsigned kReasonFmtTooShort = 62247;
constexpr unsigned kReasonExtensible = 62248;
constexpr unsigned kReasonAudioFormat = 62249;
constexpr unsigned kReasonNoSampleRate = 62250;
constexpr unsigned kReasonChunkSize = 62251;
constexpr unsigned kReasonCutShort = 62252;
constexpr unsigned kReasonTooLarge = 62253;
constexpr unsigned kReasonFolder = 62254;
constexpr unsigned kReasonNotRegular = 62255;
constexpr unsigned kReasonPermissionDenied = 62256;
constexpr unsigned kReasonNoSuchFile = 62257;
constexpr unsigned kReasonSystemError = 62258; // "%s": the system's own words
constexpr unsigned kUnreadableFilesHeading = 62259;
} // namespace UiString

// The catalogue of user-interface texts, looked up by identifier: first in the language
// file of the current interface language, then in the built-in English texts. The
// program makes one when it starts and passes it by reference; the language is set
// once, before any window exists, and the language file is read then.
class CStringCatalogue {
public:
    static constexpr std::string_view kStatusPromptSection = "StatusBarMessages";

    // The built-in English catalogue; language files are looked for in `strLanguageDir`.
    explicit CStringCatalogue(std::string strLanguageDir);
    // The built-in English catalogue, with the program's own language files.
    CStringCatalogue();

    // Makes `strName` the current language (empty: built-in English) and reads its file,
    // language directory + name + ".lng". The file name is matched without regard to
    // case, as the language list shows names with a capital first letter. False when no
    // such file was found; the built-in texts then stand in.
    bool SetInterfaceLanguage(const std::string& strName);

    const std::string& LanguageName() const { return m_strLanguage; }
    bool IsLanguageSelected() const { return !m_strLanguage.empty(); }
    // Empty when no language is selected.
    const std::string& LanguageFilePath() const { return m_strLanguageFile; }
    const std::string& LanguageDir() const { return m_strLanguageDir; }

    // The text of `nId`; nullopt when neither the language file nor the built-in
    // catalogue has one.
    std::optional<std::string> FindUiString(unsigned nId) const;
    // The text of `nId`; empty when the catalogue has no such text.
    std::string LoadUiString(unsigned nId) const;
    // A label from a section of its own (the main bar's "BarMain"), under the decimal
    // key. A built-in text is cut before its first line break.
    std::string LoadUiStringFromSection(unsigned nId, std::string_view section) const;
    // The status-bar prompt of a command.
    std::string LoadStatusPrompt(unsigned nId) const;

    // The text of `nId` as a printf format applied to the arguments. A translated format
    // is used only when its conversions take the same kinds of arguments as the built-in
    // one; otherwise, or when the arguments do not fit the built-in format, nullopt,
    // and the caller shows its error text.
    template <class... TArgs>
    std::optional<std::string> FormatUiString(unsigned nId, const TArgs&... args) const {
        return FormatArgs(nId, {CUiFormat::MakeArg(args)...});
    }
    // As FormatUiString, but a translation that does not fit gives way to the built-in
    // format: for texts such as list cells, where showing something is better than an
    // error.
    template <class... TArgs>
    std::string FormatUiStringOrBuiltIn(unsigned nId, const TArgs&... args) const {
        return FormatArgsOrBuiltIn(nId, {CUiFormat::MakeArg(args)...});
    }

    // The translator's name and address from the language file's "Description"
    // section; the maker's own when no language is selected or the value is too short.
    std::string GetTranslatorName() const;
    std::string GetTranslatorEmail() const;
    // The locale the language file is written for ("de_DE"), which the toolkit's own
    // dialogs follow; empty when none is named.
    std::string GetLanguageLocale() const;

    // The section and key under which a language file holds the text of `nId`.
    static std::string CatalogSection(unsigned nId);
    static std::string CatalogKey(unsigned nId);
    // Replaces the escapes of a language-file value: \n \t \r \b \v \' \", in this order.
    static std::string Unescape(std::string_view value);

    static constexpr std::string_view kDefaultTranslatorName = "Orvandel";
    static constexpr std::string_view kDefaultTranslatorEmail = "wavsmith@orvandel.example";

private:
    std::optional<std::string> TranslatedValue(std::string_view section, std::string_view key,
                                               size_t nMinLength) const;
    std::string DescriptionValue(std::string_view key, std::string_view strDefault) const;
    std::optional<std::string> FormatArgs(unsigned nId, const std::vector<SFormatArg>& args) const;
    std::string FormatArgsOrBuiltIn(unsigned nId, const std::vector<SFormatArg>& args) const;

    std::string m_strLanguageDir;
    std::string m_strLanguage;
    std::string m_strLanguageFile;
    CLanguageFile m_file;
};
