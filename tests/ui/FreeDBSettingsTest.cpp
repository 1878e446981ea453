#include "app/WavsmithMainFrame.h"
#include "app/WavsmithView.h"
#include "freedb/service/ui/DatabaseInfoDialog.h"
#include "freedb/service/ui/FreeDBSettingsDialog.h"
#include "freedb/service/ui/FreeDBSettingsPage.h"
#include "freedb/service/ui/FreeDBSettingsSheet.h"
#include "freedb/service/ui/FreeDBStatusBar.h"
#include "freedb/service/ui/OperationLogBox.h"
#include "freedb/service/ui/ServerListDialog.h"
#include "support/CddbTestServer.h"
#include "ui/UiTestContext.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
// A control by the name a screen reader gives it: its accessible name, or its text.
template <class T> T& Named(QWidget& parent, const QString& strName) {
    for (T* widget : parent.findChildren<T*>()) {
        QString text = widget->accessibleName();
        if constexpr (std::is_base_of_v<QAbstractButton, T>)
            text = text.isEmpty() ? widget->text().remove(QLatin1Char('&')) : text;
        if (text == strName)
            return *widget;
    }
    throw std::runtime_error("no control " + strName.toStdString());
}

class FreeDBSettingsTest : public ::testing::Test {
protected:
    SUiTestContext m_test;
};
} // namespace

TEST_F(FreeDBSettingsTest, TheSheetSavesItsPagesByTheirRules) {
    CFreeDBSettingsDialog dialog(m_test.m_context);
    dialog.show();
    QWidget& connection = *dialog.Sheet().widget(0);
    auto& server = Named<QComboBox>(connection, "Server:");
    auto& useProxy = Named<QCheckBox>(connection, "Use proxy");
    auto& proxySettings = Named<QPushButton>(connection, "Proxy settings...");
    EXPECT_GT(server.count(), 20) << "the built-in servers";
    server.setCurrentIndex(0);
    emit server.activated(0);
    EXPECT_FALSE(useProxy.isEnabled()) << "no proxy on a direct connection";
    server.setCurrentIndex(1);
    emit server.activated(1);
    QTest::mouseClick(&useProxy, Qt::LeftButton);
    EXPECT_TRUE(proxySettings.isEnabled());
    QTimer::singleShot(0, [] {
        QWidget& proxy = *QApplication::activeModalWidget();
        Named<QLineEdit>(proxy, "Address:").setText("127.0.0.1");
        Named<QLineEdit>(proxy, "Port:").setText("3128");
        EXPECT_FALSE(Named<QRadioButton>(proxy, "Use this authentication info:").isEnabled());
        QTest::mouseClick(&Named<QCheckBox>(proxy, "Proxy requires authentication"),
                          Qt::LeftButton);
        QTest::mouseClick(&Named<QRadioButton>(proxy, "Ask password before connection"),
                          Qt::LeftButton);
        EXPECT_FALSE(Named<QLineEdit>(proxy, "Username:").isEnabled()) << "asked instead";
        QTest::mouseClick(&Named<QRadioButton>(proxy, "Use this authentication info:"),
                          Qt::LeftButton);
        Named<QLineEdit>(proxy, "Username:").setText("bob");
        Named<QLineEdit>(proxy, "Password:").setText("pw");
        static_cast<QDialog&>(proxy).accept();
    });
    QTest::mouseClick(&proxySettings, Qt::LeftButton);
    Named<QSpinBox>(connection, "Timeout:").setValue(45);
    Named<QLineEdit>(connection, "E-mail:").setText("me");
    Named<QLineEdit>(connection, "E-mail domain").setText("");
    Named<QComboBox>(connection, "Maximal total connections").setCurrentIndex(3);

    QWidget& options = *dialog.Sheet().widget(1);
    auto& sample = Named<QTreeWidget>(options, "Albums Tree View");
    for (QTreeWidgetItem* item = sample.topLevelItem(0); item != nullptr;
         item = item->childCount() > 0 ? item->child(0) : nullptr)
        item->setCheckState(0, Qt::Unchecked);
    QTest::mouseClick(&Named<QRadioButton>(options, "Full logging"), Qt::LeftButton);
    QTest::mouseClick(&Named<QRadioButton>(*dialog.Sheet().widget(2), "All retrieved albums"),
                      Qt::LeftButton);
    dialog.accept();

    const CFreeDBSettings saved(m_test.m_freedbSettings.GetIniPath());
    EXPECT_EQ(saved.m_nTimeout, 45u);
    EXPECT_EQ(saved.m_strRemotePort, "80");
    EXPECT_TRUE(saved.m_bUseHTTP && saved.m_bUseProxy && saved.m_bProxyAuth);
    EXPECT_FALSE(saved.m_bAskPassword);
    EXPECT_EQ(saved.m_strProxyUser, "bob");
    EXPECT_EQ(saved.m_strProxyPassword, "pw");
    EXPECT_EQ(saved.m_strEmailAddress, "me@localhost");
    EXPECT_EQ(m_test.m_freedbSettings.m_nTimeout, 45u) << "the shared settings follow";
    const CProfile& profile = m_test.m_profile;
    EXPECT_EQ(profile.GetInt("FreeDB", "MaxThreadsCount", 0), 20);
    EXPECT_EQ(profile.GetString("FreeDB", "TreeFormat", ""), "04000000FFFFFFFFFFFFFFFFFFFFFFFF");
    EXPECT_EQ(profile.GetInt("FreeDB", "Logging", 0), 1);
    EXPECT_EQ(profile.GetInt("FreeDB", "WriteToLocalDB", 0), 2);
}

