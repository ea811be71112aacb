// Quit, shut-down and restart on the real main window (its start-up left out).
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include "foundation/LogBuffers.h"
#include "foundation/RunState.h"
#include "platform/Dialogs.h"
#include "platform/WinPath.h"
#include "shell/Frm_Main.h"
#include "tests/support/Programs.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace {

// The main window without its start-up sequence, loaded and shown.
class Fenetre : public Frm_Main {
protected:
    void Form_Load() override {}
};

class Quit : public support::SiteTest {
protected:
    void SetUp() override {
        Abandon = PbBQuitter = PbBRelanceForcee = PbBRelanceLancee = false;
        PbSDossierApplication = "C:\\Vantremo\\Aerolune\\";
        PbSDossierSettings.clear();
        logbuffers::earlyBuffer().clear();
        fenetre.Load();
        fenetre.Show();
    }
    void TearDown() override {
        for (const auto& start : support::stubStarts(lanceurHote())) ::kill(start.pid, SIGKILL);
    }
    bool logged(const std::string& texte) const {
        for (const auto& l : logbuffers::earlyBuffer())
            if (l.find(texte) != std::string::npos) return true;
        return false;
    }
    std::filesystem::path lanceurHote() const {
        return drive.host("C:\\Vantremo\\Aerolune\\") / "AL3_Relaytone_Launcher";
    }
    void installerLanceur() const {
        ::setenv("AL3_STUB_RECORD", "1", 1);
        support::copyProgram(support::stubProgram(), lanceurHote().parent_path(), "AL3_Relaytone_Launcher");
    }

    Fenetre fenetre;
};

TEST_F(Quit, ClosingTheWindowAnsweredNoKeepsTheProgramRunning) {
    platform::dialogs::queueAnswers({"no"});
    fenetre.close();
    ASSERT_EQ(platform::dialogs::asked().size(), 1u);
    EXPECT_EQ(platform::dialogs::asked()[0].text, "Voulez-vous quitter le programme ?");
    EXPECT_FALSE(PbBQuitter);
    EXPECT_FALSE(Abandon);
    EXPECT_TRUE(fenetre.Loaded());
}

TEST_F(Quit, ClosingTheWindowAnsweredYesShutsDownAndSavesThePosition) {
    platform::dialogs::queueAnswers({"yes"});
    fenetre.close();
    EXPECT_TRUE(PbBQuitter);
    EXPECT_TRUE(Abandon);
    EXPECT_FALSE(fenetre.Loaded());
    EXPECT_TRUE(logged("Application closed by human action (Menu action)"));
    const std::string positions = support::readWindowsFile(
        drive.host("C:\\Vantremo\\Aerolune\\Settings\\AL3_Relaytone\\AL3_Relaytone_Positions.Ini"));
    EXPECT_NE(positions.find("Frm_Main_WindowState="), std::string::npos) << positions;
}

TEST_F(Quit, ARestartStartsTheLauncherAndQuitsWithoutAQuestion) {
    installerLanceur();
    fenetre.RelancerApplication(false, "Test:Premier");
    EXPECT_TRUE(platform::dialogs::asked().empty());
    EXPECT_TRUE(PbBQuitter);
    EXPECT_TRUE(PbBRelanceForcee);
    EXPECT_FALSE(fenetre.Loaded());
    EXPECT_TRUE(logged("Restart needed: Application closed by code action |Sub: Test:Premier"));
    EXPECT_TRUE(logged("Restart needed: Launch: C:\\Vantremo\\Aerolune\\AL3_Relaytone_Launcher.exe"));
    ASSERT_TRUE(support::eventually([&] { return !support::stubStarts(lanceurHote()).empty(); },
                                    std::chrono::seconds(5)));
    const auto starts = support::stubStarts(lanceurHote());
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_TRUE(starts[0].arguments.empty());  // standby at launch is not ticked
}

TEST_F(Quit, ALauncherGoneAtTheSecondLookLeavesTheGuardSetAndLaterRequestsOnlyLog) {
    // In test mode the first look lets a missing launcher through; the second finds it missing.
    platform::dialogs::queueAnswers({"ok"});
    fenetre.RelancerApplication(true, "Test:Premier");
    ASSERT_EQ(platform::dialogs::asked().size(), 1u);
    EXPECT_EQ(platform::dialogs::asked()[0].text,
              "Application non trouvée:\r\n\r\nC:\\Vantremo\\Aerolune\\AL3_Relaytone_Launcher.exe");
    EXPECT_TRUE(PbBRelanceLancee);
    EXPECT_FALSE(PbBQuitter);
    EXPECT_TRUE(fenetre.Loaded());

    installerLanceur();
    fenetre.RelancerApplication(false, "Test:Second");
    EXPECT_TRUE(logged("Restart needed: But Already in Escape Mode |Sub: Test:Second"));
    EXPECT_TRUE(fenetre.Loaded());
    EXPECT_TRUE(support::stubStarts(lanceurHote()).empty());
}

TEST_F(Quit, ARestartWithoutTheLauncherIsAnIncidentAndTheProgramRuns) {
    fenetre.RelancerApplication(false, "Test:Manquant");
    EXPECT_TRUE(logged("Err: Unable to launch again: Application not found: "
                       "C:\\Vantremo\\Aerolune\\AL3_Relaytone_Launcher.exe"));
    EXPECT_EQ(fenetre.ListeIncidents[0]->ListCount(), 1);
    EXPECT_FALSE(PbBRelanceLancee);
    EXPECT_FALSE(PbBQuitter);
    EXPECT_TRUE(fenetre.Loaded());
}

}  // namespace
