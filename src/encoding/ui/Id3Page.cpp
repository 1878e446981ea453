#include "encoding/ui/Id3Page.h"

CId3Page::CId3Page(SAppContext&, QWidget* pParent) : CSettingsPage(pParent) {}

QString CId3Page::HelpTopic() const {
    return QStringLiteral("04_tab_id3_tag.htm");
}
