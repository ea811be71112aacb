// The error report: status texts, the composed report, the box's answers, network statuses.
#include <gtest/gtest.h>

#include <fstream>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include "btrieve/ErrorReport.h"
#include "btrieve/History.h"
#include "foundation/RunState.h"
#include "platform/Clock.h"
#include "tests/btrieve/BtrieveFixture.h"

using namespace btrieve_test;
using namespace Lib_Data_BTrieve_2;
namespace dialogs = platform::dialogs;

class ErrorReport : public BtrieveTest {
protected:
    void SetUp() override {
        BtrieveTest::SetUp();
        platform::LocalClockTime start;
        ASSERT_TRUE(platform::parseInstant("2026-12-10 09:30:05", start));
        platform::clock::setManual(start, 400000);
        Lib_Data_BTrieve::addHistory(0, "File:55 Station:1 OP:09 K:00 [x] [A:B]");
        Lib_Data_BTrieve::addHistory(0, "File:55 Station:1 OP:04 K:00 [x] [A:B]");
    }
    void TearDown() override {
        platform::clock::useSystem();
        BtrieveTest::TearDown();
    }
    void report(int16_t status, bool quiet = false, bool informAndQuit = false) {
        PbIBtrStatus = status;
        ErreurBTrieve(0, 55, "C:\\AL_Data\\FRADA55.bt6", "Test:Report", quiet, informAndQuit);
    }
    const std::string heading = "Fichier :  (" +
                                std::filesystem::read_symlink("/proc/self/exe").stem().string() +
                                ")  (10/12/2026 09:30:05)\n";
};

TEST_F(ErrorReport, StatusTexts) {
    const std::pair<int16_t, const char*> cases[] = {
        {1, "Err: 1: The operation parameter is invalid\n"},
        {2, "Err: 2: The application encountered an I/O error\n"},
        {3, "Err: 3: The file is not open\n"},
        {4, "Err: 4: The application cannot find the key value\n"},
        {5, "Err: 5: The record has a key field containing a duplicate key value\n"},
        {6, "Err: 6: The key number parameter is invalid\n"},
        {7, "Err: 7: The key number has changed\n"},
        {8, "Err: 8: The current positioning is invalid\n"},
        {11, "Err: 11: The specified filename is invalid (C:\\x.bt6)\n"},
        {12, "Err: 12: The MicroKernel cannot find the specified file (C:\\x.bt6)\n"},
        {18, "Err: 18: The disk is full\n"},
        {19, "Err: 19: The application encountered an unrecoverable error\n"},
        {30, "Err: 30: The file specified is not a MicroKernel file\n"},
        {46, "Err: 46: Access to the requested file is denied (File locked ?)\n"},
        {161, "Err: 161: The maximum number of user count licenses has been reached\n"},
        {2007, "Err: 2007: A pointer parameter is invalid\n"},
        {3103, "Err: 3103: Network error\n"},
        {3132, "Err: 3132: Network error\n"},
        {3102, "Err: 3102\n"},
        {84, "Err: 84\n"},
        {-1, "Err: -1\n"},
    };
    for (const auto& [status, text] : cases)
        EXPECT_EQ(ErreurBTrieveLibelle(status, "C:\\x.bt6"), text) << status;
}

TEST_F(ErrorReport, TheReportIsLoggedAndShownWithHistoryAndAdvice) {
    PbIBtrOp = 4;
    dialogs::queueAnswers({"abort"});
    report(4);
    const std::string text = heading + "Err: 4: The application cannot find the key value\n\n" +
                             " 0>S:00004 File:55 Station:1 OP:04 K:00 [x] [A:B]\n" +
                             " 1>File:55 Station:1 OP:09 K:00 [x] [A:B]\n" +
                             "\nFaîtes une restauration de ce fichier\n";
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, text);
    EXPECT_EQ(boxes()[0].title, "Aerolune: Relaytone");
    EXPECT_EQ(boxes()[0].answer, "abort");
    EXPECT_EQ(linesWith("Err: Fichier :").size(), 1u);
    EXPECT_TRUE(main.quits.empty());

    PbIBtrOp = 9;
    report(4, true);
    EXPECT_EQ(boxes().back().text, heading + "Err: 4: The application cannot find the key value\n\n");
}

