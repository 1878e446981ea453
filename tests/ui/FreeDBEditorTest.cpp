#include "freedb/service/ui/FreeDBEditor.h"

#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/WavsmithMainFrame.h"
#include "freedb/service/ui/AlbumTrackModel.h"
#include "freedb/service/ui/AlbumTreeModel.h"
#include "freedb/service/ui/FreeDBStatusBar.h"
#include "freedb/service/ui/FreeDBTexts.h"
#include "freedb/service/ui/OperationLogBox.h"
#include "freedb/service/ui/PasswordPrompt.h"
#include "support/CddbTestServer.h"
#include "support/MusicBrainzTestServer.h"
#include "support/TinyProxy.h"
#include "ui/UiTestContext.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {
using namespace std::chrono_literals;
using EAlbumState = IOperationObserver::EAlbumState;
constexpr const char* kTwoMatches = "0c025603"; // "Test Album" (rock) and "Mixed Tape" (misc)
constexpr const char* kOneMatch = "1e0a2b04";   // "Blue Night" (jazz)
constexpr auto Disc = &CCddbTestServer::Disc;

class FreeDBEditorTest : public ::testing::Test {
protected:
    void UseServer(bool bHttp) {
        m_server.Configure(m_test.m_freedbSettings, bHttp);
        ASSERT_TRUE(m_test.m_freedbSettings.Save());
        m_server.SetConcurrent(true);
    }

    std::unique_ptr<CFreeDBEditor> Open(CAlbumInfo* pAlbum, CFreeDBEditor::EStartMode eMode) {
        auto editor = std::make_unique<CFreeDBEditor>(m_test.m_context, pAlbum, eMode);
        editor->SetWebHost("127.0.0.1", std::to_string(m_server.HttpPort()));
        editor->show();
        return editor;
    }

    static bool WaitIdle(CFreeDBEditor& editor) {
        return QTest::qWaitFor([&] { return !editor.IsOperationPending(); }, 20000);
    }

    static void SelectAlbum(CFreeDBEditor& editor, std::size_t nAlbum) {
        editor.Tree().setCurrentIndex(editor.TreeModel().IndexOfAlbum(nAlbum));
    }

    static bool LogHas(CFreeDBEditor& editor, const QString& strText) {
        QComboBox& log = editor.LogBox();
        for (int i = 0; i < log.count(); ++i) {
            if (log.itemText(i).endsWith(strText))
                return true;
        }
        return false;
    }

    SUiTestContext m_test;
    CCddbTestServer m_server;
};
} // namespace

// Over the gateway; the other tests use either transport.
TEST_F(FreeDBEditorTest, ALookupFillsTheTreeAndSelectCopiesTheAlbumBack) {
    UseServer(true);
    CAlbumInfo album = Disc(kTwoMatches);
    auto editor = Open(&album, CFreeDBEditor::kStartLookup);
    ASSERT_TRUE(WaitIdle(*editor));
    EXPECT_EQ(editor->Status().StatusText(), "Done. 2 album(s) found, 2 retrieved.");
    EXPECT_FALSE(editor->Status().IsOnline());
    EXPECT_TRUE(LogHas(*editor, "Done. 2 album(s) found, 2 retrieved."));
    // Grouped by category, then artist: two categories, each with its artist and album.
    const CAlbumTreeModel& tree = editor->TreeModel();
    ASSERT_EQ(tree.rowCount(), 2);
    const QModelIndex rock = tree.index(0, 0);
    EXPECT_EQ(rock.data().toString(), "rock");
    EXPECT_EQ(tree.index(0, 0, tree.index(0, 0, rock)).data().toString(), "Test Album");
    EXPECT_EQ(tree.State(0), EAlbumState::Normal);
    EXPECT_TRUE(editor->Tree().isExpanded(rock));

    EXPECT_EQ(editor->TrackModel().index(0, 0).data().toString(), "No album selected");
    QTreeView& view = editor->Tree();
    view.setCurrentIndex(tree.index(0, 0, rock));
    EXPECT_TRUE(editor->InfoBar().toPlainText().startsWith("Artist:\tTest Artist\nAlbum:\t\n"));
    EXPECT_FALSE(editor->Commands().Action(FreeDBText::kSelectItem)->isEnabled());
    SelectAlbum(*editor, 1);
    EXPECT_EQ(editor->InfoBar().toPlainText(),
              "Artist:\tVarious\nAlbum:\tMixed Tape\nYear:\t2001\tTracks: 3\t\tCDDB ID: 0c025603");
    EXPECT_EQ(editor->TrackModel().index(2, CAlbumTrackModel::kArtist).data().toString(),
              "Singer One")
        << "a compilation shows each track's artist";

    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(album.GetTitle(), "Mixed Tape");
    EXPECT_EQ(album.GetTrack(0).GetTitle(), "Opening");
    EXPECT_NE(m_test.m_dir.ReadFile("CDPLAYER.INI").find("title=Mixed Tape"), std::string::npos)
        << "the selected album is cached";
}

