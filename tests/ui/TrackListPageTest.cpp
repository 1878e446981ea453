#include "filelist/ui/TrackListPage.h"

#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/WavsmithMainFrame.h"
#include "app/WavsmithView.h"
#include "filelist/TrackListColumns.h"
#include "filelist/ui/FolderBrowser.h"
#include "filelist/ui/SkipFilesDialog.h"
#include "filelist/ui/TrackListModel.h"
#include "filelist/ui/TrackListView.h"
#include "ui/UiTestContext.h"

#include <QCheckBox>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <gtest/gtest.h>

namespace {
using Columns = CTrackListColumns;

std::vector<std::string> Titles(const CTrackList& tracks) {
    std::vector<std::string> titles;
    for (size_t i = 0; i < tracks.Count(); ++i)
        titles.push_back(tracks.At(i).m_strTitle);
    return titles;
}

// A frame shown as at start-up, over the test's objects.
struct SShownFrame {
    explicit SShownFrame(SUiTestContext& test) : m_frame(test.m_context, {}) {
        m_frame.ShowFromProfile();
    }
    CTrackListPage& Page() { return m_frame.View().TrackListPage(); }
    CTrackListView& List() { return Page().List(); }

    CWavsmithMainFrame m_frame;
};
} // namespace

TEST(TrackListPageTest, ColumnsFollowTheProfileAndAreWrittenBackWhenThePageCloses) {
    SUiTestContext test;
    test.m_profile.WriteString("Settings", "ColumnOrderArray", "912345678");
    test.m_profile.WriteInt("View Columns", "ViewStatus", 0);
    {
        SShownFrame shown(test);
        QHeaderView& header = *shown.List().header();
        EXPECT_EQ(header.logicalIndex(0), Columns::kDirectory);
        EXPECT_TRUE(header.isSectionHidden(Columns::kStatus));
        shown.m_frame.Commands().Run(CommandId::kColumnStatus);
        EXPECT_FALSE(header.isSectionHidden(Columns::kStatus));
        EXPECT_EQ(header.sectionSize(Columns::kStatus), 75);
        EXPECT_TRUE(shown.m_frame.Commands().Action(CommandId::kColumnStatus)->isChecked());
        // The user drags the title to the front.
        header.moveSection(header.visualIndex(Columns::kTitle), 0);
    }
    EXPECT_EQ(test.m_profile.GetString("Settings", "ColumnOrderArray", ""), "791234568");
    EXPECT_EQ(test.m_profile.GetInt("View Columns", "ViewStatus", -1), 1);

    test.m_profile.WriteString("Settings", "ColumnOrderArray", "791234567");
    SShownFrame shown(test);
    EXPECT_EQ(shown.List().header()->logicalIndex(0), Columns::kWavName);
}

TEST(TrackListPageTest,
     HeaderClicksSortADoubleClickEditsTheFocusedTitleAndSpaceChecksTheFocusedRow) {
    SUiTestContext test;
    test.m_settings.m_strInputDir = test.m_dir.Path();
    test.WriteWave("b.wav", 2);
    test.WriteWave("a.wav", 3);
    test.WriteWave("c.wav", 1);
    SShownFrame shown(test);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&shown.m_frame));
    CTrackListView& list = shown.List();
    QHeaderView& header = *list.header();
    const auto clickHeader = [&header](int nColumn) {
        QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                          QPoint(header.sectionViewportPosition(nColumn) + 4, header.height() / 2));
    };
    clickHeader(Columns::kPlayTime);
    EXPECT_EQ(Titles(test.m_tracks), (std::vector<std::string>{"c", "b", "a"}));
    clickHeader(Columns::kPlayTime);
    EXPECT_EQ(Titles(test.m_tracks), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(header.sortIndicatorOrder(), Qt::DescendingOrder);
    clickHeader(Columns::kNumber);
    EXPECT_EQ(Titles(test.m_tracks), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(list.model()->index(0, Columns::kNumber).data().toString(), "1");

    // As the window system sends a double click: press, release, double click, release.
    const auto doubleClickTitle = [&list](int nRow) {
        const QPoint title = list.visualRect(list.model()->index(nRow, Columns::kTitle)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, title);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, title);
        QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, title);
    };
    const auto editor = [&list] { return list.viewport()->findChild<QLineEdit*>(); };
    list.setCurrentIndex(list.model()->index(0, 0));
    doubleClickTitle(1);
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(list.currentIndex().row(), 1);
    doubleClickTitle(1);
    ASSERT_NE(editor(), nullptr);
    editor()->setText(QStringLiteral("Bridge"));
    QTest::keyClick(editor(), Qt::Key_Return);
    // The delegate commits the edit after the key has been handled.
    EXPECT_TRUE(QTest::qWaitFor([&test] { return test.m_tracks.At(1).m_strTitle == "Bridge"; }));
    EXPECT_EQ(test.m_tracks.At(1).m_strMp3Path, test.m_dir.Path() + "02 - Bridge.mp3");

    // Space checks and unchecks the focused row from any of its cells.
    list.setCurrentIndex(list.model()->index(2, Columns::kMp3Name));
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_FALSE(test.m_tracks.At(2).m_bChecked);
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_TRUE(test.m_tracks.At(2).m_bChecked);
}

