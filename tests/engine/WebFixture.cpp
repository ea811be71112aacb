// The engine window fixture: fresh process-wide values, the clock stopped until a test moves it.
#include "tests/engine/WebFixture.h"

#include <QTimer>

#include "foundation/LogBuffers.h"
#include "foundation/RunState.h"
#include "platform/Clock.h"

namespace webtest {

void EngineWindowTest::SetUp() {
    platform::LocalClockTime start;
    platform::parseInstant("2026-12-10 09:30:00", start);
    platform::clock::setManual(start, 1000000);
    neighbours::registerFrm_Main(&mainWindow);
    engine();
}

void EngineWindowTest::TearDown() {
    Abandon = false;
    if (Frm_MainBis::exists()) Frm_MainBis::get().Unload();
    neighbours::registerFrm_Main(nullptr);
    platform::clock::useSystem();
}

std::vector<std::string> EngineWindowTest::logLines(const std::string& fragment) const {
    std::vector<std::string> found;
    for (const std::string& line : logbuffers::earlyBuffer())
        if (line.find(fragment) != std::string::npos) found.push_back(line);
    return found;
}

void EngineWindowTest::later(int milliseconds, std::function<void()> action) {
    QTimer::singleShot(milliseconds, &context, [action = std::move(action)] { action(); });
}

}  // namespace webtest
