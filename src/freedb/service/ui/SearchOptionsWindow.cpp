#include "freedb/service/ui/SearchOptionsWindow.h"

#include "freedb/service/EditorOptions.h"
#include "freedb/service/ui/FreeDBTexts.h"
#include "lang/ui/UiText.h"

#include <QCheckBox>
#include <QMoveEvent>
#include <QVBoxLayout>

CSearchOptionsWindow::CSearchOptionsWindow(const CStringCatalogue& catalogue,
                                           CEditorOptions& options, QWidget* pParent)
    : QDialog(pParent, Qt::Tool), m_options(options) {
    setWindowTitle(UiText::Load(catalogue, FreeDBText::kSearchOptions));
    bool* flags[] = {&options.m_bSearchInArtists, &options.m_bSearchInTitles,
                     &options.m_bSearchInTrackTitles, &options.m_bSearchInTrackExtras};
    auto* layout = new QVBoxLayout(this);
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        m_boxes[i] = new QCheckBox(
            UiText::Load(catalogue, FreeDBText::kSearchInArtist + static_cast<unsigned>(i)), this);
        m_boxes[i]->setChecked(*flags[i]);
        bool* flag = flags[i];
        connect(m_boxes[i], &QCheckBox::toggled, this, [flag](bool bChecked) { *flag = bChecked; });
        layout->addWidget(m_boxes[i]);
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);
    move(options.m_nSearchPrefsX, options.m_nSearchPrefsY);
}

void CSearchOptionsWindow::hideEvent(QHideEvent* pEvent) {
    QDialog::hideEvent(pEvent);
    emit Hidden();
}

void CSearchOptionsWindow::moveEvent(QMoveEvent* pEvent) {
    QDialog::moveEvent(pEvent);
    m_options.m_nSearchPrefsX = pos().x();
    m_options.m_nSearchPrefsY = pos().y();
}
