// Top-level window titles that other processes of the same install can find and ask to quit.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/process/Process.h"

class QLocalServer;

namespace platform::process {

// Publishes a window title while it lives; onQuit runs (on the event loop) when another
// process posts the quit message to it.
class TitledWindow {
public:
    TitledWindow(const std::string& title, std::function<void()> onQuit);
    ~TitledWindow();
    TitledWindow(const TitledWindow&) = delete;
    TitledWindow& operator=(const TitledWindow&) = delete;

    bool isListening() const;

private:
    std::unique_ptr<QLocalServer> server_;
    std::function<void()> onQuit_;
};

struct FoundWindow {
    long long handle = 0;  // stands for the window handle in log lines: the owner's process id
    Pid pid = 0;
    std::string endpoint;
};

// A window of another process with exactly this title; never one of the caller's own.
std::optional<FoundWindow> findWindow(const std::string& title);

// Asks the window's owner to quit; true when the message was delivered.
bool postQuit(const FoundWindow& window);

}  // namespace platform::process
