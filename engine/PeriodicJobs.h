// The engine timers' clock-driven jobs: the day marks of the daily mails, the next nightly
// relaunch moment, and the seam through which the relaunch ends this process.
#pragma once

#include <functional>
#include <string>

#include "platform/Clock.h"

namespace engine {

// "YYYYMMDD" of the last day each daily step of Timer30s was done; empty until its first run.
struct Timer30sDays {
    std::string interval;
    std::string mailActive;
    std::string mailLog;
};

// The relaunch moment after one that has passed: a day later, or as many days as it takes to
// lie after now, so that a clock that jumped days ahead relaunches once and not every minute.
platform::LocalClockTime nextRestart(platform::LocalClockTime moment, platform::LocalClockTime currentTime);

namespace seams {
// Ends this process at once after the nightly quit went ahead; tests record it instead.
void setEndProcess(std::function<void()> endProcess);
void endProcess();
}  // namespace seams

}  // namespace engine
