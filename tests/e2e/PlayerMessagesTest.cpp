// The player's message file replayed at start-up, and a station's UDP message handed on after it.
#include <gtest/gtest.h>

#include "tests/e2e/support/E2eProgram.h"

namespace {

TEST(PlayerMessages, LeftBeforeTheStartAreReplayedAndDeleted) {
    e2e::E2eSite site;
    site.addPlayerMessage(1, "20261210000001", "EVT", "<NoStation:1><CurrNature:Mus><CurrLib:Morceau A>");
    site.addPlayerMessage(1, "20261210000002", "RDS", "<rds:rt>Now playing");
    site.addPlayerMessage(2, "20261210000003", "EVT", "<NoStation:2><CurrNature:Pub><CurrLib:Spot B>");
    site.addPlayerMessage(2, "20261210000004", "RDS", "<RDS:PS>RELAYTON");

    e2e::E2eProgram program(site);
    ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End")) << program.log();
    EXPECT_FALSE(site.playerMessagesLeft(1));
    EXPECT_FALSE(site.playerMessagesLeft(2));

    // The hand-off takes no further action: what shows from outside is the framed replay and
    // the emptied files (which texts are handed on is a table test of the shell).
    EXPECT_LT(program.logPosition("Traitement des données non encore traitées: Start"),
              program.logPosition("Traitement des données non encore traitées: End"));
    EXPECT_EQ(program.terminate(), 0);
}

TEST(PlayerMessages, AMessageForStationTwoIsQueuedAndHandedOnAfterStartUp) {
    e2e::E2eSite site;
    e2e::E2eProgram program(site);
    ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End")) << program.log();

    const std::string message = "<NoStation:2><CurrNature:Mus><CurrLib:Titre UDP>";
    e2e::sendDatagram(site.port(2), message);
    ASSERT_TRUE(program.waitForLog("TimerDataArrival_Timer: Chaine: " + message)) << program.log();
    const size_t fin = program.logPosition("Traitement des données non encore traitées: End");
    const size_t arrivee = program.logPosition("UDP: Data arrival: ");
    EXPECT_GT(arrivee, fin);
    EXPECT_GT(program.logPosition("TimerDataArrival_Timer: Chaine: " + message), arrivee);
    EXPECT_EQ(program.terminate(), 0);
}

}  // namespace