TEST_F(FreeDBSettingsTest, TheFourthTabSavesOnlyWhatTheUserChangedThere) {
    CWavsmithMainFrame frame(m_test.m_context, {});
    frame.ShowFromProfile();
    CWavsmithView& view = frame.View();
    view.SelectPage(CWavsmithView::kFreeDBPage);
    // Something else (the editor's settings dialog) saves meanwhile; leaving the tab
    // unchanged keeps it.
    m_test.m_profile.WriteInt("FreeDB", "WriteToLocalDB", 0);
    view.SelectPage(CWavsmithView::kTrackListPage);
    EXPECT_EQ(m_test.m_profile.GetInt("FreeDB", "WriteToLocalDB", -1), 0);

    view.SelectPage(CWavsmithView::kFreeDBPage);
    QWidget& localDb =
        *static_cast<CFreeDBSettingsPage&>(view.Page(CWavsmithView::kFreeDBPage)).Sheet().widget(2);
    EXPECT_TRUE(Named<QRadioButton>(localDb, "None").isChecked()) << "loaded when shown";
    QTest::mouseClick(&Named<QRadioButton>(localDb, "Just selected albums"), Qt::LeftButton);
    view.SelectPage(CWavsmithView::kMp3Page);
    EXPECT_EQ(m_test.m_profile.GetInt("FreeDB", "WriteToLocalDB", -1), 1);
}

TEST_F(FreeDBSettingsTest, TheServerListAndTheStatisticsComeFromTheServer) {
    CCddbTestServer server;
    server.SetConcurrent(true);
    CFreeDBSettings& settings = m_test.m_freedbSettings;
    settings.m_strRemoteServer = "127.0.0.1";
    settings.m_strRemotePort = std::to_string(server.CddbpPort());
    ASSERT_TRUE(settings.Save());
    {
        CServerListDialog dialog(m_test.m_context);
        dialog.SetServer("127.0.0.1", std::to_string(server.CddbpPort()), "1");
        dialog.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.List().count() > 0; }, 10000));
        EXPECT_TRUE(dialog.List().item(0)->text().startsWith("01 - "));
        EXPECT_EQ(dialog.List().count(), static_cast<int>(settings.GetSiteCount()));
        EXPECT_TRUE(dialog.Status().StatusText().startsWith("Total "));
        QTest::mouseClick(&Named<QPushButton>(dialog, "OK"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    {
        CDatabaseInfoDialog info(m_test.m_context);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !info.IsBusy(); }, 10000));
        QTest::qWait(150);
        EXPECT_TRUE(info.RemoteText().contains("\tRock:\t\t1\n"));
        EXPECT_TRUE(info.LocalText().startsWith(
            QString::fromStdString("Location:\t\t" + settings.GetIniPath())));
    }
    // A server that never answers: Cancel gives up within a second.
    server.SetMisbehaviour(CCddbTestServer::EMisbehaviour::NoWelcome);
    CServerListDialog dialog(m_test.m_context);
    dialog.SetServer("127.0.0.1", std::to_string(server.CddbpPort()), "1");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.Status().IsOnline(); }, 5000));
    dialog.reject();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 5000));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.Status().IsOnline());
    QComboBox& log = dialog.LogBox();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return log.count() > 0 && log.itemText(log.count() - 1).endsWith("canceled by user");
        },
        5000));
}
