// A window's frame as the X server holds it: the client's ancestor right below the root window.
#include "platform/forms/WindowFrame.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <xcb/xcb.h>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace platform::forms {
namespace {

template <class Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <class Reply>
Owned<Reply> own(Reply* reply) {
    return Owned<Reply>(reply, &std::free);
}

std::optional<QRect> x11Frame(xcb_connection_t* connection, xcb_window_t window) {
    // A window manager puts each client in a frame window of its own (or in a few nested ones);
    // without one the client is its own frame.
    for (int depth = 0; depth < 16; ++depth) {
        const auto tree = own(xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
        if (!tree) return std::nullopt;
        if (tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE) break;
        window = tree->parent;
    }
    const auto geometry =
        own(xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    if (!geometry) return std::nullopt;
    const int border = 2 * geometry->border_width;
    return QRect(geometry->x, geometry->y, geometry->width + border, geometry->height + border);
}

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name) {
    const auto reply = own(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_connection_t* x11Connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

}  // namespace

bool framedByWindowManager() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

std::optional<QRect> realFrame(const QWidget& window) {
    if (!window.isWindow() || !window.isVisible()) return std::nullopt;
    QWindow* handle = window.windowHandle();
    if (!handle || !handle->isExposed()) return std::nullopt;
    if (!framedByWindowManager()) return window.frameGeometry();
    xcb_connection_t* connection = x11Connection();
    if (!connection) return window.frameGeometry();
    const auto native = x11Frame(connection, xcb_window_t(handle->winId()));
    if (!native) return std::nullopt;
    // The server counts device pixels; the widgets count them divided by Qt's scale.
    const qreal scale = handle->devicePixelRatio();
    if (scale == 1.0) return native;
    return QRect(qRound(native->x() / scale), qRound(native->y() / scale), qRound(native->width() / scale),
                 qRound(native->height() / scale));
}

void keepOffTaskbar(const QWidget& window) {
    if (!framedByWindowManager() || !window.windowHandle()) return;
    xcb_connection_t* connection = x11Connection();
    if (!connection) return;
    const auto client = xcb_window_t(window.windowHandle()->winId());
    const xcb_atom_t state = atomNamed(connection, "_NET_WM_STATE");
    const xcb_atom_t skip = atomNamed(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skip == XCB_ATOM_NONE) return;
    const auto attributes = own(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, client), nullptr));
    if (!attributes) return;
    if (attributes->map_state == XCB_MAP_STATE_UNMAPPED) {
        // Before the window is mapped the state is the window's own property; Qt adds its own
        // states to what it finds there.
        const auto current = own(xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, client, state, XCB_ATOM_ATOM, 0, 64), nullptr));
        if (current && current->format == 32) {
            const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(current.get()));
            const int count = xcb_get_property_value_length(current.get()) / int(sizeof(xcb_atom_t));
            if (std::find(atoms, atoms + count, skip) != atoms + count) return;
        }
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, client, state, XCB_ATOM_ATOM, 32, 1, &skip);
    } else {
        // A mapped window asks the window manager.
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = client;
        message.type = state;
        message.data.data32[0] = 1;  // add
        message.data.data32[1] = skip;
        message.data.data32[3] = 1;  // from an application
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        xcb_send_event(connection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
    }
    xcb_flush(connection);
}

}  // namespace platform::forms
