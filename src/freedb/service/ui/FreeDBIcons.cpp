#include "freedb/service/ui/FreeDBIcons.h"

#include <QWidget>

namespace FreeDBIcons {
QIcon Themed(const QWidget* pWidget, const char* strName, QStyle::StandardPixmap fallback) {
    // The style's icon only when the theme has none: the style looks its icons up in the
    // theme too, and an icon the theme lacks is searched for in every theme it inherits.
    const QString name = QString::fromLatin1(strName);
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return pWidget->style()->standardIcon(fallback);
}

QIcon LogLevel(const QWidget* pWidget, int nLevel) {
    switch (nLevel) {
    case 1:
        return Themed(pWidget, "dialog-information", QStyle::SP_MessageBoxInformation);
    case 2:
        return Themed(pWidget, "dialog-error", QStyle::SP_MessageBoxCritical);
    case 3:
        return Themed(pWidget, "utilities-terminal", QStyle::SP_FileDialogContentsView);
    default:
        return Themed(pWidget, "go-next", QStyle::SP_ArrowRight);
    }
}
} // namespace FreeDBIcons