TEST_F(FreeDBEditorTest, TheTrackListEditsAndSortsTheSelectedAlbum) {
    UseServer(false);
    CAlbumInfo album = Disc(kOneMatch);
    auto editor = Open(&album, CFreeDBEditor::kStartLookup);
    ASSERT_TRUE(WaitIdle(*editor));
    SelectAlbum(*editor, 0);
    CAlbumTrackModel& tracks = editor->TrackModel();
    ASSERT_EQ(tracks.rowCount(), 4);
    EXPECT_EQ(tracks.index(1, CAlbumTrackModel::kNumber).data().toString(), "02");
    EXPECT_EQ(tracks.index(1, CAlbumTrackModel::kLength).data().toString(), "04:26");

    EXPECT_TRUE(
        tracks.setData(tracks.index(0, CAlbumTrackModel::kTitle), "Dusk (live)", Qt::EditRole));
    EXPECT_FALSE(tracks.index(0, CAlbumTrackModel::kTitle).data(Qt::DecorationRole).isNull())
        << "a changed title is marked";
    EXPECT_TRUE(tracks.setData(tracks.index(3, CAlbumTrackModel::kArtist), "Guest", Qt::EditRole));
    EXPECT_TRUE(editor->Albums().GetAt(0).IsCompilation());
    EXPECT_EQ(tracks.index(3, CAlbumTrackModel::kArtist).data().toString(), "Guest");
    EXPECT_EQ(tracks.index(0, CAlbumTrackModel::kArtist).data().toString(), "")
        << "the other tracks have no artist of their own";

    // By time, then by text, then back by number.
    editor->TrackList().sortByColumn(CAlbumTrackModel::kLength, Qt::DescendingOrder);
    EXPECT_EQ(tracks.index(0, CAlbumTrackModel::kNumber).data().toString(), "02");
    EXPECT_EQ(tracks.index(3, CAlbumTrackModel::kNumber).data().toString(), "04");
    editor->TrackList().sortByColumn(CAlbumTrackModel::kTitle, Qt::AscendingOrder);
    EXPECT_EQ(tracks.index(0, CAlbumTrackModel::kTitle).data().toString(), "Dawn");
    editor->TrackList().sortByColumn(CAlbumTrackModel::kNumber, Qt::AscendingOrder);
    EXPECT_EQ(tracks.index(0, CAlbumTrackModel::kTitle).data().toString(), "Dusk (live)");

    editor->Select();
    EXPECT_EQ(album.GetTrack(0).GetTitle(), "Dusk (live)");
    EXPECT_EQ(album.GetTrack(3).GetArtist(), "Guest");
}

