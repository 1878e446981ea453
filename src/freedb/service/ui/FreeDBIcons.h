#pragma once

#include <QIcon>
#include <QStyle>

class QWidget;

// The icons of the FreeDB windows: the theme's where it has one, else the style's own,
// since a bare X server has no icon theme.
namespace FreeDBIcons {
QIcon Themed(const QWidget* pWidget, const char* strName, QStyle::StandardPixmap fallback);
// The icon of a log line of level 0 (step) to 3 (protocol trace).
QIcon LogLevel(const QWidget* pWidget, int nLevel);
} // namespace FreeDBIcons
