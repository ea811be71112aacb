// Users and rights: the current user and right 32 from the registry into the menu, the user
// program started and waited for, "Changer d'utilisateur..." and the start-up's user check.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QAction>
#include <QTimer>

#include "foundation/Registry.h"
#include "foundation/Site.h"
#include "platform/Dialogs.h"
#include "shell/Lib_Utilisateurs.h"
#include "tests/shell/MainWindow.h"
#include "tests/support/WindowsFiles.h"

namespace {

using mainwindow_test::MainWindowTest;

void utilisateur(const std::string& id, const std::string& nameText, const std::string& droits,
                 const std::string& buttonWidget = "OK") {
    const auto writeOut = [](const char* valueText, const std::string& textValue) {
        Lib_Systeme::Reg_SetValue(Lib_Systeme::HKEY_LOCAL_MACHINE, Lib_Utilisateurs::kUserKey, valueText,
                                  textValue);
    };
    writeOut("AL_User", id);
    writeOut("AL_User_Name", nameText);
    writeOut("AL_User_Droits", droits);
    writeOut("AL_User_Button", buttonWidget);
}

// Rights with the digit d at position n and zeros elsewhere.
std::string rightsWith(int lengthValue, int n, char d) {
    std::string droits(size_t(lengthValue), '0');
    if (n <= lengthValue) droits[size_t(n - 1)] = d;
    return droits;
}

class Users : public MainWindowTest {
protected:
    // The family's user program: it records how it was started and ends after a short while.
    void installUserProgram(int durationMs = 300) {
        const auto programme = drive.host("C:\\Vantremo\\Aerolune\\") / "AL3_Quillmoor";
        std::filesystem::create_directories(programme.parent_path());
        std::ofstream(programme) << "#!/bin/sh\necho \"$@\" >> \"$0.args\"\nsleep " << durationMs / 1000.0
                                 << "\n";
        std::filesystem::permissions(programme, std::filesystem::perms::owner_all);
        args_ = programme.string() + ".args";
    }
    std::string arguments() const {
        std::ifstream f(args_);
        std::string tout, lineText;
        while (std::getline(f, lineText)) tout += lineText + "\n";
        return tout;
    }
    void mandatoryUser() {
        PbSDossierConfigBase[0] = "C:\\Config\\";
        support::writeWindowsFile(drive.host("C:\\Config\\AL3_Systeme.ini"), "[DroitsUsers]\nActif=1\n");
    }

