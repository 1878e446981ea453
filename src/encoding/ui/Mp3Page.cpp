#include "encoding/ui/Mp3Page.h"

CMp3Page::CMp3Page(SAppContext&, QWidget* pParent) : CSettingsPage(pParent) {}

QString CMp3Page::HelpTopic() const {
    return QStringLiteral("04_tab_mp3_settings.htm");
}
