// Arbitrary bytes as a language file: every lookup and every catalogue format with its
// real arguments either gives a text or fails cleanly, a translated format is used only
// when its conversions match the built-in one, and values never exceed the lookup
// buffer.
#include "encoding/AppSettings.h"
#include "encoding/TrackItem.h"
#include "filelist/TrackInfoPages.h"
#include "lang/BuiltInCatalogue.h"
#include "lang/LanguageFile.h"
#include "lang/StringCatalogue.h"
#include "lang/UiFormat.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {
// A folder of its own for the language file, removed when the fuzzer exits.
struct SFuzzDir {
    SFuzzDir() {
        char pattern[] = "/tmp/wavsmith-lang-fuzz-XXXXXX";
        if (::mkdtemp(pattern) == nullptr)
            std::abort();
        m_strPath = std::string(pattern) + "/";
    }
    ~SFuzzDir() { std::filesystem::remove_all(m_strPath); }
    std::string m_strPath;
};

const std::string& FuzzDir() {
    static const SFuzzDir dir;
    return dir.m_strPath;
}

// A translated format may only be used when it takes what the built-in one takes.
void CheckFormatted(const CStringCatalogue& catalogue, unsigned nId,
                    const std::optional<std::string>& text) {
    if (!text)
        return;
    const std::string format = catalogue.LoadUiString(nId);
    if (CUiFormat::Conversions(format) != CUiFormat::Conversions(*CBuiltInCatalogue::Text(nId)))
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CLanguageFile file;
    file.Parse(text);
    for (const SCatalogueEntry& entry : CBuiltInCatalogue::Entries()) {
        const std::string value = file.Value(CStringCatalogue::CatalogSection(entry.m_nId),
                                             CStringCatalogue::CatalogKey(entry.m_nId));
        if (value.size() > CLanguageFile::kMaxValueLength)
            std::abort();
    }

    { std::ofstream(FuzzDir() + "fuzz.lng", std::ios::binary | std::ios::trunc) << text; }
    CStringCatalogue catalogue(FuzzDir());
    catalogue.SetInterfaceLanguage("fuzz");
    for (const SCatalogueEntry& entry : CBuiltInCatalogue::Entries()) {
        (void)catalogue.LoadUiString(entry.m_nId);
        (void)catalogue.LoadStatusPrompt(entry.m_nId);
        (void)catalogue.LoadUiStringFromSection(entry.m_nId, "BarMain");
    }
    CheckFormatted(catalogue, UiString::kTotalsSize,
                   catalogue.FormatUiString(UiString::kTotalsSize, 3, 1.5));
    CheckFormatted(catalogue, UiString::kTotalsPlayTime,
                   catalogue.FormatUiString(UiString::kTotalsPlayTime, 1, 2));
    CheckFormatted(catalogue, UiString::kPlayTimeFormat,
                   catalogue.FormatUiString(UiString::kPlayTimeFormat, 1u, 2u, 0u));
    CheckFormatted(catalogue, UiString::kWavSizeFormat,
                   catalogue.FormatUiString(UiString::kWavSizeFormat, 2.5));
    CheckFormatted(catalogue, UiString::kFolderInvalid,
                   catalogue.FormatUiString(UiString::kFolderInvalid, "/music/"));
    CheckFormatted(catalogue, UiString::kTranslatedBy,
                   catalogue.FormatUiString(UiString::kTranslatedBy, catalogue.GetTranslatorName(),
                                            catalogue.GetTranslatorEmail()));

    const CAppSettings settings;
    CTrackItem track(settings);
    track.m_strWavPath = "/music/a.wav";
    track.m_nWavSize = 1000;
    const SInfoPages pages = CTrackInfoPages(settings, catalogue).Build(track);
    if (pages.m_strError.has_value() != pages.m_pages.empty())
        std::abort();
    return 0;
}
