// The real program under a stream of hostile datagrams: it keeps answering and hearing, and
// its log holds only its own lines. What depends on the machine's speed is the benchmark's.
#include <gtest/gtest.h>

#include "tests/e2e/support/E2eProgram.h"
#include "tests/e2e/support/HostileTraffic.h"

namespace {

TEST(HostileInput, AStreamOfHostileDatagramsNeitherSilencesTheProgramNorWritesItsLog) {
    e2e::E2eSite site;
    e2e::ProgramOptions options;
    options.clock = "2026-12-10 09:00:00";
    e2e::E2eProgram program(site, options);
    ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End")) << program.log();

    e2e::HostileRunOptions run;
    run.hostile = 1200;
    run.seed = 13;
    const e2e::HostileRunResult result = e2e::runHostileTraffic({site.port(1), site.port(2)}, run);
    EXPECT_EQ(result.answered, result.queries);
    ASSERT_TRUE(program.running());
    ASSERT_EQ(program.terminate(), 0);

    const std::string log = program.log();
    for (size_t k = 0; k < result.messages.size(); ++k)
        EXPECT_EQ(e2e::countLines(log, "UDP: Data arrival Bis: " + result.messages[k] +
                                           " |NoStation: " + std::to_string(result.stations[k])),
                  1)
            << result.messages[k];
    EXPECT_EQ(e2e::foreignLogLines(log), std::vector<std::string>{});
    // The run did carry what it was meant to: forged lines, shown inside their own lines.
    EXPECT_GT(e2e::countLines(log, "<CRLF>" + e2e::kForgedLine), 0);
    EXPECT_GT(e2e::countLines(log, "Warning: UDP: SocketWrenchUDPOut.Resolve: "), 0);
}

// Messages and a time query, round after round, each from a socket of its own: the station
// is heard every round, also when a read notification comes after the handlers' own event
// loops have already emptied its socket.
TEST(HostileInput, AStationStaysHeardRoundAfterRound) {
    e2e::E2eSite site;
    e2e::E2eProgram program(site);
    ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End")) << program.log();
    const std::string messages[] = {std::string("<NoStation:1>\0nul\0", 18), "<NoStation:2>a\r\nb",
                                    "<NoStation:1e308>\rc", "<NoStation:3>plain"};
    for (int round = 0; round < 12; ++round) {
        for (int k = 0; k < 3; ++k) e2e::sendDatagram(site.port(1), messages[round % 4]);
        const auto reply = e2e::askTime(site.port(1), std::chrono::seconds(10));
        ASSERT_TRUE(reply && reply->rfind("<Relaytone_Time:", 0) == 0) << "round " << round;
    }
    EXPECT_EQ(program.terminate(), 0);
}

}  // namespace
