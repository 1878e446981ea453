// wavsmith-cli: the command-line front end over the same core as the desktop program.
#include "cli/CliOptions.h"
#include "cli/ListCommand.h"
#include "encoding/AppSettings.h"
#include "filelist/TrackList.h"
#include "platform/PlatformPaths.h"
#include "platform/Profile.h"

#include <iostream>

namespace {
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int RunList(CCliOptions& options) {
    CProfile profile(options.m_strProfilePath.value_or(CPlatformPaths::ProfilePath()));
    CAppSettings settings(CPlatformPaths::HomeDir());
    settings.LoadSettings(profile);
    if (!options.ApplyOverrides(settings)) {
        std::cerr << "wavsmith-cli: " << options.m_strError << '\n';
        return kExitUsage;
    }
    CTrackList tracks;
    CListCommand command(settings, profile);
    const bool allRead = command.AddPaths(options.m_paths, tracks, std::cerr);
    command.PrintList(tracks, std::cout);
    return allRead ? kExitSuccess : kExitFailure;
}
} // namespace

int main(int argc, char** argv) {
    CCliOptions options;
    if (!options.Parse(std::vector<std::string>(argv + 1, argv + argc))) {
        std::cerr << "wavsmith-cli: " << options.m_strError << "\n\n" << CCliOptions::UsageText();
        return kExitUsage;
    }
    if (options.m_bHelp) {
        std::cout << CCliOptions::UsageText();
        return kExitSuccess;
    }
    return RunList(options);
}