    std::string args_;
};

TEST_F(Users, RightThirtyTwoDecidesAndTheBoxDependsOnTheButton) {
    struct Case {
        std::string droits;
        std::string buttonWidget;
        bool afficher;
        bool refuse;
        bool boite;
    };
    const Case examples[] = {
        {rightsWith(32, 32, '1'), "OK", false, false, false},
        {rightsWith(40, 32, '9'), "OK", true, false, false},
        {rightsWith(32, 32, '0'), "OK", false, true, true},
        {rightsWith(32, 32, 'x'), "OK", false, true, true},
        {rightsWith(31, 32, '1'), "OK", false, true, true},
        {"", "OK", false, true, true},
        {rightsWith(32, 32, '0'), "Fermer", false, true, false},
        {rightsWith(32, 32, '0'), "Fermer", true, true, true},
    };
    for (const auto& c : examples) {
        SCOPED_TRACE(c.droits + " / " + c.buttonWidget);
        utilisateur("u7", "Camille", c.droits, c.buttonWidget);
        platform::dialogs::reset();
        bool refuse = !c.refuse;
        Lib_Utilisateurs::GestionDroitsUser(refuse, c.afficher);
        EXPECT_EQ(refuse, c.refuse);
        EXPECT_EQ(win.Mnu01Options->isEnabled(), !c.refuse);
        EXPECT_EQ(win.Mnu01CurrentUser->text().toStdString(), "Utilisateur en cours: Camille");
        EXPECT_TRUE(win.Mnu01CurrentUser->isVisible());
        const auto messageBoxes = platform::dialogs::asked();
        ASSERT_EQ(messageBoxes.size(), c.boite ? 1u : 0u);
        if (c.boite) {
            EXPECT_EQ(messageBoxes[0].text, "Utilisateur (Camille) non autorisé");
            EXPECT_EQ(messageBoxes[0].title, win.Caption());
        }
    }
}

TEST_F(Users, EveryPositionGivesItsDigitAndNothingElseCounts) {
    utilisateur("u1", "A", "12345678901234567890123456789012345678901234567890ab3");
    bool refuse = false;
    Lib_Utilisateurs::GestionDroitsUser(refuse, false);
    EXPECT_EQ(Lib_Utilisateurs::right(PbTUtilisateurEnCours, 1), 1);
    EXPECT_EQ(Lib_Utilisateurs::right(PbTUtilisateurEnCours, 32), 2);
    EXPECT_EQ(Lib_Utilisateurs::right(PbTUtilisateurEnCours, 48), 8);
    EXPECT_EQ(Lib_Utilisateurs::right(PbTUtilisateurEnCours, 50), 0);  // '0'
    EXPECT_EQ(Lib_Utilisateurs::right(PbTUtilisateurEnCours, 51), 0);  // 'a'
    EXPECT_EQ(Lib_Utilisateurs::right(PbTUtilisateurEnCours, 53), 3);
    EXPECT_EQ(Lib_Utilisateurs::right(PbTUtilisateurEnCours, 68), 0);  // past the end
    EXPECT_TRUE(PbTUtilisateurEnCours.loaded);
}

TEST_F(Users, NoUserIsNoRefusalAndTheSettingsEntryKeepsItsState) {
    for (const std::string id : {"", "   "}) {
        SCOPED_TRACE("'" + id + "'");
        if (!id.empty()) utilisateur(id, "B", "");
        win.Mnu01Options->setEnabled(false);
        win.Mnu01CurrentUser->setVisible(true);
        bool refuse = true;
        Lib_Utilisateurs::GestionDroitsUser(refuse, true);
        EXPECT_FALSE(refuse);
        EXPECT_FALSE(win.Mnu01CurrentUser->isVisible());
        EXPECT_FALSE(win.Mnu01Options->isEnabled());
        EXPECT_TRUE(platform::dialogs::asked().empty());
    }
}

// A blank user read after an authorised one must not inherit its access to the settings.
TEST_F(Users, ARereadWithoutAUserKeepsNoRightOfTheUserBefore) {
    utilisateur("u1", "A", rightsWith(32, 32, '1'));
    bool refuse = false;
    Lib_Utilisateurs::GestionDroitsUser(refuse, false);
    ASSERT_EQ(Lib_Utilisateurs::right(PbTUtilisateurEnCours, 32), 1);
    utilisateur("   ", "", "");
    Lib_Utilisateurs::GestionDroitsUser(refuse, false);
    EXPECT_FALSE(refuse);
    EXPECT_FALSE(PbTUtilisateurEnCours.loaded);
    EXPECT_EQ(Lib_Utilisateurs::right(PbTUtilisateurEnCours, 32), 0);
}

TEST_F(Users, TheUserProgramRunsWithCloseWhileTheMainWindowIsHidden) {
    installUserProgram();
    utilisateur("u2", "Dominique", rightsWith(32, 32, '1'));
    bool hiddenWhile = false;
    QTimer::singleShot(150, &win, [&] { hiddenWhile = !win.isVisible(); });
    bool refuse = true;
    EXPECT_TRUE(Lib_Utilisateurs::SelectUser(refuse));
    EXPECT_FALSE(refuse);
    EXPECT_TRUE(hiddenWhile);
    EXPECT_TRUE(win.isVisible());
    EXPECT_EQ(arguments(), "/Close\n");
    EXPECT_EQ(PbTUtilisateurEnCours.userName, "Dominique");
    EXPECT_TRUE(win.Mnu01Options->isEnabled());
}

TEST_F(Users, AMissingUserProgramIsSaidAndRefused) {
    bool refuse = false;
    EXPECT_FALSE(Lib_Utilisateurs::SelectUser(refuse));
    EXPECT_TRUE(refuse);
    EXPECT_TRUE(win.isVisible());
    const auto messageBoxes = platform::dialogs::asked();
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].text, "Programme non trouvé:\r\n\r\nC:\\Vantremo\\Aerolune\\AL3_Quillmoor.exe");
}

TEST_F(Users, AUserProgramThatDoesNotStartIsAnIncidentAndARefusal) {
    const auto programme = drive.host("C:\\Vantremo\\Aerolune\\") / "AL3_Quillmoor";
    std::filesystem::create_directories(programme.parent_path());
    std::ofstream(programme) << "#!/nonexistent/al3-interpreter\n";
    std::filesystem::permissions(programme, std::filesystem::perms::owner_all);
    utilisateur("u6", "H", rightsWith(32, 32, '1'));
    bool refuse = false;
    EXPECT_FALSE(Lib_Utilisateurs::SelectUser(refuse));
    EXPECT_TRUE(refuse);
    EXPECT_TRUE(win.isVisible());
    EXPECT_TRUE(logged("Err: Unable to start: C:\\Vantremo\\Aerolune\\AL3_Quillmoor.exe: "));
    EXPECT_EQ(win.Caption().rfind("Err: ", 0), 0u);  // the incident alert
    EXPECT_TRUE(platform::dialogs::asked().empty());
}

TEST_F(Users, ABlankUserIsNoUserForTheMenuButNotEmptyForTheMandatoryCheck) {
    mandatoryUser();
    installUserProgram(0);
    utilisateur("  ", "", "");
    bool refuse = true;
    Lib_Utilisateurs::SelectUser(refuse);
    EXPECT_FALSE(refuse);
    utilisateur("", "", "");
    Lib_Utilisateurs::SelectUser(refuse);
    EXPECT_TRUE(refuse);
}