TEST_F(FreeDBEditorTest, TrackListsAreFetchedInParallelAndADoubleClickFetchesAnAlbumNext) {
    UseServer(false);
    m_server.AddAlbumsOfOneDisc(6);
    m_server.SetReplyDelay(150ms);
    m_test.m_profile.WriteInt("FreeDB", "MaxThreadsCount", 1);
    CAlbumInfo album = Disc(CCddbTestServer::kManyDiscId);
    auto editor = Open(&album, CFreeDBEditor::kStartLookup);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return editor->TreeModel().State(0) == EAlbumState::Fetching; }, 10000));
    EXPECT_TRUE(editor->Commands().Action(FreeDBText::kStopAction)->isEnabled());
    EXPECT_FALSE(editor->Commands().Action(FreeDBText::kSettings)->isEnabled());
    SelectAlbum(*editor, 4);
    EXPECT_EQ(editor->TrackModel().index(0, 0).data().toString(), "No tracklist found");
    emit editor->Tree().doubleClicked(editor->Tree().currentIndex());
    ASSERT_TRUE(WaitIdle(*editor));
    std::vector<std::string> reads;
    for (const std::string& line : m_server.ReceivedLines()) {
        if (line.rfind("cddb read", 0) == 0)
            reads.push_back(line);
    }
    ASSERT_EQ(reads.size(), 6u);
    EXPECT_EQ(reads[1], "cddb read cat104 " + std::string(CCddbTestServer::kManyDiscId))
        << "moved to the front of the queue";

    // Five connections at once for six albums over one per three: two.
    m_test.m_profile.WriteInt("FreeDB", "MaxThreadsCount", 5);
    editor->Runner().RequestReconfigure();
    editor->StartLookup();
    ASSERT_TRUE(WaitIdle(*editor));
    EXPECT_EQ(editor->Runner().GetConnectionsUsed(), 2u);
    EXPECT_EQ(m_server.PeakConnectionCount(), 2);
}

TEST_F(FreeDBEditorTest, ASearchListsAlbumsWithoutTracksUntilTheirTrackListsArrive) {
    UseServer(true);
    auto editor = Open(nullptr, CFreeDBEditor::kOpenOnly);
    EXPECT_FALSE(editor->Commands().Action(FreeDBText::kGetTracklist)->isEnabled())
        << "no album was handed in";
    QLineEdit* box = editor->SearchBox().lineEdit();
    QTest::keyClicks(box, "quartet");
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_TRUE(WaitIdle(*editor));
    EXPECT_EQ(editor->Status().StatusText(), "Done. 2 album(s) found, 1 retrieved.");
    EXPECT_EQ(editor->TreeModel().State(1), EAlbumState::Failed);
    SelectAlbum(*editor, 1);
    EXPECT_EQ(editor->TrackModel().index(0, 0).data().toString(), "No tracklist found");
    EXPECT_FALSE(editor->Commands().Action(FreeDBText::kSelectItem)->isEnabled());
    EXPECT_TRUE(editor->Commands().Action(FreeDBText::kGetTracklistItem)->isEnabled());
    SelectAlbum(*editor, 0);
    editor->Select();
    EXPECT_EQ(editor->Result().GetTitle(), "Blue Night");
    EXPECT_EQ(m_test.m_profile.GetString("FreeDB\\SearchHistory", "String0", ""), "quartet");
}

TEST_F(FreeDBEditorTest, StopEndsAStalledFetchAndCancelLeavesTheAlbumAsItWas) {
    UseServer(true);
    CAlbumInfo album = Disc(kOneMatch);
    auto editor = Open(&album, CFreeDBEditor::kStartLookup);
    ASSERT_TRUE(WaitIdle(*editor));
    m_server.SetMisbehaviour(CCddbTestServer::EMisbehaviour::NoWelcome);
    SelectAlbum(*editor, 0);
    editor->StartGetTracklist();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return editor->TreeModel().State(0) == EAlbumState::Fetching; }, 10000));
    editor->Stop();
    EXPECT_FALSE(editor->Commands().Action(FreeDBText::kSettings)->isEnabled()) << "stopping";
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return LogHas(*editor, "Operation canceled by user"); }, 10000));
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(editor->Commands().Action(FreeDBText::kSettings)->isEnabled());
    EXPECT_EQ(editor->TreeModel().State(0), EAlbumState::Failed);

    editor->StartGetTracklist();
    ASSERT_TRUE(editor->IsOperationPending());
    QTest::keyClick(editor.get(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !editor->isVisible(); }, 10000));
    EXPECT_EQ(editor->result(), QDialog::Rejected);
    EXPECT_TRUE(album.GetTitle().empty());
    EXPECT_EQ(m_test.m_profile.GetInt("FreeDB", "w", 0), editor->width()) << "the size is kept";
}

