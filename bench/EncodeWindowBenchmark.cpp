// The encode run started from the desktop program's window against `wavsmith-cli encode` of
// the same file with the same profile, in one run: instructions counted by callgrind from
// the Encode command on (the window thread from the command to the window's close, with
// every repaint in between, and the encode worker), so the program's start-up and Qt's are
// left out on both sides.
//
// Callgrind runs the program some fifty times slower, so the window's 350 ms display timer
// fires fifty times as often per encoded second as it does for a user. The window is
// therefore counted twice, once with every tick and once with one tick in eight delivered;
// the difference prices a tick with all it causes (the file list's refresh and the repaints
// that follow), and the ratio is given with as many ticks as the same run has at full speed.
// usage: encode_window_benchmark WAVSMITH_CLI
//        encode_window_benchmark --window PROFILE TICKFILE EVERY   (one window run)
#include "ChildProgram.h"
#include "app/AppContext.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/WavsmithMainFrame.h"
#include "encoding/AppSettings.h"
#include "filelist/FileList.h"
#include "filelist/TrackList.h"
#include "freedb/service/FreeDBSettings.h"
#include "lang/StringCatalogue.h"
#include "platform/Profile.h"
#include "platform/ui/ThemeIcon.h"
#include "platform/ui/WindowPrompt.h"
#include "support/TempDir.h"
#include "support/WaveWriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {
// Long enough under callgrind for the main window to show and load its folder tree.
constexpr qint64 kSettleMilliseconds = 10000;

constexpr int kRefreshMilliseconds = 350;
// A track of a batch rather than a jingle, so that opening and closing the window weigh
// as they do for a user.
constexpr double kSeconds = 30.0;

// Ticks delivered in the second window run: one in this many.
constexpr long long kSparseTicks = 8;

// What callgrind counts: the Encode command on the window thread, and the workers.
const std::vector<std::string> kRunToggles = {"--toggle-collect=CFileList::Encode*",
                                              "--toggle-collect=CEncodeRun::RunWorker*"};

// Delivers one in `m_nEvery` ticks of the encoding window's display timer and counts them.
class CTickFilter : public QObject {
public:
    explicit CTickFilter(long long nEvery) : m_nEvery(nEvery) {}
    bool eventFilter(QObject* pObject, QEvent* pEvent) override {
        if (pEvent->type() != QEvent::Timer)
            return false;
        const auto* timer = qobject_cast<QTimer*>(pObject);
        if (timer == nullptr || timer->interval() != kRefreshMilliseconds)
            return false;
        if (m_nSeen++ % m_nEvery != 0)
            return true;
        ++m_nTicks;
        return false;
    }
    long long m_nEvery;
    long long m_nSeen = 0;
    long long m_nTicks = 0;
};

bool Run(const std::vector<std::string>& args) {
    return CChildProgram::Run(args).m_bOk;
}

long long CountInstructions(std::vector<std::string> args, const std::string& outFile) {
    std::vector<std::string> command = {"valgrind", "--tool=callgrind", "--collect-atstart=no",
                                        "--callgrind-out-file=" + outFile};
    command.insert(command.end(), kRunToggles.begin(), kRunToggles.end());
    command.insert(command.end(), args.begin(), args.end());
    if (!Run(command))
        return -1;
    std::ifstream in(outFile);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("totals:", 0) == 0 || line.rfind("summary:", 0) == 0)
            return std::stoll(line.substr(line.find(':') + 1));
    }
    return -1;
}

long long ReadNumber(const std::string& strPath) {
    long long number = -1;
    std::ifstream(strPath) >> number;
    return number;
}

// The desktop program's objects over `profile`, its main window started as at program
// start (which fills the list from the source folder), and the Encode command.

