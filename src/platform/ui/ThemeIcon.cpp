#include "platform/ui/ThemeIcon.h"

#include <QApplication>

namespace ThemeIcon {
QIcon Get(const char* strName, QStyle::StandardPixmap fallback) {
    const QString name = QString::fromLatin1(strName);
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return QApplication::style()->standardIcon(fallback);
}

void ChooseFallbackTheme() {
    const QString hicolor = QStringLiteral("hicolor");
    const QString theme = QIcon::themeName();
    if (!theme.isEmpty() && theme != hicolor)
        return;
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == hicolor)
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}
} // namespace ThemeIcon