TEST_F(FreeDBEditorTest, TheProxyPasswordIsAskedOnceAndAStopWhileItIsAskedEndsCleanly) {
    if (!CTinyProxy::IsInstalled())
        GTEST_SKIP() << "tinyproxy is not installed";
    const CTinyProxy proxy("alice", "s3cret");
    ASSERT_TRUE(proxy.IsRunning());
    CFreeDBSettings& settings = m_test.m_freedbSettings;
    settings.m_bUseProxy = settings.m_bProxyAuth = settings.m_bAskPassword = true;
    settings.m_strProxyServer = "127.0.0.1";
    settings.m_strProxyPort = std::to_string(proxy.Port());
    settings.m_strProxyUser = "alice";
    UseServer(true);
    CAlbumInfo album = Disc(kTwoMatches);
    auto editor =
        std::make_unique<CFreeDBEditor>(m_test.m_context, &album, CFreeDBEditor::kOpenOnly);
    int prompts = 0;
    QObject::connect(&editor->PasswordPrompt(), &CPasswordPrompt::Opened, [&](QDialog* pDialog) {
        ++prompts;
        const QList<QLineEdit*> fields = pDialog->findChildren<QLineEdit*>();
        EXPECT_EQ(fields.value(0)->text(), "alice");
        fields.value(1)->setText("s3cret");
        QTimer::singleShot(0, pDialog, &QDialog::accept);
    });
    editor->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    // Over the gateway each command is a connection of its own.
    QTest::keyClick(editor.get(), Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(WaitIdle(*editor));
    EXPECT_EQ(editor->Status().StatusText(), "Done. 2 album(s) found, 2 retrieved.");
    EXPECT_EQ(prompts, 1) << "once for the window, whatever the connections";

    // A new window asks again; a stop while the question is open closes it and ends.
    editor = std::make_unique<CFreeDBEditor>(m_test.m_context, &album, CFreeDBEditor::kOpenOnly);
    CFreeDBEditor* stopped = editor.get();
    QObject::connect(&editor->PasswordPrompt(), &CPasswordPrompt::Opened, [&, stopped] {
        ++prompts;
        QTimer::singleShot(0, stopped, &CFreeDBEditor::Stop);
    });
    editor->show();
    editor->StartLookup();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return LogHas(*editor, "Operation canceled by user"); }, 10000));
    EXPECT_EQ(prompts, 2);
    EXPECT_FALSE(editor->PasswordPrompt().IsOpen());
}

TEST_F(FreeDBEditorTest, GetInfoFromFreeDBAppliesTheSelectedAlbumToTheFileList) {
    UseServer(false);
    m_test.m_settings.m_strInputDir = m_test.m_dir.Path();
    for (const char* name : {"a.wav", "b.wav", "c.wav"})
        m_test.WriteWave(name, 2.0);
    CWavsmithMainFrame frame(m_test.m_context, {});
    frame.ShowFromProfile();
    ASSERT_EQ(m_test.m_tracks.Count(), 3u);
    const std::string discId = m_test.m_fileList.BuildAlbum().GetDiscId();
    m_server.AddAlbum({"rock", discId, "Band", "Applied",
                       "# xmcd\n#\nDISCID=" + discId +
                           "\nDTITLE=Band / Applied\nDYEAR=2020\nTTITLE0=Alpha\nTTITLE1=Beta\n"});
    // The editor is modal: it is answered from inside its own event loop.
    QTimer::singleShot(0, [&] {
        auto* editor = frame.findChild<CFreeDBEditor*>();
        ASSERT_NE(editor, nullptr);
        SelectAlbum(*editor, 0);
        if (WaitIdle(*editor) && (SelectAlbum(*editor, 0),
                                  editor->Commands().Action(FreeDBText::kSelectItem)->isEnabled()))
            editor->Select();
        else
            editor->reject();
    });
    frame.Commands().Run(CommandId::kFreeDB);
    EXPECT_EQ(m_test.m_settings.m_strAlbum, "Applied");
    EXPECT_EQ(m_test.m_tracks.At(1).m_strTitle, "Beta");
    EXPECT_EQ(m_test.m_tracks.At(1).m_strArtist, "Band");
    EXPECT_NE(m_test.m_tracks.At(1).m_strMp3Path.find("Beta"), std::string::npos);
    EXPECT_EQ(m_test.m_tracks.At(2).m_strTitle, "") << "past the album's end";
}

