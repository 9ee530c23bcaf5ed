#pragma once
// Windows never open larger than the screen's free area, nor standing out of it.
class QScreen;
class QWidget;

namespace cq {

// Makes `window` (a top-level window, shown or not) fit into the available area
// of `screen`, its own screen when none is given: smaller where it is larger,
// moved in where it stands out. The frame the window manager adds counts.
void keepInsideScreen(QWidget& window, const QScreen* screen = nullptr);

}  // namespace cq
