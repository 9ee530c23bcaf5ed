#pragma once
// The pictures of the commands: the desktop theme's icon by its freedesktop
// name, else Qt's own picture for it, so the toolbar looks like the desktop's
// and disabled commands look disabled. A menu item shows the picture of its
// toolbar button, or one of its own.
#include <QIcon>
#include <QStyle>
#include <string_view>

namespace cq {

// `themeName` from the theme ("" for none), else `fallback` of `style`
// (SP_CustomBase: no picture).
QIcon themedIcon(const char* themeName, QStyle::StandardPixmap fallback, const QStyle* style);

// The picture of menu command `command` (its objectName); null when it has none.
QIcon menuCommandIcon(std::string_view command, const QStyle* style);

}  // namespace cq
