// A batch of 12 WAV files of 30 s encoded with two jobs against one job, in one run: the
// wall time of alternated pairs (two jobs should take at most 0.55 of one on a 2-core
// machine) and the instructions of each, counted by callgrind (at most 1.01: the work is
// shared out, not done twice).
// The wall times need two idle cores: the load average before and after is printed, and
// the pair least disturbed by other work besides the median.
// usage: parallel_encode_benchmark WAVSMITH_CLI [PAIRS [--wall-only]]
#include "ChildProgram.h"
#include "support/TempDir.h"
#include "support/WaveWriter.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {
constexpr int kFiles = 12;
constexpr double kSeconds = 30.0;

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five;
    in >> one >> five;
    return one + " " + five;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr,
                     "usage: parallel_encode_benchmark WAVSMITH_CLI [PAIRS [--wall-only]]\n");
        return 2;
    }
    const std::string cli = argv[1];
    const int pairs = argc >= 3 ? std::stoi(argv[2]) : 3;
    const bool wallOnly = argc == 4 && std::string(argv[3]) == "--wall-only";
    CTempDir dir;
    std::filesystem::create_directory(dir.File("batch"));
    for (int i = 0; i < kFiles; ++i) {
        const std::string path = dir.File("batch/" + std::to_string(i + 10) + ".wav");
        std::ofstream(path, std::ios::binary)
            << CWaveWriter::PcmTone(2, 44100, kSeconds, 220.0 + 40.0 * i);
    }
    const auto encode = [&](int nJobs) {
        const std::string out = dir.File("out" + std::to_string(nJobs));
        std::filesystem::remove_all(out);
        return std::vector<std::string>{cli,
                                        "--profile",
                                        dir.File("profile.ini"),
                                        "encode",
                                        dir.File("batch"),
                                        "-j",
                                        std::to_string(nJobs),
                                        "--out",
                                        out,
                                        "--yes",
                                        "--no-progress",
                                        "--playlist",
                                        "m3u",
                                        "--bitrate",
                                        "160"};
    };
    std::printf("%d WAV files of %.0f s, 44.1 kHz stereo, 160 kbit/s; %ld cores online\n", kFiles,
                kSeconds, ::sysconf(_SC_NPROCESSORS_ONLN));

    std::vector<double> one, two, ratios;
    for (int pair = 0; pair < pairs; ++pair) {
        const CChildProgram::SResult single = CChildProgram::Run(encode(1));
        const CChildProgram::SResult parallel = CChildProgram::Run(encode(2));
        if (!single.m_bOk || !parallel.m_bOk) {
            std::fprintf(stderr, "an encode failed\n");
            return 1;
        }
        one.push_back(single.m_dSeconds);
        two.push_back(parallel.m_dSeconds);
        ratios.push_back(parallel.m_dSeconds / single.m_dSeconds);
    }
    std::printf("wall time, median of %d alternated pairs: 1 job %.3f s, 2 jobs %.3f s\n", pairs,
                CChildProgram::Median(one), CChildProgram::Median(two));
    std::printf("wall ratio 2 jobs/1 job: %.3f, least disturbed pair %.3f (goal: at most 0.55); "
                "load average now %s\n",
                CChildProgram::Median(ratios), *std::min_element(ratios.begin(), ratios.end()),
                LoadAverage().c_str());
    if (wallOnly)
        return 0;

    const long long single = CChildProgram::CountInstructions(encode(1), dir.File("cg1"));
    const long long parallel = CChildProgram::CountInstructions(encode(2), dir.File("cg2"));
    if (single <= 0 || parallel <= 0) {
        std::fprintf(stderr, "callgrind failed\n");
        return 1;
    }
    std::printf("instructions: 1 job %lld, 2 jobs %lld\n", single, parallel);
    std::printf("instruction ratio 2 jobs/1 job: %.4f (goal: at most 1.01)\n",
                static_cast<double>(parallel) / static_cast<double>(single));
    return 0;
}
