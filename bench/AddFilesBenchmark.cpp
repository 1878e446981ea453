// Adding WAV files to the list and building their names, against the plainest work
// the same files need: opening each and reading its first 64 bytes. The two are run
// alternately in one process and their ratio is printed.
#include "PairedRuns.h"
#include "encoding/AppSettings.h"
#include "filelist/OutputNamer.h"
#include "filelist/TrackList.h"
#include "platform/Profile.h"
#include "support/TempDir.h"
#include "support/WaveWriter.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kFileCount = 10000;

struct SFixture {
    CTempDir m_dir;
    std::vector<std::string> m_paths;

    SFixture() {
        const std::string bytes = CWaveWriter::PcmTone(2, 44100, 0.01);
        for (int i = 0; i < kFileCount; ++i) {
            const std::string path = m_dir.File("track " + std::to_string(i) + ".wav");
            std::ofstream(path, std::ios::binary) << bytes;
            m_paths.push_back(path);
        }
    }
};

SFixture& Fixture() {
    static SFixture fixture;
    return fixture;
}

void AddAndName(benchmark::State& state) {
    const std::vector<std::string>& paths = Fixture().m_paths;
    CProfile profile;
    CAppSettings settings("/tmp/out/");
    const COutputNamer namer(settings, profile);
    for (auto _ : state) {
        CTrackList tracks;
        for (const std::string& path : paths)
            tracks.AddWaveFile(path, settings);
        tracks.ApplySettingsToTracks(settings, namer);
        if (tracks.Count() != paths.size())
            state.SkipWithError("a file was refused");
        benchmark::DoNotOptimize(tracks.At(0).m_strMp3Path.data());
    }
    state.SetItemsProcessed(state.iterations() * kFileCount);
}

void OpenAndRead64(benchmark::State& state) {
    const std::vector<std::string>& paths = Fixture().m_paths;
    char buffer[64];
    for (auto _ : state) {
        for (const std::string& path : paths) {
            const int fd = ::open(path.c_str(), O_RDONLY);
            benchmark::DoNotOptimize(::read(fd, buffer, sizeof buffer));
            ::close(fd);
        }
    }
    state.SetItemsProcessed(state.iterations() * kFileCount);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Fixture();
    const SPairedResult result = CPairedRuns::Run("AddAndName", AddAndName, "OpenAndRead64",
                                                  OpenAndRead64, benchmark::kMillisecond);
    if (!result.m_bOk)
        return 1;
    const double addMs = result.m_dMedian;
    std::printf("\nadding and naming: %.0f files/s (%.1f ms for %d files)\n",
                kFileCount / (addMs / 1000.0), addMs, kFileCount);
    std::printf("reference, open and read 64 bytes: %.1f ms\n", result.m_dReferenceMedian);
    std::printf("ratio adding/reference: %.2f (goal: at most 3)\n", result.m_dRatio);
    return 0;
}
