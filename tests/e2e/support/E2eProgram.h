// The real AL3_Relaytone started as a process on a fixture site, watched from outside.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <QProcess>

#include "tests/e2e/support/E2eSite.h"

namespace e2e {

struct ProgramOptions {
    std::string answers;  // AL3_ANSWERS, empty for none
    std::string clock;    // AL3_CLOCK start instant, empty for the real time
    std::vector<std::string> arguments;
    std::string locale;  // the desktop's LANG ("fr_FR.UTF-8"), empty for the test's own
    // SIGTERM sent as the process starts, kept blocked until the program lets it in: it
    // arrives before anything of the program exists.
    bool termAtStart = false;
    // Standard error goes to this file instead of a pipe (standard output nowhere): the programs
    // it starts, which inherit both, write on after it has ended.
    std::filesystem::path errorFile;
    // On the X display of the test's environment (a desktop of its own) instead of offscreen.
    bool onDesktop = false;
};

// The environment of a desktop whose locale is LANG alone (no LC_ALL, LC_* or LANGUAGE).
void useDesktopLocale(QProcessEnvironment& env, const std::string& locale);

class E2eProgram {
public:
    E2eProgram(const E2eSite& site, ProgramOptions options = {});
    ~E2eProgram();  // ends the process by its id if it still runs

    qint64 pid() const { return process_.processId(); }
    bool running() const { return process_.state() != QProcess::NotRunning; }

    // The day's log (every .Log of the log folder, in name order) as UTF-8 text.
    std::string log() const;
    // Waits until the log holds the text; false on time-out or when the process ended first.
    bool waitForLog(const std::string& text, std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // Position of the first line holding the text, or npos.
    size_t logPosition(const std::string& text) const;

    // Sends SIGTERM and waits for the exit; the exit code, or nullopt on time-out or crash.
    std::optional<int> terminate(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    std::optional<int> waitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    // What the program wrote to standard error (the answered boxes among others).
    std::string errorOutput();

private:
    const E2eSite& site_;
    QProcess process_;
    std::string stderr_;
    std::filesystem::path errorFile_;
};

// One datagram from a fresh loopback socket; returns the first reply within the time-out.
std::optional<std::string> askTime(uint16_t port,
                                   std::chrono::milliseconds timeout = std::chrono::seconds(5));
void sendDatagram(uint16_t port, const std::string& text);

}  // namespace e2e