TEST_F(Users, WithoutAMandatoryUserChangingUserNeverCloses) {
    installUserProgram(0);
    utilisateur("u3", "E", "", "Fermer");
    PbBDemarrageTermine = true;
    win.Mnu01User->trigger();
    EXPECT_EQ(arguments(), "/Close\n");
    EXPECT_TRUE(win.Loaded());
    EXPECT_FALSE(PbBQuitter);
}

TEST_F(Users, LeavingTheUserProgramWithFermerClosesAtOnceWithoutTheQuestion) {
    mandatoryUser();
    installUserProgram(0);
    utilisateur("u4", "F", rightsWith(32, 32, '0'), "Fermer");
    PbBDemarrageTermine = true;
    win.Mnu01User->trigger();
    EXPECT_TRUE(PbBQuitter);
    EXPECT_FALSE(win.Loaded());
    EXPECT_TRUE(platform::dialogs::asked().empty());
}

TEST_F(Users, AnAuthorisedChoiceStaysOpen) {
    mandatoryUser();
    installUserProgram(0);
    utilisateur("u5", "G", rightsWith(32, 32, '3'));
    PbBDemarrageTermine = true;
    win.Mnu01User->trigger();
    EXPECT_TRUE(win.Loaded());
    EXPECT_FALSE(PbBQuitter);
    EXPECT_TRUE(win.Mnu01Options->isEnabled());
}

TEST_F(Users, NoUserAfterTheChoiceClosesOnlyOnceStartUpIsOver) {
    mandatoryUser();
    installUserProgram(0);
    // During start-up the choice returns (it used to wait for ever) and leaves the refusal to
    // the start-up's own check.
    PbBDemarrageTermine = false;
    win.Mnu01User->trigger();
    EXPECT_TRUE(win.Loaded());
    EXPECT_FALSE(PbBQuitter);
    PbBDemarrageTermine = true;
    win.Mnu01User->trigger();
    EXPECT_TRUE(PbBQuitter);
    EXPECT_FALSE(win.Loaded());
}

TEST_F(Users, TheStartUpCheckChoosesAgainUntilTheUserMayOpenTheSettings) {
    mandatoryUser();
    installUserProgram(300);
    utilisateur("u8", "I", rightsWith(32, 32, '0'));
    // What the operator picks in the user program while it runs.
    QTimer::singleShot(100, &win, [] { utilisateur("u10", "K", rightsWith(32, 32, '1')); });
    EXPECT_TRUE(win.checkUserAtStartup());
    EXPECT_EQ(platform::dialogs::asked().size(), 1u);  // the refusal of the first user
    EXPECT_EQ(PbTUtilisateurEnCours.userId, "u10");
    EXPECT_TRUE(win.Loaded());
}

TEST_F(Users, TheStartUpCheckClosesWhenTheOperatorLeavesWithFermer) {
    mandatoryUser();
    installUserProgram(300);
    utilisateur("u8", "I", rightsWith(32, 32, '0'));
    QTimer::singleShot(100, &win, [] { utilisateur("u8", "I", rightsWith(32, 32, '0'), "Fermer"); });
    EXPECT_FALSE(win.checkUserAtStartup());
    EXPECT_TRUE(PbBQuitter);
    EXPECT_FALSE(win.Loaded());
    EXPECT_EQ(platform::dialogs::asked().size(), 1u);  // no quit question
}

TEST_F(Users, WithoutTheUserProgramTheStartUpRefusesInsteadOfAskingForEver) {
    mandatoryUser();
    utilisateur("u9", "J", rightsWith(32, 32, '0'), "OK");
    PbBDemarrageTermine = false;
    EXPECT_FALSE(win.checkUserAtStartup());
    // The refusal box, then the one saying the user program is missing: nothing more.
    EXPECT_EQ(platform::dialogs::asked().size(), 2u);
    EXPECT_TRUE(win.Loaded());
}

class Obligatoire : public support::SiteTest,
                    public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

TEST_P(Obligatoire, OnlyZeroOrNoKeyLeavesTheUserOptional) {
    PbSDossierConfigBase[0] = "C:\\Config\\";
    if (GetParam().first)
        support::writeWindowsFile(drive.host("C:\\Config\\AL3_Systeme.ini"),
                                  std::string("[DroitsUsers]\nActif=") + GetParam().first + "\n");
    EXPECT_EQ(Lib_Utilisateurs::UserObligatoire(), GetParam().second);
    // Read once per run: a later change is not seen.
    support::writeWindowsFile(drive.host("C:\\Config\\AL3_Systeme.ini"), "[DroitsUsers]\nActif=7\n");
    EXPECT_EQ(Lib_Utilisateurs::UserObligatoire(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Values, Obligatoire,
                         ::testing::Values(std::make_pair("1", true), std::make_pair("2", true),
                                           std::make_pair("oui", true), std::make_pair("", true),
                                           std::make_pair("0", false), std::make_pair(nullptr, false)));

}  // namespace
