#pragma once

// The frame an X window manager will put round a window that is not shown yet.

#include <QMarginsF>

#include <optional>

class QWidget;

namespace velunor::platform {

// In logical pixels; none without a window manager that answers frame
// requests, or where the build has no xcb (frame_request_none.cpp).
std::optional<QMarginsF> requestFrameExtents(QWidget& window);

}  // namespace velunor::platform