TEST_F(FreeDBEditorTest, ARefusedHelloIsOneErrorLineOfTheLogWhichIsSavedAndCleared) {
    UseServer(false);
    m_server.SetHelloRefusal("500 Unknown developer email");
    CAlbumInfo album = Disc(kOneMatch);
    auto editor = Open(&album, CFreeDBEditor::kStartLookup);
    ASSERT_TRUE(WaitIdle(*editor));
    EXPECT_EQ(editor->Status().StatusText(), "Error occurs. Operation failed");
    QComboBox& log = editor->LogBox();
    int errors = 0;
    for (int i = 0; i < log.count(); ++i) {
        if (log.itemData(i).toInt() == COperationLog::kError) {
            ++errors;
            EXPECT_TRUE(log.itemText(i).contains("Error 113: Hello refused: 500 Unknown developer"))
                << log.itemText(i).toStdString();
        }
    }
    EXPECT_EQ(errors, 1);

    editor->SaveLogTo(QString::fromStdString(m_test.m_dir.File("missing/log.txt")));
    ASSERT_EQ(m_test.m_prompt.Entries().size(), 1u);
    EXPECT_EQ(m_test.m_prompt.Entries()[0].m_strText, "Can't create file!");
    editor->SaveLogTo(QString::fromStdString(m_test.m_dir.File("log.txt")));
    const std::string saved = m_test.m_dir.ReadFile("log.txt");
    EXPECT_NE(saved.find("Error 113: Hello refused: 500 Unknown developer email\r\n"),
              std::string::npos);
    QAction* clear = editor->Commands().Action(FreeDBText::kClearLog);
    ASSERT_TRUE(clear->isEnabled());
    clear->trigger();
    EXPECT_EQ(log.count(), 0);
    EXPECT_FALSE(clear->isEnabled());
    EXPECT_FALSE(editor->Commands().Action(FreeDBText::kSaveLog)->isEnabled());
}

TEST_F(FreeDBEditorTest, MusicBrainzAlbumsAreListedAndSelectedLikeAnyOther) {
    CMusicBrainzTestServer musicBrainz;
    musicBrainz.Queue({200, R"({"releases": [{"id": "r1", "title": "Near", "date": "1999",
        "artist-credit": [{"name": "Band"}], "media": [{"position": 1, "tracks": [
        {"title": "One", "length": 200000}, {"title": "Two", "length": 200000},
        {"title": "Three", "length": 200000}]}]}]})"});
    CFreeDBSettings& settings = m_test.m_freedbSettings;
    settings.m_strRemoteServer = CFreeDBSettings::kMusicBrainzHost;
    settings.m_strRemotePort = CFreeDBSettings::kMusicBrainzPort;
    settings.m_strMusicBrainzUrl = musicBrainz.BaseUrl();
    CAlbumInfo album = CAlbumInfo::FromPlayTimes({200, 200, 200});
    auto editor = Open(&album, CFreeDBEditor::kStartLookup);
    ASSERT_TRUE(WaitIdle(*editor));
    EXPECT_EQ(editor->TreeModel().index(0, 0).data().toString(), "musicbrainz");
    EXPECT_EQ(editor->TreeModel().State(0), EAlbumState::Normal);
    SelectAlbum(*editor, 0);
    editor->Select();
    EXPECT_EQ(album.GetTitle(), "Near");
    EXPECT_EQ(album.GetTrack(1).GetTitle(), "Two");
}
