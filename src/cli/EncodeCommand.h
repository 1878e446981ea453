#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

class CAppSettings;
class CEncodeOptions;
class CFileList;
class CProfile;
class CStringCatalogue;

// `wavsmith-cli encode`: adds the files and folders as `list` does, then encodes the
// checked tracks with a progress line, stopping cleanly on Ctrl+C, SIGHUP and SIGTERM.
class CEncodeCommand {
public:
    // Added to the number of the signal that stopped the run: 130 after Ctrl+C.
    static constexpr int kExitAfterSignal = 128;

    CEncodeCommand(CAppSettings& settings, CProfile& profile, const CStringCatalogue& catalogue,
                   const CEncodeOptions& options);

    // The exit status: 0 when every checked track was encoded, 1 when one was skipped,
    // the run ended early or --save failed; 128 + the signal's number after Ctrl+C (130),
    // SIGHUP (129) or SIGTERM (143).
    int Run(const std::vector<std::string>& paths);
    // A step on the list after the files were added and before the run (the FreeDB
    // lookup of --freedb); when it answers false nothing is encoded and Run answers 1.
    void SetListStep(std::function<bool(CFileList&)> step) { m_listStep = std::move(step); }

private:
    CAppSettings& m_settings;
    CProfile& m_profile;
    const CStringCatalogue& m_catalogue;
    const CEncodeOptions& m_options;
    std::function<bool(CFileList&)> m_listStep;
};
