#include "freedb/service/ui/FreeDBSettingsSheet.h"

#include "app/AppContext.h"
#include "freedb/service/ui/ConnectionPage.h"
#include "freedb/service/ui/FreeDBTexts.h"
#include "freedb/service/ui/LocalDbPage.h"
#include "freedb/service/ui/OptionsPage.h"
#include "lang/ui/UiText.h"

CFreeDBSettingsSheet::CFreeDBSettingsSheet(SAppContext& context, QWidget* pParent)
    : QTabWidget(pParent), m_pConnection(new CConnectionPage(context, this)),
      m_pOptions(new COptionsPage(context, this)), m_pLocalDb(new CLocalDbPage(context, this)) {
    const CStringCatalogue& catalogue = context.m_catalogue;
    addTab(m_pConnection, UiText::Load(catalogue, FreeDBText::kConnectionPage));
    addTab(m_pOptions, UiText::Load(catalogue, FreeDBText::kOptionsPage));
    addTab(m_pLocalDb, UiText::Load(catalogue, FreeDBText::kLocalDbPage));
    for (int page = 0; page < count(); ++page)
        widget(page)->setAccessibleName(tabText(page));
}

void CFreeDBSettingsSheet::Load() {
    m_pConnection->Load();
    m_pOptions->Load();
    m_pLocalDb->Load();
}

bool CFreeDBSettingsSheet::Store(bool bChangedOnly) {
    bool stored = true;
    if (!bChangedOnly || m_pConnection->IsModified())
        stored = m_pConnection->Store() && stored;
    if (!bChangedOnly || m_pOptions->IsModified())
        stored = m_pOptions->Store() && stored;
    if (!bChangedOnly || m_pLocalDb->IsModified())
        stored = m_pLocalDb->Store() && stored;
    return stored;
}

bool CFreeDBSettingsSheet::IsModified() const {
    return m_pConnection->IsModified() || m_pOptions->IsModified() || m_pLocalDb->IsModified();
}
