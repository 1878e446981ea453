// The encode run against a minimal libmp3lame program and the lame encoder, in one run:
// instructions counted by callgrind (deterministic), wall time of alternated pairs, and
// the peak memory of a long file against a short one.
// usage: encode_benchmark WAVSMITH_CLI REFERENCE_ENCODER
#include "ChildProgram.h"
#include "support/TempDir.h"
#include "support/WaveWriter.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {
bool WriteTone(const std::string& path, double seconds) {
    std::ofstream(path, std::ios::binary) << CWaveWriter::PcmTone(2, 44100, seconds, 440.0);
    return static_cast<bool>(std::ifstream(path));
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: encode_benchmark WAVSMITH_CLI REFERENCE_ENCODER\n");
        return 2;
    }
    const std::string cli = argv[1];
    const std::string reference = argv[2];
    CTempDir dir;
    const auto wavsmith = [&](const std::string& wav, const std::string& outDir) {
        return std::vector<std::string>{cli,          "--profile", dir.File("profile.ini"),
                                        "encode",     wav,         "--out",
                                        outDir,       "--yes",     "--no-progress",
                                        "--playlist", "none",      "--bitrate",
                                        "160",        "--mode",    "stereo"};
    };
    for (const auto& [name, seconds] :
         {std::pair{"s5.wav", 5.0}, {"s10.wav", 10.0}, {"s60.wav", 60.0}, {"s600.wav", 600.0}}) {
        if (!WriteTone(dir.File(name), seconds))
            return 1;
    }

    const long long ours = CChildProgram::CountInstructions(
        wavsmith(dir.File("s5.wav"), dir.File("cg")), dir.File("callgrind.ours"));
    const long long base = CChildProgram::CountInstructions(
        {reference, dir.File("s5.wav"), dir.File("reference5.mp3"), "160"},
        dir.File("callgrind.reference"));
    if (ours <= 0 || base <= 0) {
        std::fprintf(stderr, "callgrind failed\n");
        return 1;
    }
    std::printf("instructions, 5 s stereo at 160 kbit/s: wavsmith-cli %lld, reference %lld\n", ours,
                base);
    std::printf("instruction ratio wavsmith-cli/reference: %.4f (goal: at most 1.03)\n",
                static_cast<double>(ours) / static_cast<double>(base));

    std::vector<double> oursSeconds, lameSeconds, referenceSeconds;
    for (int pair = 0; pair < 5; ++pair) {
        oursSeconds.push_back(
            CChildProgram::Run(wavsmith(dir.File("s60.wav"), dir.File("w"))).m_dSeconds);
        lameSeconds.push_back(CChildProgram::Run({"lame", "--quiet", "-b", "160", "-m", "s",
                                                  dir.File("s60.wav"), dir.File("lame60.mp3")})
                                  .m_dSeconds);
        referenceSeconds.push_back(
            CChildProgram::Run({reference, dir.File("s60.wav"), dir.File("reference60.mp3"), "160"})
                .m_dSeconds);
    }
    std::printf("wall time, 60 s file, median of 5 alternated runs: wavsmith-cli %.3f s, "
                "lame %.3f s, reference %.3f s\n",
                CChildProgram::Median(oursSeconds), CChildProgram::Median(lameSeconds),
                CChildProgram::Median(referenceSeconds));
    std::printf("wall ratio wavsmith-cli/lame: %.3f (goal: at most 1); reference/lame: %.3f\n",
                CChildProgram::Median(oursSeconds) / CChildProgram::Median(lameSeconds),
                CChildProgram::Median(referenceSeconds) / CChildProgram::Median(lameSeconds));

    const CChildProgram::SResult shortRun =
        CChildProgram::Run(wavsmith(dir.File("s10.wav"), dir.File("m10")));
    const CChildProgram::SResult longRun =
        CChildProgram::Run(wavsmith(dir.File("s600.wav"), dir.File("m600")));
    std::printf("peak memory: 10 s file %ld KiB, 10 min file %ld KiB, difference %ld KiB "
                "(goal: at most 2048)\n",
                shortRun.m_nMaxRssKiB, longRun.m_nMaxRssKiB,
                longRun.m_nMaxRssKiB - shortRun.m_nMaxRssKiB);
    return shortRun.m_bOk && longRun.m_bOk ? 0 : 1;
}
