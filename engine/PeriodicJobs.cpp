// The next nightly relaunch moment, and the end of the process once the nightly quit went ahead.
#include "engine/PeriodicJobs.h"

#include <cstdlib>

#include "foundation/DailyLog.h"

namespace engine {

platform::LocalClockTime nextRestart(platform::LocalClockTime moment, platform::LocalClockTime currentTime) {
    do {
        moment += std::chrono::days(1);
    } while (moment <= currentTime);
    return moment;
}

namespace seams {
namespace {

std::function<void()>& ender() {
    static std::function<void()> e;
    return e;
}

}  // namespace

void setEndProcess(std::function<void()> e) { ender() = std::move(e); }

void endProcess() {
    if (ender()) return ender()();
    // The windows are unloaded already; only the lines still buffered need writing.
    Lib_Public::TraceLogForce("Frm_MainBis:Timer60s_Timer");
    std::_Exit(0);
}

}  // namespace seams
}  // namespace engine
