// The engine window and the real main window (its start-up left out) on a manual clock, with a
// stub launcher that can be put into the program folder and the end of the process recorded.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/Frm_MainBis.h"
#include "platform/Clock.h"
#include "shell/Frm_Main.h"
#include "tests/support/TempSite.h"

namespace periodictest {

// The main window without its start-up sequence.
class TestWindow : public Frm_Main {
protected:
    void Form_Load() override {}
};

class PeriodicTest : public support::SiteTest {
protected:
    static constexpr const char* kFolder = "C:\\Vantremo\\Aerolune\\";

    void SetUp() override;
    void TearDown() override;

    // Local moment "YYYY-MM-DD HH:MM:SS".
    static platform::LocalClockTime at(const std::string& instant);
    void setClock(const std::string& instant);
    void advance(std::chrono::milliseconds delta);

    std::vector<std::string> logLines(const std::string& fragment) const;
    int logCount(const std::string& fragment) const { return int(logLines(fragment).size()); }
    void clearLog();

    std::filesystem::path launcherHost() const;
    void installLauncher() const;
    // Argument lists of the launcher's starts, once `count` of them are recorded (or 5 s passed).
    std::vector<std::vector<std::string>> launcherStarts(size_t count) const;

    Frm_MainBis& engine() const { return Frm_MainBis::get(); }

    TestWindow win;
    int processEnds = 0;
};

}  // namespace periodictest