int RunWindow(int argc, char** argv, const std::string& strProfile, const std::string& strTicks,
              long long nEvery) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ThemeIcon::ChooseFallbackTheme();
    CProfile profile(strProfile);
    CAppSettings settings;
    settings.LoadSettings(profile);
    CStringCatalogue catalogue;
    CTrackList tracks;
    CFileList fileList(tracks, settings, profile);
    CFreeDBSettings freedbSettings(profile.Path() + ".cdplayer");
    CWindowPrompt prompt(QStringLiteral("Wavsmith"));
    SAppContext context{profile, settings, fileList, catalogue, freedbSettings, prompt};
    CTickFilter ticks(nEvery);
    application.installEventFilter(&ticks);
    CWavsmithMainFrame frame(context, {});
    frame.ShowFromProfile();
    // The user presses Start on a window that has settled: its first paint and the folder
    // tree's loading belong to the program's start, not to the run.
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < kSettleMilliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    frame.Commands().Run(CommandId::kEncode);
    const bool encoded = !tracks.Empty() && tracks.At(0).m_bEncoded;
    frame.close();
    std::ofstream(strTicks) << ticks.m_nTicks << '\n';
    return encoded ? 0 : 1;
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--window")
        return RunWindow(argc, argv, argv[2], argv[3], std::atoll(argv[4]));
    if (argc != 2) {
        std::fprintf(stderr, "usage: encode_window_benchmark WAVSMITH_CLI\n");
        return 2;
    }
    // The files go beside the benchmark rather than into the shared temporary folder: the
    // window's folder tree watches the folders above the source folder, and other programs
    // writing there would be counted as the run's.
    ::setenv("TMPDIR", std::filesystem::canonical("/proc/self/exe").parent_path().c_str(), 1);
    CTempDir dir;
    const std::string wavDir = dir.File("wav/");
    const std::string profile = dir.File("Wavsmith.ini");
    if (!Run({"mkdir", "-p", wavDir, dir.File("window"), dir.File("cli")}))
        return 1;
    std::ofstream(wavDir + "tone.wav", std::ios::binary)
        << CWaveWriter::PcmTone(2, 44100, kSeconds, 440.0);
    std::ofstream(profile) << "[settings_main]\nInputDir=" << wavDir
                           << "\nOutputDir=" << dir.File("window/") << "\n[PlayList]\nType=0\n";

    const auto window = [&](long long nEvery) {
        return std::vector<std::string>{argv[0], "--window", profile, dir.File("ticks"),
                                        std::to_string(nEvery)};
    };
    const long long all = CountInstructions(window(1), dir.File("callgrind.window"));
    const long long ticks = ReadNumber(dir.File("ticks"));
    const long long sparse = CountInstructions(window(kSparseTicks), dir.File("callgrind.sparse"));
    const long long sparseTicks = ReadNumber(dir.File("ticks"));
    const long long cli =
        CountInstructions({argv[1], "--profile", profile, "encode", wavDir + "tone.wav", "--out",
                           dir.File("cli/"), "--yes", "--no-progress"},
                          dir.File("callgrind.cli"));
    const bool native = Run(window(1));
    const long long nativeTicks = ReadNumber(dir.File("ticks"));
    if (all <= 0 || sparse <= 0 || cli <= 0 || ticks <= sparseTicks || sparseTicks < 0 || !native ||
        nativeTicks < 0) {
        std::fprintf(stderr, "a run failed\n");
        return 1;
    }
    // Instructions grow with the ticks delivered: a fixed part and a price per tick.
    const double perTick =
        static_cast<double>(all - sparse) / static_cast<double>(ticks - sparseTicks);
    const double fixed = static_cast<double>(all) - perTick * static_cast<double>(ticks);
    const double fullSpeed = fixed + perTick * static_cast<double>(nativeTicks);
    std::printf("instructions of the run, %.0f s stereo at 160 kbit/s: window %lld with %lld "
                "display ticks under callgrind (%lld with %lld ticks), wavsmith-cli %lld\n",
                kSeconds, all, ticks, sparse, sparseTicks, cli);
    std::printf("the window beyond wavsmith-cli without ticks: %.0f instructions; one display "
                "tick with its repaints: %.0f; ticks at full speed: %lld\n",
                fixed - static_cast<double>(cli), perTick, nativeTicks);
    std::printf("instruction ratio window/wavsmith-cli: %.4f as callgrind runs it, %.4f with the "
                "ticks of a full-speed run (goal: at most 1.02)\n",
                static_cast<double>(all) / static_cast<double>(cli),
                fullSpeed / static_cast<double>(cli));
    return 0;
}
