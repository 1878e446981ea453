#include "cli/EncodeCommand.h"

#include "cli/EncodeOptions.h"
#include "cli/ListCommand.h"
#include "cli/Terminal.h"
#include "encoding/AppSettings.h"
#include "encoding/EncodeObserver.h"
#include "encoding/EncodeProgress.h"
#include "encoding/EncodeRun.h"
#include "encoding/EncoderLibrary.h"
#include "encoding/WaveReader.h"
#include "filelist/FileList.h"
#include "filelist/TrackList.h"
#include "platform/Profile.h"
#include "platform/Text.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <iostream>
#include <mutex>

namespace {
// The first of the signals below that arrived, or 0.
volatile std::sig_atomic_t g_nStopSignal = 0;

void OnStopSignal(int nSignal) {
    if (g_nStopSignal == 0)
        g_nStopSignal = nSignal;
}

// Ctrl+C, a closed terminal (SIGHUP) and SIGTERM become the Stop command while the
// object lives, so the unfinished MP3 files are removed before the program ends.
class CInterruptGuard {
public:
    static constexpr int kSignals[] = {SIGINT, SIGHUP, SIGTERM};

    CInterruptGuard() {
        g_nStopSignal = 0;
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        for (size_t i = 0; i < std::size(kSignals); ++i)
            ::sigaction(kSignals[i], &action, &m_previous[i]);
    }
    ~CInterruptGuard() {
        for (size_t i = 0; i < std::size(kSignals); ++i)
            ::sigaction(kSignals[i], &m_previous[i], nullptr);
    }

private:
    struct sigaction m_previous[std::size(kSignals)]{};
};

// The command line reads the run's counters and track flags for its progress, so it needs
// none of the run's calls.
// Tells the waiting command the moment the run ends, so it neither polls nor idles
// after the last track.
class CQuietObserver : public IEncodeObserver {
public:
    void OnUpdateCounters() override {}
    void OnTrackStarted(const CTrackItem&, unsigned) override {}
    void OnTrackFinished(const CTrackItem&, unsigned) override {}
    void OnTrackInfo(const CTrackItem&, const CEncoderLibrary::Config&, unsigned) override {}
    void OnRunEnded() override {
        const std::lock_guard lock(m_mutex);
        m_bEnded = true;
        m_ended.notify_all();
    }

