// The real program under a stream of hostile datagrams: it keeps answering and hearing, and
// its log holds only its own lines. What depends on the machine's speed is the benchmark's.
#include <gtest/gtest.h>

#include "tests/e2e/support/E2eProgram.h"

namespace {

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
