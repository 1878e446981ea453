#include "platform/ui/ThemeIcon.h"

#include <QApplication>
#include <QStandardPaths>

namespace ThemeIcon {
QIcon Get(const char* strName, QStyle::StandardPixmap fallback) {
    const QString name = QString::fromLatin1(strName);
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return QApplication::style()->standardIcon(fallback);
}

void ChooseFallbackTheme() {
    const QString theme = QIcon::themeName();
    if (!theme.isEmpty() && theme != QStringLiteral("hicolor"))
        return;
    // The theme itself rather than a fallback behind hicolor, whose long index would be
    // read first at every start.
    const QString adwaita = QStringLiteral("icons/Adwaita/index.theme");
    if (!QStandardPaths::locate(QStandardPaths::GenericDataLocation, adwaita).isEmpty())
        QIcon::setThemeName(QStringLiteral("Adwaita"));
}
} // namespace ThemeIcon
