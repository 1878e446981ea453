#pragma once

#include "lang/StringCatalogue.h"

#include <optional>
#include <string>

class CArgParser;
class CProfile;

// The language of one run (--lang NAME, which overrides the stored "Settings"/"Language")
// and the track that `info` describes (--track N).
class CLanguageOptions {
public:
    void Register(CArgParser& parser);

    // The catalogue of the run's language, with language files beside the executable.
    CStringCatalogue MakeCatalogue(const CProfile& profile) const;
    // Empty when --lang names a language there is a file for (or English, the built-in
    // texts); else the usage error, listing the languages found.
    std::string CheckLanguage() const;

    // 1-based.
    unsigned Track() const { return m_nTrack; }

    static const char* UsageText();

private:
    std::optional<std::string> m_strLanguage;
    unsigned m_nTrack = 1;
};
