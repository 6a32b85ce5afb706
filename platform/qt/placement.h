#pragma once

// Where a top-level window starts: the frame a window manager puts round it
// is known only once the window is mapped, but centring needs it before.

#include <QPointF>
#include <QSizeF>

class QWidget;

namespace velunor::platform {

// The outer size the window will have when shown, frame included, in logical
// pixels. Asks the window manager for its frame when the window is not yet
// shown; without a window manager, or one that cannot tell, the window alone.
QSizeF expectedOuterSize(QWidget& window);

// Puts the window's outer top-left corner, frame included, at the point
// (logical pixels); leaves the window where it is where the window system
// places windows itself.
void placeOuter(QWidget& window, QPointF topLeft);

}  // namespace velunor::platform
