#pragma once

#include <string>

// Catalogue identifiers of the texts the core shows.
namespace UiString {
constexpr unsigned kTrackEncoded = 59430;    // "Encoded"
constexpr unsigned kTrackNotEncoded = 59431; // "-"
constexpr unsigned kWavSizeFormat = 59441;   // "%4.2f  MB "
constexpr unsigned kPlayTimeFormat = 59442;  // "%u:%02u.%02u"
constexpr unsigned kNumberFormat = 59443;    // "%d"
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
constexpr unsigned kTotalsSize = 60495;     // "For %d files required: %.1f Mb"
constexpr unsigned kTotalsPlayTime = 60496; // "Play time: %.2d:%.2d"
} // namespace UiString

// The catalogue of user-interface texts, looked up by identifier. Holds the built-in
// English texts.
class CStringCatalogue {
public:
    // The text of `nId`; empty when the catalogue has no such text.
    std::string LoadUiString(unsigned nId) const;
    // The text of `nId` as a printf format applied to the arguments.
    std::string FormatUiString(unsigned nId, ...) const;
};
