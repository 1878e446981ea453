#include "encoding/ui/EncodingDialog.h"

#include "encoding/TrackItem.h"
#include "filelist/TrackListColumns.h"
#include "filelist/ui/TrackListModel.h"
#include "ui/UiTestContext.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

namespace {
// A message box that stays open while `m_whileOpen` runs, as a user would leave it.
class CLingeringPrompt : public IUserPrompt {
public:
    void ShowMessage(const std::string& strText, EPromptIcon) override {
        m_messages.push_back(strText);
        QEventLoop box;
        QTimer::singleShot(20, &box, [&] {
            m_whileOpen();
            box.quit();
        });
        box.exec();
    }
    bool AskYesNo(const std::string& strText, EPromptIcon) override {
        m_questions.push_back(strText);
        return true;
    }

    std::function<void()> m_whileOpen;
    std::vector<std::string> m_messages;
    std::vector<std::string> m_questions;
};

struct SEncodingTest : SUiTestContext {
    SEncodingTest() {
        m_settings.m_nEncodeJobs = 1;
        m_settings.m_strInputDir = m_dir.Path();
        m_settings.m_strOutputDir = m_dir.Path();
        m_settings.m_strAlbum = "Album";
        m_settings.m_strYear = "2001";
    }
    void AddFiles() {
        m_fileList.Refresh();
        m_fileList.ApplySettings();
    }
    bool Exists(const std::string& strName) const {
        return std::filesystem::exists(m_dir.File(strName));
    }
};
} // namespace

TEST(EncodingDialogTest, TwoTracksRunToTheEndAndTheWindowClosesItself) {
    SEncodingTest test;
    test.WriteWave("a.wav", 0.5);
    test.WriteWave("b.wav", 0.5);
    test.AddFiles();
    // Two jobs: a line and a bar for each running track.
    test.m_settings.m_nEncodeJobs = 2;
    CEncodingDialog dialog(test.m_context, nullptr, WAVSMITH_LAME_ENC_PATH);
    EXPECT_EQ(dialog.WorkerRows(), 2u);
    // No worker has a track yet: no empty bars.
    EXPECT_TRUE(dialog.FileBar(0).isHidden());
    EXPECT_TRUE(dialog.FileBar(1).isHidden());
    EXPECT_TRUE(dialog.IsCollapsed());
    EXPECT_EQ(dialog.height(), dialog.FullHeight() * 5 / 12);
    dialog.ToggleDetails();
    EXPECT_EQ(dialog.height(), dialog.FullHeight());
    QSignalSpy redraws(&dialog, &CEncodingDialog::TracksChanged);

    EXPECT_EQ(dialog.RunModal(), QDialog::Accepted);
    EXPECT_EQ(redraws.count(), 4); // each track as it starts and as it ends
    EXPECT_TRUE(test.m_tracks.At(0).m_bEncoded);
    EXPECT_TRUE(test.m_tracks.At(1).m_bEncoded);
    EXPECT_FALSE(test.m_tracks.At(1).m_bChecked);
    EXPECT_TRUE(test.Exists("01 - a.mp3"));
    EXPECT_TRUE(test.Exists("02 - b.mp3"));
    EXPECT_EQ(test.m_dir.ReadFile("2001 - Album.m3u"),
              test.m_dir.File("01 - a.mp3") + "\n" + test.m_dir.File("02 - b.mp3") + "\n");
    EXPECT_TRUE(test.m_prompt.Entries().empty());
}

