#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/WavsmithMainFrame.h"
#include "app/WavsmithView.h"
#include "encoding/ui/Id3Page.h"
#include "encoding/ui/Mp3Page.h"
#include "freedb/service/ui/FreeDBSettingsPage.h"
#include "ui/UiTestContext.h"

#include <QAction>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {
bool IsEnabled(CWavsmithMainFrame& frame, unsigned nId) {
    frame.Commands().UpdateCommandUi();
    return frame.Commands().Action(nId)->isEnabled();
}
} // namespace

TEST(MainFrameTest, FirstStartPlacementAndBarsPersistAcrossRuns) {
    SUiTestContext test;
    {
        CWavsmithMainFrame frame(test.m_context, {});
        frame.ShowFromProfile();
        EXPECT_EQ(frame.windowTitle(), "Wavsmith 1.65");
        EXPECT_EQ(frame.geometry(), QRect(60, 30, 640, 520));
        EXPECT_TRUE(frame.statusBar()->isVisible());
        frame.close();
        EXPECT_EQ(test.m_profile.GetInt("Settings", "StatusBar", -1), 268435456);
        EXPECT_EQ(test.m_profile.GetInt("Main", "FrameWndRight", -1), 700);
    }
    {
        CWavsmithMainFrame frame(test.m_context, {});
        frame.ShowFromProfile();
        frame.Commands().Run(CommandId::kStatusBar);
        frame.showMaximized();
        frame.close();
        EXPECT_EQ(test.m_profile.GetInt("Settings", "StatusBar", -1), 0);
        EXPECT_EQ(test.m_profile.GetInt("Main", "FrameWndBottom", -1), 550);
    }
    CWavsmithMainFrame frame(test.m_context, {});
    frame.ShowFromProfile();
    EXPECT_FALSE(frame.statusBar()->isVisible());
}

TEST(MainFrameTest, ListCommandsAreEnabledOnTheFileListTabOnly) {
    SUiTestContext test;
    test.m_settings.m_strInputDir = test.m_dir.Path();
    test.WriteWave("a.wav");
    CWavsmithMainFrame frame(test.m_context, {});
    frame.ShowFromProfile();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    ASSERT_EQ(test.m_tracks.Count(), 1u);

    EXPECT_TRUE(IsEnabled(frame, CommandId::kRefresh));
    EXPECT_TRUE(IsEnabled(frame, CommandId::kUncheckAll));
    EXPECT_FALSE(IsEnabled(frame, CommandId::kCheckAll));
    QTest::keyClick(&frame, Qt::Key_2, Qt::AltModifier);
    EXPECT_EQ(frame.View().CurrentPage(), CWavsmithView::kMp3Page);
    EXPECT_FALSE(IsEnabled(frame, CommandId::kRefresh));
    EXPECT_FALSE(IsEnabled(frame, CommandId::kUncheckAll));
    EXPECT_TRUE(IsEnabled(frame, CommandId::kEncode));
    EXPECT_TRUE(IsEnabled(frame, CommandId::kFreeDB));
}

TEST(MainFrameTest, PagesAfterTheFileListAreBuiltWhenFirstShownAndStoreNothingBefore) {
    SUiTestContext test;
    test.m_settings.m_strInputDir = test.m_dir.Path();
    test.m_settings.m_strArtist = "Kept";
    test.WriteWave("a.wav");
    CWavsmithMainFrame frame(test.m_context, {});
    frame.ShowFromProfile();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    EXPECT_EQ(frame.findChild<CMp3Page*>(), nullptr);
    EXPECT_EQ(frame.findChild<CId3Page*>(), nullptr);
    EXPECT_EQ(frame.findChild<CFreeDBSettingsPage*>(), nullptr);

    // An add stores the option pages first; those not built leave the settings alone.
    frame.Commands().Run(CommandId::kRefresh);
    EXPECT_EQ(test.m_settings.m_strArtist, "Kept");

    QTest::keyClick(&frame, Qt::Key_3, Qt::AltModifier);
    auto* page = frame.findChild<CId3Page*>();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(page->findChild<QLineEdit*>(QStringLiteral("artist"))->text(), "Kept");
    EXPECT_EQ(frame.View().CurrentHelpTopic(), page->HelpTopic());
    EXPECT_FALSE(IsEnabled(frame, CommandId::kRefresh));
}
