#include "platform/qt/frame_request.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

namespace velunor::platform {

namespace {

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> own(Reply* reply) {
    return {reply, &std::free};
}

struct Margins {
    float left, right, top, bottom;
};

xcb_atom_t atom(xcb_connection_t* c, xcb_intern_atom_cookie_t cookie) {
    const auto reply = own(xcb_intern_atom_reply(c, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The window a property names, or none.
xcb_window_t windowProperty(xcb_connection_t* c, xcb_window_t on, xcb_atom_t property) {
    const auto reply = own(xcb_get_property_reply(
        c, xcb_get_property(c, 0, on, property, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 4) {
        return XCB_WINDOW_NONE;
    }
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
}

// A window manager that still runs (its check window names itself) and
// answers frame extent requests; a stale property left by one that has
// ended would make us wait for nothing.
bool answersFrameRequests(xcb_connection_t* c, xcb_window_t root, xcb_atom_t supported,
                          xcb_atom_t check, xcb_atom_t request) {
    const xcb_window_t wm = windowProperty(c, root, check);
    if (wm == XCB_WINDOW_NONE || windowProperty(c, wm, check) != wm) {
        return false;
    }
    const auto reply = own(xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, supported, XCB_ATOM_ATOM, 0, 4096), nullptr));
    if (!reply || reply->format != 32) {
        return false;
    }
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::find(atoms, atoms + count, request) != atoms + count;
}

std::optional<Margins> readExtents(xcb_connection_t* c, xcb_window_t window, xcb_atom_t extents) {
    const auto reply = own(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16) {
        return std::nullopt;
    }
    const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return Margins{float(v[0]), float(v[1]), float(v[2]), float(v[3])};
}

xcb_window_t rootOfDefaultScreen(xcb_connection_t* c) {
    char* host = nullptr;
    int display = 0;
    int screen = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0) {
        screen = 0;
    }
    std::free(host);
    auto roots = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (; roots.rem > 0 && screen > 0; --screen) {
        xcb_screen_next(&roots);
    }
    return roots.rem > 0 ? roots.data->root : xcb_window_t{XCB_WINDOW_NONE};
}

}  // namespace

// _NET_REQUEST_FRAME_EXTENTS: the window manager sets _NET_FRAME_EXTENTS on
// a window it has not mapped yet, to the frame it will give it.
std::optional<QMarginsF> requestFrameExtents(QWidget& window) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) {
        return std::nullopt;
    }
    xcb_connection_t* c = x11->connection();
    auto intern = [c](const char* name) {
        return xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(name)), name);
    };
    const auto supportedCookie = intern("_NET_SUPPORTED");
    const auto checkCookie = intern("_NET_SUPPORTING_WM_CHECK");
    const auto requestCookie = intern("_NET_REQUEST_FRAME_EXTENTS");
    const auto extentsCookie = intern("_NET_FRAME_EXTENTS");
    const xcb_atom_t supported = atom(c, supportedCookie);
    const xcb_atom_t check = atom(c, checkCookie);
    const xcb_atom_t request = atom(c, requestCookie);
    const xcb_atom_t extents = atom(c, extentsCookie);
    const xcb_window_t root = rootOfDefaultScreen(c);
    if (root == XCB_WINDOW_NONE || request == XCB_ATOM_NONE || extents == XCB_ATOM_NONE ||
        !answersFrameRequests(c, root, supported, check, request)) {
        return std::nullopt;
    }
    // Only now: without a window manager the window is created when shown, as ever.
    const auto id = static_cast<xcb_window_t>(window.winId());
    std::optional<Margins> frame = readExtents(c, id, extents);
    if (!frame) {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id;
        message.type = request;
        xcb_send_event(c, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(c);
        // The answer comes as a property change that Qt's own event reader
        // takes, so look at the property instead; the limit only covers a
        // window manager that hangs.
        using namespace std::chrono_literals;
        const auto deadline = std::chrono::steady_clock::now() + 1s;
        while (!(frame = readExtents(c, id, extents)) &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(250us);
        }
    }
    if (!frame) {
        return std::nullopt;
    }
    const qreal ratio = window.devicePixelRatioF();  // the extents are device pixels
    return QMarginsF(frame->left / ratio, frame->top / ratio, frame->right / ratio,
                     frame->bottom / ratio);
}

}  // namespace velunor::platform
