// The daily log's test fixture: a site with its log folder and a manual clock.
#pragma once

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "foundation/DailyLog.h"
#include "foundation/DailyLogState.h"
#include "foundation/LogBuffers.h"
#include "foundation/RunState.h"
#include "foundation/SystemQueries.h"
#include "foundation/Timing.h"
#include "platform/Clock.h"
#include "tests/foundation/NeighbourFakes.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace dailylogtest {

namespace fs = std::filesystem;
using namespace std::chrono;

inline const std::string kLogFolder = "C:\\AudioLog\\Histo_AL3_Relaytone\\";

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = text.find('\n', start)) != std::string::npos; start = at + 1)
        lines.push_back(text.substr(start, at - start));
    return lines;
}

inline std::vector<std::string> copyOf(const logbuffers::LogList& list) { return {list.begin(), list.end()}; }

class DailyLog : public support::SiteTest {
protected:
    fakes::Windows windows{3};

    // The log's state, lists and tick start fresh: every test program resets its modules.
    void SetUp() override {
        PbBWindows64Bits = true;
        clockAt(
            {.year = 2024, .month = 3, .day = 1, .hour = 9, .minute = 41, .second = 7, .millisecond = 45});
    }

    static void clockAt(platform::LocalTimeFields when, uint64_t tick = 100000) {
        platform::clock::setManual(platform::timeOf(when), tick);
    }
    static void advance(int64_t ms) { platform::clock::advance(milliseconds(ms)); }

    fs::path logFolder() const { return drive.root() / "AudioLog" / "Histo_AL3_Relaytone"; }

    void loadSettings() {
        fs::create_directories(logFolder());
        PbSDossierLog = kLogFolder;
        PbBFrmSetupChargee = true;
    }

    std::vector<std::string> fileLines(const std::string& day) const {
        return linesOf(support::readWindowsFile(logFolder() / (day + ".Log")));
    }

    // The file's lines after the day header, with the stamped prefix (25 characters) cut off.
    std::vector<std::string> fileTexts(const std::string& day) const {
        std::vector<std::string> texts;
        for (const std::string& line : fileLines(day))
            if (!line.starts_with("==:")) texts.push_back(line.size() > 25 ? line.substr(25) : line);
        return texts;
    }

    static size_t countContaining(const std::vector<std::string>& lines, const std::string& part) {
        return size_t(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(part) != std::string::npos;
        }));
    }
};

}  // namespace dailylogtest