TEST(TrackListPageTest, CellsArePaintedAsTheStyleDrawsThem) {
    SUiTestContext test;
    test.m_settings.m_strInputDir = test.m_dir.Path();
    test.WriteWave("a rather long file name that the name column cannot hold.wav");
    test.WriteWave("short.wav", 2);
    test.WriteWave("third.wav", 3);
    SShownFrame shown(test);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown.m_frame));
    CTrackListView& list = shown.List();
    // A selected row, the bold row of a track being encoded and an unchecked row.
    list.selectionModel()->select(list.model()->index(0, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    test.m_tracks.At(1).m_bEncoding = true;
    test.m_tracks.At(2).m_bChecked = false;
    const QImage ours = list.viewport()->grab().toImage();
    list.setItemDelegate(new QStyledItemDelegate(&list));
    EXPECT_EQ(ours, list.viewport()->grab().toImage());
}

TEST(TrackListPageTest, TreeSelectionReplacesTheListOnlyWithWavFilesAndAVanishedSourceGivesRoot) {
    SUiTestContext test;
    test.m_settings.m_strInputDir = test.m_dir.Path() + "gone/";
    test.WriteWave("full/a.wav");
    std::filesystem::create_directory(test.m_dir.Path() + "empty");
    SShownFrame shown(test);
    EXPECT_EQ(test.m_settings.m_strInputDir, "/");
    EXPECT_EQ(shown.Page().SelectedFolder(), "/");

    test.m_fileList.OpenFiles({test.WriteWave("loose.wav")});
    shown.Page().SelectFolder(QString::fromStdString(test.m_dir.Path() + "empty"));
    EXPECT_EQ(Titles(test.m_tracks), std::vector<std::string>{"loose"});
    EXPECT_EQ(test.m_settings.m_strInputDir, test.m_dir.Path() + "empty/");
    shown.Page().SelectFolder(QString::fromStdString(test.m_dir.Path() + "full"));
    EXPECT_EQ(Titles(test.m_tracks), std::vector<std::string>{"a"});
    EXPECT_EQ(shown.Page().Model().rowCount(), 1);
}

TEST(TrackListPageTest, OpenDirectoryTakesSubfoldersWhenTickedAndRemembersTheBox) {
    SUiTestContext test;
    test.m_settings.m_strInputDir.clear();
    test.WriteWave("top/sub/a.wav");
    SShownFrame shown(test);
    const QString top = QString::fromStdString(test.m_dir.Path() + "top");
    OnNextModal<CFolderBrowser>([&top](CFolderBrowser& browser) {
        EXPECT_EQ(browser.windowTitle(), "Open Source Directory");
        auto* subfolders = browser.findChild<QCheckBox*>();
        ASSERT_NE(subfolders, nullptr);
        EXPECT_FALSE(subfolders->isChecked());
        subfolders->setChecked(true);
        browser.SetStartFolder(top);
        browser.accept();
    });
    shown.m_frame.Commands().Run(CommandId::kOpenDirectory);
    EXPECT_EQ(Titles(test.m_tracks), std::vector<std::string>{"a"});
    EXPECT_EQ(test.m_settings.m_strInputDir, test.m_dir.Path() + "top/");
    EXPECT_EQ(test.m_profile.GetInt("Settings", CWavsmithView::kSubfoldersKey, 0), 1);

    bool ticked = false;
    OnNextModal<CFolderBrowser>([&ticked](CFolderBrowser& browser) {
        ticked = browser.IsChecked();
        browser.reject();
    });
    shown.m_frame.Commands().Run(CommandId::kOpenDirectory);
    EXPECT_TRUE(ticked);
}

TEST(TrackListPageTest, DestinationBrowserStaysOpenUntilTheTypedFolderIsValidAndMade) {
    SUiTestContext test;
    SShownFrame shown(test);
    const std::string made = test.m_dir.Path() + "new/out";
    bool stayedOpen = false;
    OnNextModal<CFolderBrowser>([&](CFolderBrowser& browser) {
        ASSERT_NE(browser.EditBox(), nullptr);
        EXPECT_EQ(browser.windowTitle(), "Wavsmith 1.65");
        browser.EditBox()->setText(QStringLiteral("relative/out"));
        browser.accept();
        stayedOpen = browser.isVisible();
        browser.EditBox()->setText(QString::fromStdString(made));
        browser.accept();
    });
    shown.m_frame.Commands().Run(CommandId::kDestination);
    EXPECT_TRUE(stayedOpen);
    const auto entries = test.m_prompt.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].m_strText, "The folder:\n\nrelative/out/\n\nis invalid. Please reenter.");
    EXPECT_TRUE(entries[1].m_bQuestion);
    EXPECT_TRUE(std::filesystem::is_directory(made));
    EXPECT_EQ(test.m_settings.m_strOutputDir, made + "/");
}

