#pragma once

#include <ostream>
#include <string>
#include <vector>

class CAppSettings;
class CProfile;
class CStringCatalogue;

// `wavsmith-cli info`: builds the list as `list` does and prints the file information
// pages of one of its tracks, each tab title on a line of its own followed by its text.
class CInfoCommand {
public:
    CInfoCommand(CAppSettings& settings, const CProfile& profile,
                 const CStringCatalogue& catalogue);

    // `nTrack` is 1-based. False when a path could not be read, the list has no such
    // track, or the pages could not be formatted (the language file's error text is
    // printed then).
    bool Run(const std::vector<std::string>& paths, unsigned nTrack, std::ostream& out,
             std::ostream& errors);

private:
    CAppSettings& m_settings;
    const CProfile& m_profile;
    const CStringCatalogue& m_catalogue;
};
