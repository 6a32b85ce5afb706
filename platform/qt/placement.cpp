#include "platform/qt/placement.h"

#include <QGuiApplication>
#include <QMarginsF>
#include <QWidget>
#include <QWindow>

#include <optional>

#include "platform/qt/frame_request.h"

namespace velunor::platform {

namespace {

// The frame the window manager will give a window not shown yet, in logical
// pixels; none where nobody can tell (then the window is placed as if it had none).
std::optional<QMarginsF> expectedFrame(QWidget& window) {
    if (QGuiApplication::platformName() == u"xcb") {
        return requestFrameExtents(window);
    }
    // Windows draws the frame itself and knows it once the native window exists.
    if (QGuiApplication::platformName() == u"windows") {
        window.winId();
        return window.windowHandle()->frameMargins();
    }
    return std::nullopt;
}

}  // namespace

QSizeF expectedOuterSize(QWidget& window) {
    // Once shown, Qt's frame geometry follows what the window manager reports.
    QSizeF size = window.frameGeometry().size();
    if (!window.isVisible()) {
        if (const auto frame = expectedFrame(window)) {
            size = size.grownBy(*frame);
        }
    }
    return size;
}

void placeOuter(QWidget& window, QPointF topLeft) {
    // Wayland places windows itself and ignores a program's position.
    if (QGuiApplication::platformName().startsWith(u"wayland")) {
        return;
    }
    // Asking for the frame created the native window, and Qt then takes a
    // position for the window itself rather than its frame: give it that.
    if (!window.isVisible()) {
        if (const auto frame = expectedFrame(window)) {
            const QPointF inside = topLeft + QPointF(frame->left(), frame->top());
            window.setGeometry(QRect(inside.toPoint(), window.size()));
            return;
        }
    }
    window.move(topLeft.toPoint());
}

}  // namespace velunor::platform
