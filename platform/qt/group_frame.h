#pragma once

// Where Fusion draws a frame's border: Qt 6.4's Fusion measures the title
// itself and draws below it (group_frame_below_title.cpp); from Qt 6.8 the
// rectangle it is given already lies below the title (group_frame_as_given.cpp).

#include <QRect>

class QStyle;
class QStyleOption;
class QWidget;

namespace velunor::platform {

QRect groupFrameBorder(const QStyle& fusion, const QStyleOption& option, const QWidget* widget);

}  // namespace velunor::platform
