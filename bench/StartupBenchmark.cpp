// Start-up of the desktop program to its first painted window, against a minimal Qt
// program painting one window, both started as processes alternately in one run. The
// program starts as on a user's desktop: with its profile, whose source folder holds a
// handful of WAV files that fill the list. Prints both medians and their ratio.
#include "support/TempDir.h"
#include "support/WaveWriter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kRounds = 21;
constexpr int kWaveFiles = 20;

// Starts `strProgram` and returns the milliseconds until it says it painted; -1 when
// it did not.
double MillisecondsToFirstPaint(const std::string& strProgram) {
    const auto start = std::chrono::steady_clock::now();
    std::FILE* child = ::popen(strProgram.c_str(), "r");
    if (child == nullptr)
        return -1;
    char line[64] = {};
    const bool painted =
        std::fgets(line, sizeof line, child) != nullptr && std::string(line) == "painted\n";
    const auto end = std::chrono::steady_clock::now();
    ::pclose(child);
    return painted ? std::chrono::duration<double, std::milli>(end - start).count() : -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main() {
    CTempDir home;
    const std::string source = home.Path() + "music/";
    for (int i = 1; i <= kWaveFiles; ++i)
        home.WriteFile("music/track " + std::to_string(i) + ".wav",
                       CWaveWriter::PcmTone(2, 44100, 0.5));
    home.WriteFile("config/Orvandel/Wavsmith.ini", "[settings_main]\nInputDir=" + source + "\n");
    ::setenv("HOME", home.Path().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home.Path() + "config").c_str(), 1);
    if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);

    std::vector<double> program;
    std::vector<double> minimal;
    std::vector<double> ratios;
    for (int round = 0; round < kRounds; ++round) {
        program.push_back(MillisecondsToFirstPaint(WAVSMITH_STARTUP_PROBE));
        minimal.push_back(MillisecondsToFirstPaint(WAVSMITH_MINIMAL_PROBE));
        if (program.back() < 0 || minimal.back() < 0) {
            std::fprintf(stderr, "a probe did not paint its window\n");
            return 1;
        }
        ratios.push_back(program.back() / minimal.back());
    }
    std::printf("start-up to the first painted window, median of %d alternated runs:\n", kRounds);
    std::printf("wavsmith (%d WAV files in the source folder): %.1f ms\n", kWaveFiles,
                Median(program));
    std::printf("minimal Qt window: %.1f ms\n", Median(minimal));
    std::printf("ratio wavsmith/minimal: %.2f (goal: at most 1.5)\n", Median(ratios));
    return 0;
}
