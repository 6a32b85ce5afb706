#include "platform/qt/frame_request.h"

// Built where there is no xcb to ask an X window manager with.

namespace velunor::platform {

std::optional<QMarginsF> requestFrameExtents(QWidget& /*window*/) {
    return std::nullopt;
}

}  // namespace velunor::platform
