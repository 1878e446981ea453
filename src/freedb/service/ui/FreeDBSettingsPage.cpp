#include "freedb/service/ui/FreeDBSettingsPage.h"

CFreeDBSettingsPage::CFreeDBSettingsPage(SAppContext&, QWidget* pParent) : CSettingsPage(pParent) {}

QString CFreeDBSettingsPage::HelpTopic() const {
    return QStringLiteral("04_tab_freedb_settings.htm");
}
