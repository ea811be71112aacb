// The windows of a desktop as its X server and window manager see them, and a person's hands on
// them (xdotool): what a test checks a program's windows against, whatever the program believes.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QPoint>
#include <QRect>

struct xcb_connection_t;

namespace support {

using XWindow = uint32_t;

class DesktopWindows {
public:
    explicit DesktopWindows(const std::string& display);
    ~DesktopWindows();
    DesktopWindows(const DesktopWindows&) = delete;
    DesktopWindows& operator=(const DesktopWindows&) = delete;

    // The windows the manager manages, from the bottom of the stack to its top.
    std::vector<XWindow> stacking();
    // The first managed window whose title begins with the text.
    std::optional<XWindow> named(const std::string& titleStart);
    std::string title(XWindow window);
    // The frame, title bar included: the client's place less the frame extents the window
    // manager announces for it.
    QRect frame(XWindow window);
    // A point of the window's inner area on the screen, as the server has the window (Qt's own
    // record of where a window is can be off).
    QPoint onScreen(XWindow window, QPoint inside);
    std::optional<XWindow> transientFor(XWindow window);
    // The names of its _NET_WM_STATE atoms ("_NET_WM_STATE_ABOVE", ...).
    std::vector<std::string> states(XWindow window);
    bool hasState(XWindow window, const std::string& state);
    bool isAbove(XWindow upper, XWindow lower);
    // The screen less the taskbar.
    QRect workArea();

private:
    std::vector<uint32_t> cardinals(XWindow window, const char* property);
    uint32_t atom(const char* name);
    std::string atomName(uint32_t atom);

    xcb_connection_t* connection_;
    XWindow root_ = 0;
};

// A person's hands: the mouse moved and clicked, a title bar dragged, keys pressed on a window.
// Each waits for xdotool to finish; the keys go once the window has taken its activation in.
void click(const std::string& display, QPoint at);
void dragTitleBar(const std::string& display, const QRect& frame, QPoint by);
void pressKeys(const std::string& display, XWindow window, const std::string& keys);

// Runs the program's events until the condition holds or the time-out passes; the last answer.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

}  // namespace support
