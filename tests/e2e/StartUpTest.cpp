// The real program on a fixture site: start-up order, time replies, shut-down by signal.
#include <gtest/gtest.h>

#include <fstream>

#include <QElapsedTimer>
#include <QThread>

#include "btrieve/Catalogue.h"
#include "tests/e2e/support/E2eProgram.h"
#include "tests/support/WindowsFiles.h"

namespace {

using namespace std::chrono_literals;

TEST(StartUp, LogsItsStepsInOrderAndAnswersTimeQueries) {
    e2e::E2eSite site;
    e2e::E2eProgram program(site);
    ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End")) << program.log();

    // The day header, then start-up: the settings window binds each row on the engine's
    // receivers (loaded before it), then the base's files open, the window shows, the replay runs.
    const std::vector<std::string> sequence = {
        "App.Version: ",
        "FrmMain: Init General: Start",
        "----- Init: InitGeneralSite -----",
        "FrmSetup: Init General: Start",
        "UDP: SocketWrenchUDPIn.Binded to: 127.0.0.1:" + std::to_string(site.port(1)),
        "UDP: SocketWrenchUDPIn.Binded to: 127.0.0.1:" + std::to_string(site.port(2)),
        "----- Skyplate: Open DataBase -----",
        "Pervasive Files: Opened",
        "FrmMain: Init General: End",
        "----- Skyplate: Init: Display -----",
        "----- Init: Duration: ",
        "Traitement des données non encore traitées: Start",
        "Traitement des données non encore traitées: End"};
    size_t prior = 0;
    for (const auto& stage : sequence) {
        const size_t position = program.logPosition(stage);
        ASSERT_NE(position, std::string::npos) << stage << "\n" << program.log();
        EXPECT_GT(position, prior) << stage;
        prior = position;
    }

    for (int station : {1, 2}) {
        const auto reply = e2e::askTime(site.port(station));
        ASSERT_TRUE(reply) << "station " << station;
        EXPECT_EQ(reply->rfind("<Relaytone_Time:", 0), 0u) << *reply;
        EXPECT_EQ(reply->size(), 36u) << *reply;
    }
    EXPECT_EQ(program.terminate(), 0);
}

TEST(StartUp, TermSignalShutsDownInOrderAndExitsWithZero) {
    e2e::E2eSite site;
    e2e::E2eProgram program(site);
    ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End")) << program.log();

    EXPECT_EQ(program.terminate(), 0);
    const std::string log = program.log();
    const size_t closed = log.find("Form closed by the Taskmanager");
    ASSERT_NE(closed, std::string::npos) << log;
    EXPECT_NE(log.find("Pervasive Files: Closed", closed), std::string::npos) << log;
    EXPECT_EQ(log.find("Voulez-vous quitter"), std::string::npos);
    const std::string positions = support::readWindowsFile(site.positionsFile());
    EXPECT_NE(positions.find("[FrmPos]"), std::string::npos) << positions;
    EXPECT_NE(positions.find("Frm_Main_WindowState="), std::string::npos) << positions;
}

TEST(StartUp, InterruptAndHangUpAreTheTaskManagersCloseToo) {
    for (const int sig : {SIGINT, SIGHUP}) {
        e2e::E2eSite site;
        e2e::E2eProgram program(site);
        ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End"));
        ::kill(pid_t(program.pid()), sig);
        EXPECT_EQ(program.waitForExit(), 0) << sig;
        EXPECT_NE(program.logPosition("Form closed by the Taskmanager"), std::string::npos) << sig;
    }
}

TEST(StartUp, MissingControlFilesOfferTheInstallerAndEnd) {
    e2e::E2eSite site;
    std::filesystem::remove(site.host("C:\\Windows\\System32\\clinetsuitex7.ocx"));
    e2e::ProgramOptions options;
    options.answers = "ok,no";
    e2e::E2eProgram program(site, options);
    EXPECT_EQ(program.waitForExit(), 0);
    const std::string messageBoxes = program.errorOutput();
    EXPECT_NE(messageBoxes.find("3.49.000"), std::string::npos) << messageBoxes;
    EXPECT_NE(messageBoxes.find("Voulez-vous télécharger le fichier et faire l'installation ?"),
              std::string::npos)
        << messageBoxes;
}

}  // namespace

