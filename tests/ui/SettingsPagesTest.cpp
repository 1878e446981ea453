#include "app/WavsmithMainFrame.h"
#include "app/WavsmithView.h"
#include "encoding/EncodingOptions.h"
#include "encoding/TrackItem.h"
#include "encoding/ui/Id3Page.h"
#include "encoding/ui/Mp3Page.h"
#include "filelist/ui/SymbolReplacementDialog.h"
#include "ui/UiTestContext.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
template <class T> T& Child(QWidget& parent, const char* strName) {
    T* child = parent.findChild<T*>(QString::fromLatin1(strName));
    if (child == nullptr)
        throw std::runtime_error(std::string("no control ") + strName);
    return *child;
}

void Choose(QComboBox& box, int nIndex) {
    box.setCurrentIndex(nIndex);
    emit box.activated(nIndex);
}

QPushButton& ButtonWithText(QWidget& parent, const QString& strText) {
    for (QPushButton* button : parent.findChildren<QPushButton*>()) {
        if (button->text() == strText)
            return *button;
    }
    throw std::runtime_error("no button " + strText.toStdString());
}
} // namespace

TEST(SettingsPagesTest, Mp3PageKeepsEachModesPositionsAcrossSwitchesAndAppliesPresets) {
    SUiTestContext test;
    CMp3Page page(test.m_context);
    page.LoadFromSettings();
    QComboBox& minList = Child<QComboBox>(page, "minBitrate");
    QComboBox& maxList = Child<QComboBox>(page, "maxBitrate");
    EXPECT_EQ(minList.currentText(), "160 kbps");
    EXPECT_FALSE(maxList.isEnabled());

    Child<QRadioButton>(page, "vbr").click();
    EXPECT_EQ(minList.currentText(), "128 kbps");
    EXPECT_EQ(maxList.currentText(), "160 kbps");
    // A minimum chosen above the maximum swaps the bounds.
    Choose(minList, 11); // 224
    EXPECT_EQ(minList.currentText(), "160 kbps");
    EXPECT_EQ(maxList.currentText(), "224 kbps");
    // The keys move the minimum's thumb past the maximum: the range stays ordered.
    QWidget& slider = Child<QWidget>(page, "bitrateSlider");
    QTest::keyClick(&slider, Qt::Key_End);
    EXPECT_EQ(minList.currentText(), "224 kbps");
    EXPECT_EQ(maxList.currentText(), "320 kbps");

    Child<QRadioButton>(page, "cbr").click();
    EXPECT_EQ(minList.currentText(), "160 kbps");
    Child<QRadioButton>(page, "mpeg2").click();
    EXPECT_EQ(minList.currentText(), "96 kbps");
    EXPECT_EQ(Child<QRadioButton>(page, "rate1").text(), "22.05 kHz");
    Child<QRadioButton>(page, "vbr").click();
    EXPECT_EQ(minList.currentText(), "128 kbps");
    EXPECT_EQ(maxList.currentText(), "160 kbps");

    page.StoreToSettings();
    EXPECT_EQ(test.m_settings.m_nMpegVersion, 1u);
    EXPECT_EQ(test.m_settings.m_nBitrate, 96u);
    EXPECT_EQ(test.m_settings.m_nVbrMinBitrate, 128u);
    EXPECT_EQ(test.m_settings.m_nVbrMaxBitrate, 160u);
    EXPECT_EQ(test.m_settings.m_bVbr, 1u);

    // PHONE with VBR off: MPEG-2, 16 kHz, mono, 16 kbit/s; the VBR bounds stay.
    Child<QRadioButton>(page, "cbr").click();
    Child<QRadioButton>(page, "mpeg1").click();
    Choose(Child<QComboBox>(page, "presets"), 1);
    EXPECT_TRUE(Child<QRadioButton>(page, "mpeg2").isChecked());
    EXPECT_TRUE(Child<QRadioButton>(page, "rate0").isChecked());
    EXPECT_TRUE(Child<QRadioButton>(page, "mono").isChecked());
    EXPECT_EQ(minList.currentText(), "16 kbps");
    page.StoreToSettings();
    EXPECT_EQ(test.m_settings.m_nSampleRate, 16000u);
    EXPECT_EQ(test.m_settings.m_nVbrMaxBitrate, 160u);
}

