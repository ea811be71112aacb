// The player's message file replayed at start-up, and a station's UDP message handed on after it.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QThread>

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
    const size_t arrival = program.logPosition("UDP: Data arrival: ");
    EXPECT_GT(arrival, fin);
    EXPECT_GT(program.logPosition("TimerDataArrival_Timer: Chaine: " + message), arrival);
    EXPECT_EQ(program.terminate(), 0);
}

// The automation holds its file while the replay deletes: a stop signal ends the wait, the
// program shuts down in order, and the messages it could not delete are still in the file.
TEST(PlayerMessages, AStopSignalEndsTheWaitOnAHeldFileAndKeepsItsMessages) {
    e2e::E2eSite site;
    site.addPlayerMessage(1, "20261210000001", "EVT", "<NoStation:1><CurrNature:Mus><CurrLib:Morceau A>");
    QProcess holder;
    const char* bin = std::getenv("AL3_BIN_DIR");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("AL3_DRIVE_C", QString::fromStdString(site.root().string()));
    holder.setProcessEnvironment(env);
    holder.start(QString::fromStdString(std::string(bin ? bin : ".") + "/al3-automation"),
                 {"hold", "C:\\AL_Data\\FRADA55.bt6", "--ms", "30000"});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    ASSERT_EQ(holder.readLine().trimmed(), "locked");

    e2e::ProgramOptions options;
    options.answers = "abort";  // the report of the failed delete: the program goes on
    e2e::E2eProgram program(site, options);
    QThread::msleep(4000);
    EXPECT_EQ(program.terminate(std::chrono::seconds(8)), 0);
    holder.kill();
    holder.waitForFinished(5000);
    EXPECT_TRUE(site.playerMessagesLeft(1));
}

}  // namespace
