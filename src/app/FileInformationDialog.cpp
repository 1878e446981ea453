#include "app/FileInformationDialog.h"

#include "lang/ui/UiText.h"
#include "platform/Profile.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr const char* kSettingsSection = "Settings";
constexpr const char* kLastPageKey = "LastItemInfoPage";
constexpr const char* kLeftKey = "TrackInfoX";
constexpr const char* kTopKey = "TrackInfoY";
constexpr const char* kPlacedKey = "TrackInfoPosChnaged";
// Tab stops of the page texts, in average character widths.
constexpr int kTabStopChars = 8;
} // namespace

CFileInformationDialog::CFileInformationDialog(const CTrackItem& track,
                                               const CAppSettings& settings,
                                               const CStringCatalogue& catalogue, CProfile& profile,
                                               QWidget* pParent)
    : QDialog(pParent), m_profile(profile),
      m_pages(CTrackInfoPages(settings, catalogue).Build(track)), m_pTabs(new QTabBar(this)),
      m_pText(new QPlainTextEdit(this)) {
    setWindowTitle(UiText::FromUtf8(m_pages.m_strCaption));
    m_pText->setReadOnly(true);
    m_pText->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_pText->setTabStopDistance(kTabStopChars * m_pText->fontMetrics().averageCharWidth());
    m_pText->setAccessibleName(windowTitle());
    m_pTabs->setAccessibleName(windowTitle());
    m_pTabs->setDrawBase(false);
    for (const SInfoPage& page : m_pages.m_pages)
        m_pTabs->addTab(UiText::FromUtf8(page.m_strTitle));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->addWidget(m_pTabs);
    layout->addWidget(m_pText, 1);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    resize(480, 300);

    if (m_pages.m_strError) {
        m_pText->setPlainText(UiText::FromUtf8(*m_pages.m_strError));
    } else {
        ShowPage(0);
        const int last = m_profile.GetInt(kSettingsSection, kLastPageKey, 0);
        if (last != 0 && last < m_pTabs->count())
            m_pTabs->setCurrentIndex(last);
        ShowPage(m_pTabs->currentIndex());
    }
    connect(m_pTabs, &QTabBar::currentChanged, this, &CFileInformationDialog::ShowPage);
    RestorePlace();
}

QString CFileInformationDialog::ShownText() const {
    return m_pText->toPlainText();
}

void CFileInformationDialog::ShowPage(int nTab) {
    if (nTab < 0 || nTab >= static_cast<int>(m_pages.m_pages.size()))
        return;
    const QString text = UiText::FromUtf8(m_pages.m_pages[static_cast<size_t>(nTab)].m_strText);
    if (m_pText->toPlainText() != text)
        m_pText->setPlainText(text);
}

void CFileInformationDialog::RestorePlace() {
    if (m_profile.GetInt(kSettingsSection, kPlacedKey, 0) == 0)
        return;
    move(m_profile.GetInt(kSettingsSection, kLeftKey, 100),
         m_profile.GetInt(kSettingsSection, kTopKey, 100));
}

void CFileInformationDialog::done(int nResult) {
    {
        CProfile::CDeferredSave batch(m_profile);
        m_profile.WriteInt(kSettingsSection, kLastPageKey, std::max(m_pTabs->currentIndex(), 0));
        m_profile.WriteInt(kSettingsSection, kLeftKey, pos().x());
        m_profile.WriteInt(kSettingsSection, kTopKey, pos().y());
        m_profile.WriteInt(kSettingsSection, kPlacedKey, 1);
    }
    if (parentWidget() != nullptr)
        parentWidget()->activateWindow();
    FadeOut();
    QDialog::done(nResult);
}

void CFileInformationDialog::FadeOut() {
    // From 70 down to 5 on a scale of 255, a millisecond apart.
    for (int alpha = 70; alpha >= 5; alpha -= 5) {
        setWindowOpacity(alpha / 255.0);
        QThread::msleep(1);
    }
}
