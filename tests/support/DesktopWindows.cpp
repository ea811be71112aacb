// EWMH reads on a connection of the test's own, and xdotool for the mouse and the keyboard.
#include "tests/support/DesktopWindows.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

#include <xcb/xcb.h>
#include <QCoreApplication>
#include <QProcess>

namespace support {
namespace {

template <class Reply>
std::unique_ptr<Reply, decltype(&std::free)> own(Reply* reply) {
    return {reply, &std::free};
}

void xdotool(const std::string& display, const QStringList& arguments) {
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DISPLAY", QString::fromStdString(display));
    tool.setProcessEnvironment(environment);
    tool.start("xdotool", arguments);
    tool.waitForFinished(10000);
}

QString number(int value) { return QString::number(value); }

}  // namespace

DesktopWindows::DesktopWindows(const std::string& display)
    : connection_(xcb_connect(display.c_str(), nullptr)) {
    if (!xcb_connection_has_error(connection_))
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
}

DesktopWindows::~DesktopWindows() { xcb_disconnect(connection_); }

uint32_t DesktopWindows::atom(const char* name) {
    const auto reply = own(xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : 0;
}

std::string DesktopWindows::atomName(uint32_t value) {
    const auto reply =
        own(xcb_get_atom_name_reply(connection_, xcb_get_atom_name(connection_, value), nullptr));
    if (!reply) return {};
    return std::string(xcb_get_atom_name_name(reply.get()),
                       size_t(xcb_get_atom_name_name_length(reply.get())));
}

std::vector<uint32_t> DesktopWindows::cardinals(XWindow window, const char* property) {
    const auto reply = own(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, atom(property), XCB_ATOM_ANY, 0, 1024),
        nullptr));
    if (!reply || reply->format != 32) return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return std::vector<uint32_t>(values, values + xcb_get_property_value_length(reply.get()) / 4);
}

std::vector<XWindow> DesktopWindows::stacking() { return cardinals(root_, "_NET_CLIENT_LIST_STACKING"); }

std::string DesktopWindows::title(XWindow window) {
    for (const char* property : {"_NET_WM_NAME", "WM_NAME"}) {
        const auto reply = own(xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, atom(property), XCB_ATOM_ANY, 0, 1024),
            nullptr));
        if (reply && reply->value_len > 0)
            return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                               size_t(xcb_get_property_value_length(reply.get())));
    }
    return {};
}

std::optional<XWindow> DesktopWindows::named(const std::string& titleStart) {
    for (XWindow window : cardinals(root_, "_NET_CLIENT_LIST"))
        if (title(window).rfind(titleStart, 0) == 0) return window;
    return std::nullopt;
}

QRect DesktopWindows::frame(XWindow window) {
    const auto geometry =
        own(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
    const auto origin = own(xcb_translate_coordinates_reply(
        connection_, xcb_translate_coordinates(connection_, window, root_, 0, 0), nullptr));
    if (!geometry || !origin) return {};
    // left, right, top, bottom
    std::vector<uint32_t> extents = cardinals(window, "_NET_FRAME_EXTENTS");
    extents.resize(4, 0);
    return QRect(origin->dst_x - int(extents[0]), origin->dst_y - int(extents[2]),
                 geometry->width + int(extents[0] + extents[1]),
                 geometry->height + int(extents[2] + extents[3]));
}

QPoint DesktopWindows::onScreen(XWindow window, QPoint inside) {
    const auto point = own(xcb_translate_coordinates_reply(
        connection_,
        xcb_translate_coordinates(connection_, window, root_, int16_t(inside.x()), int16_t(inside.y())),
        nullptr));
    return point ? QPoint(point->dst_x, point->dst_y) : QPoint();
}

std::optional<XWindow> DesktopWindows::transientFor(XWindow window) {
    const auto owner = cardinals(window, "WM_TRANSIENT_FOR");
    if (owner.empty()) return std::nullopt;
    return owner.front();
}

std::vector<std::string> DesktopWindows::states(XWindow window) {
    std::vector<std::string> names;
    for (uint32_t state : cardinals(window, "_NET_WM_STATE")) names.push_back(atomName(state));
    return names;
}

bool DesktopWindows::hasState(XWindow window, const std::string& state) {
    const auto all = states(window);
    return std::find(all.begin(), all.end(), state) != all.end();
}

bool DesktopWindows::isAbove(XWindow upper, XWindow lower) {
    const auto stack = stacking();
    const auto up = std::find(stack.begin(), stack.end(), upper);
    const auto low = std::find(stack.begin(), stack.end(), lower);
    return up != stack.end() && low != stack.end() && up > low;
}

QRect DesktopWindows::workArea() {
    auto area = cardinals(root_, "_NET_WORKAREA");
    if (area.size() < 4) return {};
    return QRect(int(area[0]), int(area[1]), int(area[2]), int(area[3]));
}

void click(const std::string& display, QPoint at) {
    xdotool(display, {"mousemove", number(at.x()), number(at.y()), "sleep", "0.1", "click", "1"});
}

void dragTitleBar(const std::string& display, const QRect& frame, QPoint by) {
    // In the title bar, clear of the buttons at both of its ends.
    const QPoint grip(frame.x() + frame.width() / 2, frame.y() + 10);
    const QPoint to = grip + by;
    xdotool(display, {"mousemove", number(grip.x()), number(grip.y()), "sleep", "0.1", "mousedown", "1",
                      "mousemove", number(grip.x() + by.x() / 2), number(grip.y() + by.y() / 2), "sleep",
                      "0.1", "mousemove", number(to.x()), number(to.y()), "sleep", "0.1", "mouseup", "1"});
}

void pressKeys(const std::string& display, XWindow window, const std::string& keys) {
    xdotool(display, {"windowactivate", "--sync", number(int(window))});
    // Qt takes a window's activation in after a short delay; keys before it miss its shortcuts.
    waitUntil([] { return false; }, std::chrono::milliseconds(500));
    xdotool(display, {"key", QString::fromStdString(keys)});
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

}  // namespace support