TEST(SettingsPagesTest, Id3PageExampleFollowsTemplateNumberStyleTagsAndSymbolTable) {
    SUiTestContext test;
    test.m_settings.m_strInputDir = test.m_dir.Path();
    test.WriteWave("Intro.wav");
    test.m_fileList.Refresh();
    CId3Page page(test.m_context);
    page.LoadFromSettings();
    EXPECT_EQ(page.ExampleText(), "01 - Intro.mp3");

    ButtonWithText(page, "Clear").click();
    ButtonWithText(page, "[artist]").click();
    QTest::keyClicks(&Child<QComboBox>(page, "template"), " ");
    ButtonWithText(page, "[number]").click();
    QTest::keyClicks(&Child<QLineEdit>(page, "artist"), "AC/DC");
    EXPECT_EQ(page.TemplateText(), "[artist] [number]");
    EXPECT_EQ(page.ExampleText(), "AC-DC 01.mp3");
    EXPECT_EQ(test.m_settings.m_strArtist, "AC/DC");

    // A number style renames the tracks at once, with the template as typed.
    Choose(Child<QComboBox>(page, "numberStyle"), 2);
    EXPECT_EQ(page.ExampleText(), "AC-DC A.mp3");
    EXPECT_EQ(test.m_tracks.At(0).m_strMp3Path, test.m_dir.File("AC-DC A.mp3"));

    // OK in the Symbol Replacement window stores the table and the example follows it;
    // its Help button is the program's Help command, enabled as that is.
    QAction help;
    help.setEnabled(false);
    page.SetHelpAction(&help);
    QSignalSpy helpRuns(&help, &QAction::triggered);
    QTimer::singleShot(0, [&help] {
        auto* dialog = qobject_cast<CSymbolReplacementDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QPushButton& helpButton = ButtonWithText(*dialog, "Help");
        EXPECT_FALSE(helpButton.isEnabled());
        help.setEnabled(true);
        helpButton.click();
        dialog->ReplacementEdit(2).setText("+");
        ButtonWithText(*dialog, "&OK").click();
    });
    ButtonWithText(page, "Symbol Replacement ...").click();
    EXPECT_EQ(helpRuns.count(), 1);
    EXPECT_EQ(page.ExampleText(), "AC+DC A.mp3");
    EXPECT_EQ(test.m_profile.GetString("SymbolReplacement", "3", ""), "+");

    // The same-folder box applies the page and puts MP3 files beside their WAV files.
    test.m_settings.m_strOutputDir = test.m_dir.File("out/");
    Child<QCheckBox>(page, "sameDir").click();
    EXPECT_EQ(test.m_settings.m_bSameDir, 1u);
    EXPECT_FALSE(Child<QPushButton>(page, "browse").isEnabled());
    EXPECT_EQ(test.m_tracks.At(0).m_strMp3Path, test.m_dir.File("AC+DC A.mp3"));
}

TEST(SettingsPagesTest, PriorityBoxSetsThePriorityAndShowsTranslatedNamesWithoutMnemonics) {
    SUiTestContext test;
    test.m_settings.m_nThreadPriority = 2;
    {
        CId3Page page(test.m_context);
        page.LoadFromSettings();
        QComboBox& priority = Child<QComboBox>(page, "priority");
        EXPECT_EQ(priority.currentText(), "Highest");
        Choose(priority, 0);
        EXPECT_EQ(test.m_settings.m_nThreadPriority, -2);
    }
    test.m_catalogue.SetInterfaceLanguage("german");
    CId3Page page(test.m_context);
    page.LoadFromSettings();
    QComboBox& priority = Child<QComboBox>(page, "priority");
    EXPECT_EQ(priority.itemText(0), "Niedrig");
    EXPECT_EQ(priority.itemText(4), "Höchste");
}

TEST(SettingsPagesTest, Id3PageFitsTheDefaultWindowInBothLanguagesAndTabsRowByRow) {
    SUiTestContext test;
    for (const char* language : {"", "german"}) {
        test.m_catalogue.SetInterfaceLanguage(language);
        CWavsmithMainFrame frame(test.m_context, {});
        frame.ShowFromProfile();
        frame.View().SelectPage(CWavsmithView::kId3Page);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        auto* page = frame.findChild<CId3Page*>();
        EXPECT_EQ(page->findChild<QScrollArea*>()->verticalScrollBar()->maximum(), 0) << language;

        QStringList order;
        for (QWidget* w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain()) {
            if ((w->focusPolicy() & Qt::TabFocus) && w->focusProxy() == nullptr &&
                page->isAncestorOf(w) && !w->objectName().startsWith(QLatin1String("qt_")))
                order << w->objectName();
        }
        order.removeAll(QString());
        EXPECT_EQ(order.join(' ').toStdString(),
                  "destination browse sameDir deleteWav priority encodeJobs "
                  "template numberStyle useTag artist year album genre comment "
                  "playlistKind playlistFormat");
    }
}
