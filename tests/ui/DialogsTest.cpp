#include "app/AboutDialog.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/FileInformationDialog.h"
#include "app/WavsmithMainFrame.h"
#include "app/WavsmithView.h"
#include "filelist/ui/TrackListPage.h"
#include "filelist/ui/TrackListView.h"
#include "ui/UiTestContext.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {
QStringList TabTexts(const QTabBar& tabs) {
    QStringList texts;
    for (int i = 0; i < tabs.count(); ++i)
        texts.push_back(tabs.tabText(i));
    return texts;
}
} // namespace

TEST(DialogsTest, FileInformationShowsTheTracksPagesAndReopensOnTheLastTabAndPlace) {
    SUiTestContext test;
    test.m_settings.m_strInputDir = test.m_dir.Path();
    test.WriteWave("a.wav");
    CWavsmithMainFrame frame(test.m_context, {});
    frame.ShowFromProfile();
    CTrackListView& list = frame.View().TrackListPage().List();
    // Nothing is selected: nothing opens.
    bool opened = false;
    frame.Commands().Run(CommandId::kFileInformation);
    list.setCurrentIndex(list.model()->index(0, 0));

    OnNextModal<CFileInformationDialog>([&](CFileInformationDialog& dialog) {
        opened = true;
        EXPECT_EQ(dialog.windowTitle(), "File Information");
        EXPECT_EQ(TabTexts(dialog.Tabs()), QStringList({"General", "Album", "WAV", "<MP3>"}));
        EXPECT_TRUE(dialog.ShownText().startsWith("Title\t: a\nLength\t: 1 seconds."));
        dialog.Tabs().setCurrentIndex(3);
        EXPECT_TRUE(dialog.ShownText().startsWith("Filename : 01 - a.mp3\n"));
        dialog.move(150, 120);
        dialog.accept();
    });
    frame.Commands().Run(CommandId::kFileInformation);
    EXPECT_TRUE(opened);
    EXPECT_EQ(test.m_profile.GetInt("Settings", "LastItemInfoPage", -1), 3);
    EXPECT_EQ(test.m_profile.GetInt("Settings", "TrackInfoPosChnaged", -1), 1);

    int tab = -1;
    QPoint place;
    OnNextModal<CFileInformationDialog>([&](CFileInformationDialog& dialog) {
        tab = dialog.Tabs().currentIndex();
        place = dialog.pos();
        dialog.reject();
    });
    frame.Commands().Run(CommandId::kFileInformation);
    EXPECT_EQ(tab, 3);
    EXPECT_EQ(place, QPoint(150, 120));
}

TEST(DialogsTest, WithGermanSelectedTheWindowsReadGermanAndChoosingEnglishRestarts) {
    SUiTestContext test;
    test.m_catalogue.SetInterfaceLanguage("German");
    int restarts = 0;
    CWavsmithMainFrame frame(test.m_context, [&restarts] { ++restarts; });
    frame.ShowFromProfile();
    QStringList menus;
    for (const QAction* menu : frame.menuBar()->actions())
        menus.push_back(menu->text());
    EXPECT_EQ(menus, QStringList({"&Aktion", "&Bearbeiten", "&Ansicht", "&Hilfe"}));
    EXPECT_EQ(frame.View().findChild<QTabWidget*>()->tabText(0), "Dateiliste");
    const QAbstractItemModel& model = *frame.View().TrackListPage().List().model();
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "WAV-Dateiname");
    EXPECT_EQ(frame.Commands().Action(CommandId::kColumnStatus)->text(), "Stat&us");

    CAboutDialog about(test.m_catalogue, &frame);
    QStringList lines;
    for (const QLabel* label : about.findChildren<QLabel*>())
        lines.push_back(label->text());
    EXPECT_EQ(about.windowTitle(), "Über Wavsmith");
    EXPECT_TRUE(lines.contains("Wavsmith 1.65 für Linux"));
    EXPECT_TRUE(
        lines.contains("Übersetzt von Wavsmith-Übersetzungsteam (deutsch@orvandel.example)"))
        << lines.join('|').toStdString();

    test.m_profile.WriteString("Settings", "Language", "German");
    frame.Commands().Run(CommandId::kEnglish);
    const auto entries = test.m_prompt.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].m_strText.rfind("Das Programm muss neu gestartet werden", 0), 0u);
    EXPECT_EQ(test.m_profile.GetString("Settings", "Language", "?"), "");
    EXPECT_EQ(restarts, 1);
    EXPECT_FALSE(frame.isVisible());
}
