#include "lang/StringCatalogue.h"

#include "platform/Text.h"

#include <cstdarg>
#include <string_view>
#include <utility>

namespace {
constexpr std::pair<unsigned, std::string_view> kBuiltInTexts[] = {
    {UiString::kTrackEncoded, "Encoded"},
    {UiString::kTrackNotEncoded, "-"},
    {UiString::kWavSizeFormat, "%4.2f  MB "},
    {UiString::kPlayTimeFormat, "%u:%02u.%02u"},
    {UiString::kNumberFormat, "%d"},
    {UiString::kColumnWavName, "WAV FileName"},
    {UiString::kColumnNumber, "#"},
    {UiString::kColumnPlayTime, "Play Time"},
    {UiString::kColumnWavSize, "WAV Size"},
    {UiString::kColumnMp3Size, "MP3 Size"},
    {UiString::kColumnStatus, "Status"},
    {UiString::kColumnMp3Name, "MP3 FileName"},
    {UiString::kColumnTitle, "Song Title"},
    {UiString::kColumnDirectory, "Directory"},
    {UiString::kSkipFilesExplanation,
     "The following file(s) are corrupted or written with non standard audio format. They "
     "will be skipped while adding into the File List:"},
    {UiString::kTotalsSize, "For %d files required: %.1f Mb"},
    {UiString::kTotalsPlayTime, "Play time: %.2d:%.2d"},
};
} // namespace

std::string CStringCatalogue::LoadUiString(unsigned nId) const {
    for (const auto& [id, text] : kBuiltInTexts) {
        if (id == nId)
            return std::string(text);
    }
    return {};
}

std::string CStringCatalogue::FormatUiString(unsigned nId, ...) const {
    const std::string format = LoadUiString(nId);
    va_list args;
    va_start(args, nId);
    std::string text = CText::FormatV(format.c_str(), args);
    va_end(args);
    return text;
}