namespace {

TEST(StartUp, TheCommandLineChoosesTheInstanceAndRefusesABaseTheSiteLacks) {
    e2e::E2eSite site;
    e2e::ProgramOptions options;
    options.arguments = {"/Instance=3", "/NoBase=4"};
    // The instance's own settings file is new, so its sound card is on: the box that says no
    // sound device was found (none in the tests) takes OK.
    options.answers = "ok";
    e2e::E2eProgram program(site, options);
    ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End")) << program.log();
    EXPECT_NE(program.logPosition("Command Line: '/Instance=3 /NoBase=4'"), std::string::npos);
    EXPECT_NE(program.logPosition("Instance: 3"), std::string::npos);
    EXPECT_NE(program.logPosition("Warning: PbIDefaultNoBase: 4 is not a base of the site"),
              std::string::npos);
    EXPECT_EQ(program.terminate(), 0);
    // Instance 3 keeps its own settings files.
    EXPECT_TRUE(std::filesystem::exists(
        site.host("C:\\Vantremo\\Aerolune\\Settings\\AL3_Relaytone\\AL3_Relaytone_3_Positions.Ini")));
    EXPECT_FALSE(std::filesystem::exists(site.positionsFile()));
}

TEST(StartUp, ANewCopyEndsTheOlderOneWhichLeavesTheNewOneRunning) {
    e2e::E2eSite site;
    e2e::E2eProgram olderCopy(site);
    ASSERT_TRUE(olderCopy.waitForLog("Traitement des données non encore traitées: End")) << olderCopy.log();
    e2e::E2eProgram fresh(site);
    // The older copy is asked to quit: an orderly shut-down, and it ends only itself.
    EXPECT_EQ(olderCopy.waitForExit(std::chrono::seconds(30)), 0) << olderCopy.log();
    ASSERT_TRUE(fresh.waitForLog("Err: PrevInstance found in Windows memory.")) << fresh.log();
    ASSERT_TRUE(fresh.running());
    std::optional<std::string> reply;
    for (int attempt = 0; attempt < 200 && !reply && fresh.running(); ++attempt)
        reply = e2e::askTime(site.port(1), std::chrono::milliseconds(100));
    ASSERT_TRUE(reply) << fresh.log();
    EXPECT_EQ(reply->rfind("<Relaytone_Time:", 0), 0u);
    EXPECT_EQ(fresh.terminate(), 0);
}

}  // namespace

namespace {

TEST(StartUp, ATermSignalDuringStartUpShutsDownWithoutGoingOn) {
    e2e::E2eSite site;
    e2e::ProgramOptions options;
    options.arguments = {"/Wait=8000"};
    e2e::E2eProgram program(site, options);
    // Its lines wait in memory until the settings window loads, so the log cannot show the pause:
    // the signal comes well inside it.
    QThread::msleep(1500);
    QElapsedTimer clockSource;
    clockSource.start();
    EXPECT_EQ(program.terminate(), 0);
    EXPECT_LT(clockSource.elapsed(), 5000);  // the pause ended with the shut-down
    EXPECT_TRUE(std::filesystem::exists(site.positionsFile()));
    // Start-up stopped where the close found it: no settings window, no rows bound.
    EXPECT_EQ(program.log().find("FrmSetup: Init General: Start"), std::string::npos) << program.log();
    EXPECT_FALSE(e2e::askTime(site.port(1), std::chrono::milliseconds(200)));
}

// Sent before the program has even read its command line: held until the window exists, then
// the same orderly close, never the signal's plain kill.
TEST(StartUp, ATermSignalBeforeAnyWindowExistsWaitsForTheWindowAndShutsDownInOrder) {
    e2e::E2eSite site;
    e2e::ProgramOptions options;
    options.termAtStart = true;
    e2e::E2eProgram program(site, options);
    EXPECT_EQ(program.waitForExit(), 0);
    EXPECT_TRUE(std::filesystem::exists(site.positionsFile()));
    EXPECT_EQ(program.log().find("FrmSetup: Init General: Start"), std::string::npos) << program.log();
}

// A damaged file of the base: the record manager's report, then the operator's confirmed quit.
TEST(StartUp, AQuitConfirmedFromTheRecordManagersReportClosesTheFilesAndExitsWithZero) {
    e2e::E2eSite site;
    std::ofstream(site.dataFolder() / Lib_Data_BTrieve::NomFichierBTR(31, 0), std::ios::trunc)
        << "not a record-manager file";
    e2e::ProgramOptions options;
    options.answers = "retry,yes";  // the report's box, then "Voulez-vous quitter le programme ?"
    e2e::E2eProgram program(site, options);
    EXPECT_EQ(program.waitForExit(), 0) << program.errorOutput();
    const size_t quit = program.logPosition("Close Application ? ErreurBTrieve");
    ASSERT_NE(quit, std::string::npos) << program.log();
    EXPECT_NE(program.log().find("Pervasive Files: Closed", quit), std::string::npos) << program.log();
    EXPECT_EQ(program.logPosition("Pervasive Files: Opened"), std::string::npos);
}

// The data question answered the same way again and again (every box takes its default): the
// search gives up after ten asks and the program starts without the data.
TEST(StartUp, TheDataQuestionGivesUpOnTheSameAnswerAndTheProgramRuns) {
    e2e::E2eSite site;
    std::filesystem::remove_all(site.dataFolder());
    e2e::ProgramOptions options;
    options.answers = "yes";
    e2e::E2eProgram program(site, options);
    ASSERT_TRUE(
        program.waitForLog("Err: Database not found: C:\\AL_Data\\FRAD000.bt6 |The same "
                           "answer 10 times: search given up"))
        << program.log();
    ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End")) << program.log();
    EXPECT_TRUE(e2e::askTime(site.port(1)));
    EXPECT_EQ(program.terminate(), 0);
    const std::string boxes = program.errorOutput();
    size_t asked = 0;
    for (size_t at = boxes.find("FRAD000.bt6' non trouv"); at != std::string::npos;
         at = boxes.find("FRAD000.bt6' non trouv", at + 1))
        ++asked;
    EXPECT_EQ(asked, 10u) << boxes;
}

}  // namespace