TEST(TrackListPageTest, DroppedFilesAndFoldersAreAddedAndRefusalsListedWithTheirReasons) {
    SUiTestContext test;
    test.m_settings.m_strInputDir.clear();
    test.WriteWave("drop/a.wav");
    const std::string notes = test.m_dir.WriteFile("notes.txt", "x");
    SShownFrame shown(test);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(test.m_dir.Path() + "drop")),
                  QUrl::fromLocalFile(QString::fromStdString(notes))});
    QWidget& viewport = *shown.List().viewport();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QString listed;
    OnNextModal<CSkipFilesDialog>([&listed](CSkipFilesDialog& dialog) {
        auto* table = dialog.findChild<QTableWidget*>();
        listed = table->item(0, 1)->text() + " | " + table->item(0, 2)->text();
        dialog.findChild<QCheckBox*>()->setChecked(true);
        dialog.accept();
    });
    QApplication::sendEvent(&viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QApplication::sendEvent(&viewport, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_TRUE(QTest::qWaitFor([&listed] { return !listed.isEmpty(); }));
    EXPECT_EQ(test.m_tracks.Count(), 1u);
    EXPECT_EQ(listed, QString::fromStdString(notes + " | not a .wav file name"));
    EXPECT_TRUE(test.m_fileList.m_bDontShowSkipped);
}

TEST(TrackListPageTest, FoldersGivenAtStartAreAllListedAndTheTreeShowsTheLastWithoutRereadingIt) {
    SUiTestContext test;
    test.m_settings.m_strInputDir.clear();
    test.WriteWave("one/a.wav");
    test.WriteWave("two/b.wav");
    // A name wider than the tree makes every row as wide.
    std::filesystem::create_directory(test.m_dir.Path() + std::string(150, 'x'));
    SShownFrame shown(test);
    shown.m_frame.View().OpenPaths({test.m_dir.Path() + "one", test.m_dir.Path() + "two"});
    EXPECT_EQ(Titles(test.m_tracks), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(shown.Page().SelectedFolder(), QString::fromStdString(test.m_dir.Path() + "two"));
    // Once on screen the tree shows that folder, the short name from its start, not the
    // middle of the wide row.
    QTreeView& tree = shown.Page().Tree();
    EXPECT_TRUE(QTest::qWaitFor([&tree] { return tree.currentIndex().isValid(); }));
    QTest::qWait(300);
    EXPECT_EQ(tree.currentIndex().data(QFileSystemModel::FilePathRole).toString(),
              QString::fromStdString(test.m_dir.Path() + "two"));
    EXPECT_EQ(tree.horizontalScrollBar()->value(), 0);
    EXPECT_EQ(Titles(test.m_tracks), (std::vector<std::string>{"a", "b"}));
}
