#include "freedb/service/ui/FreeDBStatusBar.h"

#include "freedb/service/ui/FreeDBIcons.h"
#include "freedb/service/ui/FreeDBTexts.h"
#include "lang/ui/UiText.h"

#include <QLabel>
#include <QProgressBar>

CFreeDBStatusBar::CFreeDBStatusBar(const CStringCatalogue& catalogue, QWidget* pParent)
    : QStatusBar(pParent), m_catalogue(catalogue), m_pConnectionIcon(new QLabel(this)),
      m_pConnection(new QLabel(this)), m_pProgress(new QProgressBar(this)),
      m_pStatus(new QLabel(this)) {
    m_pConnection->setMinimumWidth(m_pConnection->fontMetrics().horizontalAdvance(
                                       UiText::Load(catalogue, FreeDBText::kOffline)) +
                                   8);
    m_pProgress->setRange(0, 100);
    m_pProgress->setValue(0);
    m_pProgress->setTextVisible(false);
    m_pProgress->setMaximumHeight(m_pConnection->sizeHint().height());
    m_pProgress->setFixedWidth(120);
    m_pProgress->setAccessibleName(UiText::Load(catalogue, FreeDBText::kProgressName));
    // Its name is the text it shows; the description says what it is.
    m_pStatus->setAccessibleDescription(UiText::Load(catalogue, FreeDBText::kStatusName));
    m_pStatus->setMinimumWidth(40);
    addWidget(m_pConnectionIcon);
    addWidget(m_pConnection);
    addWidget(m_pProgress);
    addWidget(m_pStatus, 1);
    SetOnline(false);
}

void CFreeDBStatusBar::SetOnline(bool bOnline) {
    m_bOnline = bOnline;
    m_pConnection->setText(
        UiText::Load(m_catalogue, bOnline ? FreeDBText::kOnline : FreeDBText::kOffline));
    const QIcon icon =
        bOnline ? FreeDBIcons::Themed(this, "network-transmit-receive", QStyle::SP_DriveNetIcon)
                : FreeDBIcons::Themed(this, "network-offline", QStyle::SP_BrowserStop);
    m_pConnectionIcon->setPixmap(icon.pixmap(16, 16));
}

void CFreeDBStatusBar::SetStatusText(const QString& strText) {
    m_pStatus->setText(strText);
}

QString CFreeDBStatusBar::StatusText() const {
    return m_pStatus->text();
}

int CFreeDBStatusBar::WidthToShow(const QString& strText) const {
    // The icon, the connection field, the progress bar, the text, and the gaps and
    // margins around the four.
    constexpr int kGaps = 48;
    return 16 + m_pConnection->minimumWidth() + m_pProgress->width() +
           m_pStatus->fontMetrics().horizontalAdvance(strText) + kGaps;
}
