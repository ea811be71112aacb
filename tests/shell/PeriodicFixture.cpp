// The periodic jobs' fixture: a fresh engine and main window for every test, manual clock.
#include "tests/shell/PeriodicFixture.h"

#include <csignal>
#include <cstdlib>

#include "engine/PeriodicJobs.h"
#include "foundation/LogBuffers.h"
#include "foundation/RunState.h"
#include "foundation/SystemQueries.h"
#include "settings/FrmSetupDivers.h"
#include "shell/ShellState.h"
#include "tests/support/Programs.h"

namespace periodictest {

void PeriodicTest::SetUp() {
    Abandon = PbBQuitter = PbBRelanceForcee = PbBRelanceLancee = false;
    PbLVersionOS = 10;
    PbSDossierApplication = kFolder;
    PbSDossierSettings.clear();
    setClock("2026-03-10 10:00:00");
    engine::seams::setEndProcess([this] { ++processEnds; });
    engine();
    FrmSetupDivers::get();
    win.Load();
    win.Show();
    PbBFeuilleChargee = true;
    clearLog();
}

void PeriodicTest::TearDown() {
    for (const auto& start : support::stubStarts(launcherHost())) ::kill(start.pid, SIGKILL);
    engine::seams::setEndProcess({});
    PbBFeuilleChargee = false;
    Abandon = false;
    if (Frm_MainBis::exists()) Frm_MainBis::get().Unload();
    platform::clock::useSystem();
}

platform::LocalClockTime PeriodicTest::at(const std::string& instant) {
    platform::LocalClockTime t{};
    EXPECT_TRUE(platform::parseInstant(instant, t)) << instant;
    return t;
}

void PeriodicTest::setClock(const std::string& instant) { platform::clock::setManual(at(instant), 1000000); }
void PeriodicTest::advance(std::chrono::milliseconds delta) { platform::clock::advance(delta); }

std::vector<std::string> PeriodicTest::logLines(const std::string& fragment) const {
    std::vector<std::string> found;
    for (const auto* buffer : {&logbuffers::earlyBuffer(), &logbuffers::fileBuffer()})
        for (const std::string& line : *buffer)
            if (line.find(fragment) != std::string::npos) found.push_back(line);
    return found;
}

void PeriodicTest::clearLog() {
    logbuffers::earlyBuffer().clear();
    logbuffers::fileBuffer().clear();
}

std::filesystem::path PeriodicTest::launcherHost() const {
    return drive.host(kFolder) / "AL3_Relaytone_Launcher";
}

void PeriodicTest::installLauncher() const {
    ::setenv("AL3_STUB_RECORD", "1", 1);
    support::copyProgram(support::stubProgram(), launcherHost().parent_path(), "AL3_Relaytone_Launcher");
}

std::vector<std::vector<std::string>> PeriodicTest::launcherStarts(size_t count) const {
    support::eventually([&] { return support::stubStarts(launcherHost()).size() >= count; },
                        std::chrono::seconds(5));
    std::vector<std::vector<std::string>> starts;
    for (const auto& start : support::stubStarts(launcherHost())) starts.push_back(start.arguments);
    return starts;
}

}  // namespace periodictest