    // True once the run has ended; otherwise waits at most `timeout` for it.
    bool WaitForEnd(std::chrono::milliseconds timeout) {
        std::unique_lock lock(m_mutex);
        return m_ended.wait_for(lock, timeout, [this] { return m_bEnded; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_bEnded = false;
};

long long SteadySeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A bar of 20 characters for a percentage.
std::string Bar(int nPercent) {
    const int filled = std::clamp(nPercent, 0, 100) / 5;
    return "[" + std::string(static_cast<size_t>(filled), '#') +
           std::string(static_cast<size_t>(20 - filled), '-') + "]";
}

// The progress of the run: with one worker one line, the file and both percentages; with
// several, the total and then one line and bar per track being encoded.
std::string ProgressText(const CEncodeRun& run, const CTrackList& tracks,
                         std::vector<CEncodeProgress>& progress) {
    std::string text;
    unsigned nShown = 0;
    for (unsigned n = 0; n < run.WorkerCount(); ++n) {
        progress[n].UpdateEncodeCounters(tracks, run.Counters(n), SteadySeconds(), true);
        const int position = run.Counters(n).m_nTrack;
        if (position < 0)
            continue;
        const std::string file(
            CText::FileNamePart(tracks.At(static_cast<size_t>(position)).m_strWavPath));
        if (run.WorkerCount() == 1)
            return CText::Format("%s: %d %%  (all files: %u %%)", file.c_str(),
                                 progress[n].m_nFilePercent, progress[n].m_nOverallPercent);
        text += CText::Format("\n  %s %3d %%  %s", Bar(progress[n].m_nFilePercent).c_str(),
                              progress[n].m_nFilePercent, file.c_str());
        ++nShown;
    }
    if (nShown == 0)
        return {};
    return CText::Format("all files: %u %%", progress[0].m_nOverallPercent) + text;
}

// What the run left for the summary line; the run itself ends inside the encoding step.
struct SPlaylistOutcome {
    std::string m_strPath;
    unsigned m_nFailures = 0;
};

// One line on the error stream, so that the standard output stays a list of MP3 files.
void PrintSummary(unsigned nWritten, size_t nSkipped, unsigned nFailed,
                  const SPlaylistOutcome& playlist) {
    std::cerr << "wavsmith-cli: " << nWritten << " written, " << nSkipped << " skipped, " << nFailed
              << " failed";
    if (nWritten > 0 && !playlist.m_strPath.empty()) {
        std::cerr << "; playlist " << playlist.m_strPath;
        if (playlist.m_nFailures > 0)
            std::cerr << " (" << playlist.m_nFailures << " entries could not be written)";
    }
    std::cerr << '\n';
}

} // namespace

CEncodeCommand::CEncodeCommand(CAppSettings& settings, CProfile& profile,
                               const CStringCatalogue& catalogue, const CEncodeOptions& options)
    : m_settings(settings), m_profile(profile), m_catalogue(catalogue), m_options(options) {}

int CEncodeCommand::Run(const std::vector<std::string>& paths) {
    CTerminal terminal(m_options.m_bAssumeYes);
    CTrackList tracks;
    CListCommand adder(m_settings, m_profile);
    const bool allRead = adder.AddPaths(paths, tracks, std::cerr);
    for (const SSkippedFile& skipped : adder.SkippedFiles())
        std::cerr << "wavsmith-cli: skipped " << skipped.m_strPath << ": "
                  << CWaveReader::RefusalText(skipped.m_refusal, m_catalogue) << '\n';
    if (tracks.Empty()) {
        std::cerr << "wavsmith-cli: no WAV file to encode\n";
        return 1;
    }

    std::vector<bool> checkedAtStart;
    for (size_t i = 0; i < tracks.Count(); ++i)
        checkedAtStart.push_back(tracks.At(i).m_bChecked);

    CFileList fileList(tracks, m_settings, m_profile);
    if (m_listStep && !m_listStep(fileList))
        return 1;
    int stopSignal = 0;
    bool libraryLoaded = true;
    SPlaylistOutcome playlist;
    const bool started = fileList.Encode(terminal, m_catalogue, [&] {
        CEncoderLibrary library;
        if (!library.LoadEncoderLibrary(terminal)) {
            libraryLoaded = false;
            return;
        }
        CQuietObserver observer;
        CInterruptGuard interruptGuard;
        CEncodeRun run(tracks, m_settings, library, observer, terminal);
        std::vector<CEncodeProgress> progress(run.WorkerCount(), CEncodeProgress(m_catalogue));
        run.Start(m_settings.m_nThreadPriority);
        while (!observer.WaitForEnd(std::chrono::milliseconds(100)) && !run.WorkerEnded()) {
            if (g_nStopSignal != 0 && stopSignal == 0) {
                stopSignal = g_nStopSignal;
                run.RequestStop();
            }
            if (m_options.m_bNoProgress)
                continue;
            const std::string text = ProgressText(run, tracks, progress);
            if (!text.empty())
                terminal.ShowProgress(text);
        }
        run.Join();
        terminal.EndProgress();
        if (m_settings.m_nPlaylistType != 0)
            playlist = {run.PlaylistPath(), run.PlaylistFailures()};
    });

    const bool saved = !m_options.m_bSave || m_settings.SaveSettings(m_profile);
    if (!saved)
        std::cerr << "wavsmith-cli: the settings could not be saved to " << m_profile.Path()
                  << '\n';
    unsigned written = 0;
    unsigned failed = 0;
    for (size_t i = 0; i < tracks.Count(); ++i) {
        if (tracks.At(i).m_bWavKept)
            std::cerr << "wavsmith-cli: " << tracks.At(i).m_strWavPath
                      << " kept, as its MP3 file is not proven whole: "
                      << tracks.At(i).m_strWavKeptReason << '\n';
        if (tracks.At(i).m_bEncoded) {
            std::cout << tracks.At(i).m_strMp3Path << '\n';
            ++written;
        } else if (checkedAtStart[i]) {
            ++failed;
        }
    }
    PrintSummary(written, adder.SkippedFiles().size(), failed, playlist);
    if (stopSignal != 0)
        return kExitAfterSignal + stopSignal;
    // Refused files were reported above; they never were tracks to encode.
    return started && libraryLoaded && allRead && saved && failed == 0 ? 0 : 1;
}
