// The real program whose log folder cannot take lines (a full disk, the day's file replaced by a
// folder) while a station sends messages and asks the time: every query is answered, and once
// the folder takes lines again the newest lines are there. The replies' times are the benchmark's.
#include <gtest/gtest.h>

#include "tests/e2e/support/E2eProgram.h"
#include "tests/e2e/support/HostileTraffic.h"
#include "tests/e2e/support/LogFaults.h"

namespace {

const std::string kDay = "20261210";

e2e::ProgramOptions onTheDay() {
    e2e::ProgramOptions options;
    options.clock = "2026-12-10 09:00:00";
    return options;
}

void expectEveryQueryAnswered(const std::vector<e2e::LogFaultPhase>& phases) {
    for (const e2e::LogFaultPhase& phase : phases) {
        EXPECT_GT(phase.traffic.queries, 0) << phase.name;
        EXPECT_EQ(phase.traffic.answered, phase.traffic.queries) << phase.name;
    }
}

int heardOnce(const std::string& log, const e2e::StationTraffic& traffic) {
    int heard = 0;
    for (const std::string& message : traffic.messages)
        heard += e2e::countLines(log, e2e::heardLine(message)) == 1;
    return heard;
}

}  // namespace

TEST(LogFaults, ADayFileReplacedByAFolderSilencesNothingAndLosesNoLine) {
    e2e::E2eSite site;
    e2e::E2eProgram program(site, onTheDay());
    ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End")) << program.log();

    const auto phases = e2e::runLogFaults(site, kDay, nullptr);
    expectEveryQueryAnswered(phases);
    ASSERT_TRUE(program.waitForLog(e2e::heardLine(phases.back().traffic.messages.back())));
    ASSERT_TRUE(program.running());
    ASSERT_EQ(program.terminate(), 0);

    const std::string log = program.log();
    for (const e2e::LogFaultPhase& phase : phases)
        EXPECT_EQ(heardOnce(log, phase.traffic), int(phase.traffic.messages.size())) << phase.name;
    EXPECT_EQ(e2e::countLines(log, "Err: 75 (Path/File access error (C:\\AudioLog\\Histo_AL3_Relaytone\\" +
                                       kDay + ".Log)"),
              1);
    EXPECT_EQ(e2e::countLines(log, " lines lost"), 0);
    EXPECT_EQ(e2e::foreignLogLines(log), std::vector<std::string>{});
}

TEST(LogFaults, AFullDiskThenLittleRoomKeepsTheNewestLinesAndSaysHowManyWereLost) {
    e2e::E2eSite site;
    e2e::SmallDisk disk(site.logFolder(), 4u << 20);
    if (!disk.mounted()) GTEST_SKIP() << disk.refusal();
    e2e::E2eProgram program(site, onTheDay());
    ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End")) << program.log();

    const auto phases = e2e::runLogFaults(site, kDay, &disk);
    ASSERT_EQ(phases.size(), 4u);
    expectEveryQueryAnswered(phases);
    const e2e::StationTraffic& roomAgain = phases.back().traffic;
    ASSERT_TRUE(program.waitForLog(e2e::heardLine(roomAgain.messages.back()))) << program.log();
    ASSERT_TRUE(program.running());
    ASSERT_EQ(program.terminate(), 0);

    const std::string log = program.log();
    EXPECT_EQ(heardOnce(log, phases.front().traffic), int(phases.front().traffic.messages.size()));
    // What waited through both faults did not fit: its oldest lines went, told in one line.
    EXPECT_EQ(e2e::countLines(log, "Warning: Log: Disk full: "), 1);
    EXPECT_EQ(e2e::countLines(log, " lines lost, from "), 1);
    EXPECT_LT(heardOnce(log, phases[1].traffic), int(phases[1].traffic.messages.size()));
    EXPECT_EQ(heardOnce(log, roomAgain), int(roomAgain.messages.size()));
    EXPECT_EQ(e2e::foreignLogLines(log), std::vector<std::string>{});
}
