#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/WavsmithMainFrame.h"
#include "app/WavsmithView.h"
#include "lang/ui/UiText.h"
#include "platform/PlatformPaths.h"
#include "ui/UiTestContext.h"

#include <QDesktopServices>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

TEST(HelpTopicsTest, F1AndHotKeysOpenPagesOfTheHelpFolder) {
    SUiTestContext test;
    CWavsmithMainFrame frame(test.m_context, {});
    frame.ShowFromProfile();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    // Stands in for the desktop's browser: shows what the program asks it to open.
    QTextBrowser browser;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &browser, "setSource");
    const QString helpDir = UiText::FromUtf8(CPlatformPaths::HelpDir());

    for (int page = 0; page < 4; ++page) {
        frame.View().SelectPage(page);
        browser.clear();
        QTest::keyClick(&frame, Qt::Key_F1);
        EXPECT_EQ(browser.source(), QUrl::fromLocalFile(helpDir + frame.View().CurrentHelpTopic()));
        EXPECT_FALSE(browser.toPlainText().isEmpty()) << "no help for page " << page;
    }
    frame.Commands().Run(CommandId::kHotKeys);
    EXPECT_EQ(browser.source(), QUrl::fromLocalFile(helpDir + QStringLiteral("08_hot_keys.htm")));
    EXPECT_FALSE(browser.toPlainText().isEmpty());
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}
