// The encode run against a minimal libmp3lame program and the lame encoder, in one run:
// instructions counted by callgrind (deterministic), wall time of alternated pairs, and
// the peak memory of a long file against a short one.
// usage: encode_benchmark WAVSMITH_CLI REFERENCE_ENCODER
#include "support/TempDir.h"
#include "support/WaveWriter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
struct SRunResult {
    bool m_bOk = false;
    double m_dSeconds = 0;
    long m_nMaxRssKiB = 0;
};

// Runs `args` with its output thrown away; wall time and peak resident memory.
SRunResult RunProgram(const std::vector<std::string>& args) {
    // A child must not inherit, and later write, what this process has not written yet.
    std::fflush(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        std::vector<char*> argv;
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    SRunResult result;
    result.m_dSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.m_bOk = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    result.m_nMaxRssKiB = usage.ru_maxrss;
    return result;
}

// Instructions of every thread of `args`, as counted by callgrind.
long long CountInstructions(const std::vector<std::string>& args, const std::string& outFile) {
    std::vector<std::string> command = {"valgrind", "--tool=callgrind",
                                        "--callgrind-out-file=" + outFile};
    command.insert(command.end(), args.begin(), args.end());
    if (!RunProgram(command).m_bOk)
        return -1;
    std::ifstream in(outFile);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("totals:", 0) == 0 || line.rfind("summary:", 0) == 0)
            return std::stoll(line.substr(line.find(':') + 1));
    }
    return -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

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

    const long long ours =
        CountInstructions(wavsmith(dir.File("s5.wav"), dir.File("cg")), dir.File("callgrind.ours"));
    const long long base =
        CountInstructions({reference, dir.File("s5.wav"), dir.File("reference5.mp3"), "160"},
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
        oursSeconds.push_back(RunProgram(wavsmith(dir.File("s60.wav"), dir.File("w"))).m_dSeconds);
        lameSeconds.push_back(RunProgram({"lame", "--quiet", "-b", "160", "-m", "s",
                                          dir.File("s60.wav"), dir.File("lame60.mp3")})
                                  .m_dSeconds);
        referenceSeconds.push_back(
            RunProgram({reference, dir.File("s60.wav"), dir.File("reference60.mp3"), "160"})
                .m_dSeconds);
    }
    std::printf("wall time, 60 s file, median of 5 alternated runs: wavsmith-cli %.3f s, "
                "lame %.3f s, reference %.3f s\n",
                Median(oursSeconds), Median(lameSeconds), Median(referenceSeconds));
    std::printf("wall ratio wavsmith-cli/lame: %.3f (goal: at most 1); reference/lame: %.3f\n",
                Median(oursSeconds) / Median(lameSeconds),
                Median(referenceSeconds) / Median(lameSeconds));

    const SRunResult shortRun = RunProgram(wavsmith(dir.File("s10.wav"), dir.File("m10")));
    const SRunResult longRun = RunProgram(wavsmith(dir.File("s600.wav"), dir.File("m600")));
    std::printf("peak memory: 10 s file %ld KiB, 10 min file %ld KiB, difference %ld KiB "
                "(goal: at most 2048)\n",
                shortRun.m_nMaxRssKiB, longRun.m_nMaxRssKiB,
                longRun.m_nMaxRssKiB - shortRun.m_nMaxRssKiB);
    return shortRun.m_bOk && longRun.m_bOk ? 0 : 1;
}
