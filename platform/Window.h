// What code below the windows may do to a window without knowing its widgets.
#pragma once

#include <string>

namespace platform {

class Window {
public:
    virtual ~Window() = default;

    std::string Tag;  // free text of the window's own; "1"/"0" mirror the topmost state

    virtual void SetTopmost(bool topmost) = 0;
    virtual void SetMousePointer(int shape) = 0;  // 0 default, 11 hourglass
};

}  // namespace platform
