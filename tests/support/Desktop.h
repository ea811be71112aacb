// A desktop of a test's own: an X server (Xvfb) on a free display and a window manager
// (icewm) on it, both stopped by their process ids when the object goes.
#pragma once

#include <filesystem>
#include <string>

#include <sys/types.h>

namespace support {

class Desktop {
public:
    // Starts both and waits until the window manager manages the screen (its taskbar's work
    // area set). ready() says whether it came up; error() says why not.
    Desktop();
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    bool ready() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    const std::string& display() const { return display_; }  // ":7"

private:
    void startServer();
    void startManager();
    void waitForManager();

    pid_t server_ = -1;
    pid_t manager_ = -1;
    std::string display_;
    std::string error_;
    std::filesystem::path settings_;  // the window manager's own settings, empty
};

}  // namespace support
