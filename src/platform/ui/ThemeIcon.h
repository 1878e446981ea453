#pragma once

#include <QIcon>
#include <QStyle>

// Icons from the desktop's icon theme, with the style's own standard icon where the
// theme has none: a bare X server, or a desktop without a theme, still shows an icon.
namespace ThemeIcon {
QIcon Get(const char* strName, QStyle::StandardPixmap fallback);
// Where the desktop names no icon theme of its own (a bare X server), the Adwaita theme
// stands in when it is installed. Run once at start-up.
void ChooseFallbackTheme();
} // namespace ThemeIcon
