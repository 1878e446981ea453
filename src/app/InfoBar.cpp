#include "app/InfoBar.h"

#include "app/CommandIds.h"
#include "lang/ui/UiText.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr unsigned kSourceCaption = 60510;
constexpr unsigned kDestinationCaption = 60511;
constexpr unsigned kSameDirText = 4029;
} // namespace

CInfoBar::CInfoBar(const CStringCatalogue& catalogue, QWidget* pParent)
    : QToolBar(pParent), m_catalogue(catalogue) {
    setObjectName(QStringLiteral("InfoBar"));
    setMovable(false);
    auto* fields = new QWidget(this);
    auto* layout = new QGridLayout(fields);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(0);
    layout->setColumnStretch(1, 1);
    m_pSource = AddField(kSourceCaption, CommandId::kOpenDirectory);
    m_pDestination = AddField(kDestinationCaption, CommandId::kDestination);
    for (int row = 0; row < 2; ++row) {
        QPushButton* field = row == 0 ? m_pSource : m_pDestination;
        auto* caption = new QLabel(field->accessibleName(), fields);
        caption->setBuddy(field);
        layout->addWidget(caption, row, 0);
        layout->addWidget(field, row, 1);
    }
    addWidget(fields);
    connect(m_pSource, &QPushButton::clicked, this, &CInfoBar::SourceClicked);
    connect(m_pDestination, &QPushButton::clicked, this, &CInfoBar::DestinationClicked);
}

QPushButton* CInfoBar::AddField(unsigned nCaptionId, unsigned nCommandId) {
    auto* field = new QPushButton(this);
    field->setFlat(true);
    field->setCursor(Qt::PointingHandCursor);
    field->setStyleSheet(QStringLiteral("text-align: left; padding: 1px 2px;"));
    field->setAccessibleName(UiText::Load(m_catalogue, nCaptionId));
    field->setStatusTip(UiText::Prompt(m_catalogue, nCommandId));
    return field;
}

void CInfoBar::ShowFolders(const QString& strSource, const QString& strDestination, bool bSameDir) {
    const QString destination = bSameDir ? UiText::Load(m_catalogue, kSameDirText) : strDestination;
    if (m_pSource->text() != strSource)
        m_pSource->setText(strSource);
    if (m_pDestination->text() != destination)
        m_pDestination->setText(destination);
}