TEST(EncodingDialogTest, StopAnsweredYesEndsTheRunWithoutAPartialFile) {
    SEncodingTest test;
    test.WriteWave("long.wav", 10);
    test.WriteWave("short.wav", 0.5);
    test.AddFiles();
    test.m_settings.m_nEncodeJobs = 2;
    CEncodingDialog dialog(test.m_context, nullptr, WAVSMITH_LAME_ENC_PATH);
    bool expanded = false;
    bool rowsSeen = false;
    QString shownInput;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        // The short track is done while the long one runs: only the running row shows,
        // and the details, opened now, show the running track. The short track's worker
        // lets go of it just after marking it encoded, so the window may need an update
        // more; should it never get there, the run ends unstopped and the test fails.
        if (!test.m_tracks.At(1).m_bEncoded || test.m_tracks.At(0).m_nPercent == 0)
            return;
        if (!std::exchange(expanded, true))
            dialog.ToggleDetails();
        rowsSeen = dialog.FileBar(0).isVisible() != dialog.FileBar(1).isVisible();
        shownInput = dialog.findChild<QLineEdit*>(QStringLiteral("input"))->text();
        if (!rowsSeen || !shownInput.endsWith(QStringLiteral("long.wav")))
            return;
        watch.stop();
        dialog.StopEncoding();
    });
    watch.start(2);

    EXPECT_EQ(dialog.RunModal(), QDialog::Accepted);
    EXPECT_TRUE(rowsSeen);
    EXPECT_TRUE(shownInput.endsWith(QStringLiteral("long.wav"))) << shownInput.toStdString();
    ASSERT_EQ(test.m_prompt.Entries().size(), 1u);
    EXPECT_TRUE(test.m_prompt.Entries()[0].m_bQuestion);
    EXPECT_EQ(test.m_prompt.Entries()[0].m_strText, "Are you shure to stop encoding?");
    EXPECT_EQ(test.m_prompt.Entries()[0].m_strTitle, "Wavsmith " WAVSMITH_VERSION);
    // The finished track's MP3 and nothing of the stopped one: no MP3, no temporary file.
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(test.m_dir.Path()))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"02 - short.mp3", "long.wav", "short.wav"}));
    EXPECT_TRUE(test.m_tracks.At(0).m_bChecked);
    EXPECT_FALSE(test.m_tracks.At(0).m_bEncoded);
}

TEST(EncodingDialogTest, StopWhileAWorkerMessageIsOpenEndsTheRunOnceItIsClosed) {
    SEncodingTest test;
    test.WriteWave("a.wav", 0.5);
    test.WriteWave("b.wav", 2);
    test.AddFiles();
    // The first WAV is gone: the worker shows a message and waits for it.
    std::filesystem::remove(test.m_dir.File("a.wav"));
    CLingeringPrompt prompt;
    SAppContext context{test.m_profile,   test.m_settings,       test.m_fileList,
                        test.m_catalogue, test.m_freedbSettings, prompt};
    CEncodingDialog dialog(context, nullptr, WAVSMITH_LAME_ENC_PATH);
    prompt.m_whileOpen = [&] { dialog.StopEncoding(); };

    EXPECT_EQ(dialog.RunModal(), QDialog::Accepted);
    ASSERT_EQ(prompt.m_messages.size(), 1u);
    EXPECT_EQ(prompt.m_messages[0].rfind("Unable to open wav file for read", 0), 0u);
    EXPECT_EQ(prompt.m_questions.size(), 1u);
    EXPECT_FALSE(test.Exists("02 - b.mp3"));
    EXPECT_FALSE(test.m_tracks.At(1).m_bEncoded);
}

TEST(EncodingDialogTest, ProgressRefreshRedrawsOnlyTheStatusOfTracksWhosePercentageMoved) {
    SEncodingTest test;
    for (const char* name : {"a.wav", "b.wav", "c.wav"})
        test.WriteWave(name, 0.1);
    test.AddFiles();
    CTrackListModel model(test.m_fileList, test.m_catalogue);
    model.RefreshWrite();
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    CTrackItem& running = test.m_tracks.At(1);
    running.m_bEncoding = true;
    running.m_nPercent = 40;

    model.RefreshProgress();
    ASSERT_EQ(changes.count(), 1);
    const QModelIndex status = model.index(1, CTrackListColumns::kStatus);
    EXPECT_EQ(changes[0][0].toModelIndex(), status);
    EXPECT_EQ(changes[0][1].toModelIndex(), status);
    EXPECT_EQ(model.data(status, Qt::DisplayRole).toString(), "40 %");
    // The same figure again: nothing to redraw.
    model.RefreshProgress();
    EXPECT_EQ(changes.count(), 1);
    running.m_nPercent = 41;
    model.RefreshProgress();
    EXPECT_EQ(changes.count(), 2);
}