TEST_F(ErrorReport, WhatSomeStatusesLeaveOut) {
    report(0);
    EXPECT_TRUE(logLines().empty());

    report(80);
    EXPECT_TRUE(logLines().empty());
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(BtrCallHistory[0][0].substr(0, 8), "S:00080 ");

    report(161);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text,
              heading + "Err: 161: The maximum number of user count licenses has been reached\n\n");
}

TEST_F(ErrorReport, RetryAndIgnoreAskToQuitAndOnlyAConfirmedQuitEndsTheProcess) {
    dialogs::queueAnswers({"retry", "ignore"});
    report(2);
    EXPECT_EQ(main.quits, std::vector<bool>{true});
    EXPECT_EQ(processEnds, 0) << "the quit question was refused";
    EXPECT_EQ(linesWith("Close Application ? ErreurBTrieve").size(), 1u);

    main.quitGoesAhead = true;
    report(2);
    EXPECT_EQ(main.quits.size(), 2u);
    EXPECT_EQ(processEnds, 1);

    dialogs::queueAnswers({"ok"});
    report(2, false, true);
    EXPECT_EQ(boxes().back().answer, "ok");
    EXPECT_EQ(main.quits.size(), 3u);
}

TEST_F(ErrorReport, ShortlyAfterStartANetworkFailureIsShownAsAConnectionProblem) {
    platform::clock::setTick(120000);
    report(3110);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text,
              "Le programme a rencontré un problème de connexion au serveur.\n\n"
              "Veuillez vérifier la connectique de votre réseau.");
    EXPECT_EQ(linesWith("Err: Network Pervasive errors: 3110").size(), 1u);
    EXPECT_EQ(linesWith("Err: Le programme a rencontré").size(), 1u);
    ASSERT_FALSE(main.incidents.empty());
    EXPECT_NE(main.incidents[0].find("Err: Network Pervasive errors: 3110"), std::string::npos);
}

TEST_F(ErrorReport, LaterANetworkFailureRestartsThroughTheLauncher) {
    PbSDossierApplication = "C:\\Program\\";
    const auto folder = drive.root() / "Program";
    std::filesystem::create_directories(folder);
    {
        std::ofstream launcher(folder / "AL3_Relaytone_Launcher");
        launcher << "#!/bin/sh\ntouch \"" << (folder / "started").string() << "\"\n";
    }
    std::filesystem::permissions(folder / "AL3_Relaytone_Launcher", std::filesystem::perms::owner_all);

    report(3110);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(linesWith("Reboot the Computer because of Pervasive Err: 3110").size(), 1u);
    EXPECT_EQ(main.quits, std::vector<bool>{true});
    EXPECT_EQ(processEnds, 0) << "refused: the launcher restarts the program on its own";
    for (int i = 0; i < 100 && !std::filesystem::exists(folder / "started"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(std::filesystem::exists(folder / "started"));

    std::filesystem::remove(folder / "AL3_Relaytone_Launcher");
    report(3110);
    EXPECT_EQ(boxes().size(), 1u) << "no launcher: the report is shown once";
    EXPECT_EQ(main.quits.size(), 1u);
}

// The real end of the process after the operator's confirmed quit: status 0, and another copy of
// the same program in the same folder (a forked one) lives on.
TEST_F(ErrorReport, TheQuitPathEndsOnlyThisProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const pid_t runner = ::getpid();
    const pid_t otherCopy = ::fork();
    ASSERT_GE(otherCopy, 0);
    if (otherCopy == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives the test runner that made it
        // The death test runs this body again in a child that may end before the line above.
        if (::getppid() != runner) ::_exit(0);
        ::pause();
        ::_exit(0);
    }
    Lib_Data_BTrieve::seams::setEndProcess({});
    main.quitGoesAhead = true;
    EXPECT_EXIT(
        {
            dialogs::queueAnswers({"retry"});
            report(2);
        },
        ::testing::ExitedWithCode(0), "");
    int status = 0;
    EXPECT_EQ(::waitpid(otherCopy, &status, WNOHANG), 0) << "the other copy was ended";
    ::kill(otherCopy, SIGKILL);
    ::waitpid(otherCopy, &status, 0);
}
