#include "freedb/service/ui/FreeDBSettingsPage.h"

#include "freedb/service/ui/FreeDBSettingsSheet.h"

#include <QVBoxLayout>

CFreeDBSettingsPage::CFreeDBSettingsPage(SAppContext& context, QWidget* pParent)
    : CSettingsPage(pParent), m_pSheet(new CFreeDBSettingsSheet(context, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pSheet);
}

void CFreeDBSettingsPage::LoadFromSettings() {
    if (!m_pSheet->IsModified())
        m_pSheet->Load();
}

void CFreeDBSettingsPage::StoreToSettings() {
    m_pSheet->Store(true);
}

QString CFreeDBSettingsPage::HelpTopic() const {
    return QStringLiteral("04_tab_freedb_settings.htm");
}
