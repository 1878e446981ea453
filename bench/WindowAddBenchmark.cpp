// Adding 10,000 WAV files through the desktop window (as Open File(s) adds those chosen in
// its dialog: the rows shown as they come, the names built, the list painted) against the
// core adding and naming the same files on its own. The two are run alternately in one process and
// their ratio is printed, with the longest time the window's event loop stood still.
#include "PairedRuns.h"
#include "app/WavsmithMainFrame.h"
#include "app/WavsmithView.h"
#include "ui/UiTestContext.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>

namespace {
constexpr int kFileCount = 10000;

struct SFixture {
    SUiTestContext m_window;
    SUiTestContext m_core;
    std::vector<std::string> m_paths;
    QStringList m_chosen;
    std::unique_ptr<CWavsmithMainFrame> m_pFrame;
    qint64 m_nLongestStillMs = 0;

    SFixture() {
        const std::string bytes = CWaveWriter::PcmTone(2, 44100, 0.01);
        for (int i = 0; i < kFileCount; ++i) {
            const std::string path = m_window.m_dir.File("track " + std::to_string(i) + ".wav");
            std::ofstream(path, std::ios::binary) << bytes;
            m_paths.push_back(path);
            m_chosen.push_back(QString::fromStdString(path));
        }
        m_window.m_settings.m_strInputDir.clear();
        m_pFrame =
            std::make_unique<CWavsmithMainFrame>(m_window.m_context, CLanguageMenu::RestartHook());
        m_pFrame->ShowFromProfile();
        QCoreApplication::processEvents();
    }
};

// Made after the application object and gone before it.
std::unique_ptr<SFixture> g_pFixture;

SFixture& Fixture() {
    if (!g_pFixture)
        g_pFixture = std::make_unique<SFixture>();
    return *g_pFixture;
}

void AddThroughTheWindow(benchmark::State& state) {
    SFixture& fixture = Fixture();
    CWavsmithView& view = fixture.m_pFrame->View();
    for (auto _ : state) {
        state.PauseTiming();
        fixture.m_window.m_fileList.DeleteAllItems();
        view.UpdateList();
        QCoreApplication::processEvents();
        // How long the event loop stands still while the list fills.
        QElapsedTimer sinceTick;
        qint64 longest = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout,
                         [&] { longest = std::max(longest, sinceTick.restart()); });
        tick.start(5);
        state.ResumeTiming();

        sinceTick.start();
        view.AddFiles(fixture.m_chosen);
        fixture.m_pFrame->repaint();

        state.PauseTiming();
        longest = std::max(longest, sinceTick.elapsed());
        fixture.m_nLongestStillMs = longest;
        if (fixture.m_window.m_tracks.Count() != fixture.m_paths.size())
            state.SkipWithError("a file was refused");
        state.ResumeTiming();
    }
}

void AddInTheCore(benchmark::State& state) {
    SFixture& fixture = Fixture();
    CFileList& list = fixture.m_core.m_fileList;
    for (auto _ : state) {
        state.PauseTiming();
        list.DeleteAllItems();
        state.ResumeTiming();
        list.OpenFiles(fixture.m_paths);
        benchmark::DoNotOptimize(fixture.m_core.m_tracks.At(0).m_strMp3Path.data());
    }
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Fixture();
    const SPairedResult result =
        CPairedRuns::Run("AddThroughTheWindow", AddThroughTheWindow, "AddInTheCore", AddInTheCore,
                         benchmark::kMillisecond);
    const qint64 longestStillMs = Fixture().m_nLongestStillMs;
    g_pFixture.reset();
    if (!result.m_bOk)
        return 1;
    std::printf("\nadding %d files through the window: %.1f ms; in the core alone: %.1f ms\n",
                kFileCount, result.m_dMedian, result.m_dReferenceMedian);
    std::printf("longest the window's event loop stood still while the list filled: %lld ms\n",
                static_cast<long long>(longestStillMs));
    std::printf("ratio window/core: %.2f (goal: at most 1.5)\n", result.m_dRatio);
    return 0;
}
