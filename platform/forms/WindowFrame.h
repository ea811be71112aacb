// Where the window system really put a window's frame, asked of the window system itself.
#pragma once

#include <optional>

#include <QRect>

class QWidget;

namespace platform::forms {

// The frame's place and size in the widgets' pixels, once the window is on screen; nothing
// while it is hidden or not yet mapped. On X11 it comes from the server: Qt's own record of a
// window's place can lag behind what the window manager did (a window that was re-created, or
// a stay-on-top one). Elsewhere it is Qt's frame geometry.
std::optional<QRect> realFrame(const QWidget& window);

// True where a window manager frames and places the windows (X11), so that a place asked
// before the window was mapped must be checked once it is.
bool framedByWindowManager();

// Asks the window manager to leave the window out of the taskbar; called before each show, as
// the window manager forgets it when the window is hidden.
void keepOffTaskbar(const QWidget& window);

}  // namespace platform::forms
