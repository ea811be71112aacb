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

void utilisateur(const std::string& id, const std::string& nom, const std::string& droits,
                 const std::string& bouton = "OK") {
    const auto ecrire = [](const char* valeur, const std::string& texte) {
        Lib_Systeme::Reg_SetValue(Lib_Systeme::HKEY_LOCAL_MACHINE, Lib_Utilisateurs::kCleUser, valeur, texte);
    };
    ecrire("AL_User", id);
    ecrire("AL_User_Name", nom);
    ecrire("AL_User_Droits", droits);
    ecrire("AL_User_Button", bouton);
}

// Rights with the digit d at position n and zeros elsewhere.
std::string droitsAvec(int longueur, int n, char d) {
    std::string droits(size_t(longueur), '0');
    if (n <= longueur) droits[size_t(n - 1)] = d;
    return droits;
}

class Users : public MainWindowTest {
protected:
    // The family's user program: it records how it was started and ends after a short while.
    void installerProgrammeUtilisateur(int dureeMs = 300) {
        const auto programme = drive.host("C:\\Vantremo\\Aerolune\\") / "AL3_Quillmoor";
        std::filesystem::create_directories(programme.parent_path());
        std::ofstream(programme) << "#!/bin/sh\necho \"$@\" >> \"$0.args\"\nsleep " << dureeMs / 1000.0 << "\n";
        std::filesystem::permissions(programme, std::filesystem::perms::owner_all);
        args_ = programme.string() + ".args";
    }
    std::string arguments() const {
        std::ifstream f(args_);
        std::string tout, ligne;
        while (std::getline(f, ligne)) tout += ligne + "\n";
        return tout;
    }
    void utilisateurObligatoire() {
        PbSDossierConfigBase[0] = "C:\\Config\\";
        support::writeWindowsFile(drive.host("C:\\Config\\AL3_Systeme.ini"), "[DroitsUsers]\nActif=1\n");
    }

    std::string args_;
};

TEST_F(Users, RightThirtyTwoDecidesAndTheBoxDependsOnTheButton) {
    struct Cas {
        std::string droits;
        std::string bouton;
        bool afficher;
        bool refuse;
        bool boite;
    };
    const Cas cas[] = {
        {droitsAvec(32, 32, '1'), "OK", false, false, false},
        {droitsAvec(40, 32, '9'), "OK", true, false, false},
        {droitsAvec(32, 32, '0'), "OK", false, true, true},
        {droitsAvec(32, 32, 'x'), "OK", false, true, true},
        {droitsAvec(31, 32, '1'), "OK", false, true, true},
        {"", "OK", false, true, true},
        {droitsAvec(32, 32, '0'), "Fermer", false, true, false},
        {droitsAvec(32, 32, '0'), "Fermer", true, true, true},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.droits + " / " + c.bouton);
        utilisateur("u7", "Camille", c.droits, c.bouton);
        platform::dialogs::reset();
        bool refuse = !c.refuse;
        Lib_Utilisateurs::GestionDroitsUser(refuse, c.afficher);
        EXPECT_EQ(refuse, c.refuse);
        EXPECT_EQ(fenetre.Mnu01Options->isEnabled(), !c.refuse);
        EXPECT_EQ(fenetre.Mnu01CurrentUser->text().toStdString(), "Utilisateur en cours: Camille");
        EXPECT_TRUE(fenetre.Mnu01CurrentUser->isVisible());
        const auto boites = platform::dialogs::asked();
        ASSERT_EQ(boites.size(), c.boite ? 1u : 0u);
        if (c.boite) {
            EXPECT_EQ(boites[0].text, "Utilisateur (Camille) non autorisé");
            EXPECT_EQ(boites[0].title, fenetre.Caption());
        }
    }
}

TEST_F(Users, EveryPositionGivesItsDigitAndNothingElseCounts) {
    utilisateur("u1", "A", "12345678901234567890123456789012345678901234567890ab3");
    bool refuse = false;
    Lib_Utilisateurs::GestionDroitsUser(refuse, false);
    EXPECT_EQ(Lib_Utilisateurs::Droit(PbTUtilisateurEnCours, 1), 1);
    EXPECT_EQ(Lib_Utilisateurs::Droit(PbTUtilisateurEnCours, 32), 2);
    EXPECT_EQ(Lib_Utilisateurs::Droit(PbTUtilisateurEnCours, 48), 8);
    EXPECT_EQ(Lib_Utilisateurs::Droit(PbTUtilisateurEnCours, 50), 0);  // '0'
    EXPECT_EQ(Lib_Utilisateurs::Droit(PbTUtilisateurEnCours, 51), 0);  // 'a'
    EXPECT_EQ(Lib_Utilisateurs::Droit(PbTUtilisateurEnCours, 53), 3);
    EXPECT_EQ(Lib_Utilisateurs::Droit(PbTUtilisateurEnCours, 68), 0);  // past the end
    EXPECT_TRUE(PbTUtilisateurEnCours.Charge);
}

TEST_F(Users, NoUserIsNoRefusalAndTheSettingsEntryKeepsItsState) {
    for (const std::string id : {"", "   "}) {
        SCOPED_TRACE("'" + id + "'");
        if (!id.empty()) utilisateur(id, "B", "");
        fenetre.Mnu01Options->setEnabled(false);
        fenetre.Mnu01CurrentUser->setVisible(true);
        bool refuse = true;
        Lib_Utilisateurs::GestionDroitsUser(refuse, true);
        EXPECT_FALSE(refuse);
        EXPECT_FALSE(fenetre.Mnu01CurrentUser->isVisible());
        EXPECT_FALSE(fenetre.Mnu01Options->isEnabled());
        EXPECT_TRUE(platform::dialogs::asked().empty());
    }
}

// A blank user read after an authorised one must not inherit its access to the settings.
TEST_F(Users, ARereadWithoutAUserKeepsNoRightOfTheUserBefore) {
    utilisateur("u1", "A", droitsAvec(32, 32, '1'));
    bool refuse = false;
    Lib_Utilisateurs::GestionDroitsUser(refuse, false);
    ASSERT_EQ(Lib_Utilisateurs::Droit(PbTUtilisateurEnCours, 32), 1);
    utilisateur("   ", "", "");
    Lib_Utilisateurs::GestionDroitsUser(refuse, false);
    EXPECT_FALSE(refuse);
    EXPECT_FALSE(PbTUtilisateurEnCours.Charge);
    EXPECT_EQ(Lib_Utilisateurs::Droit(PbTUtilisateurEnCours, 32), 0);
}

TEST_F(Users, TheUserProgramRunsWithCloseWhileTheMainWindowIsHidden) {
    installerProgrammeUtilisateur();
    utilisateur("u2", "Dominique", droitsAvec(32, 32, '1'));
    bool cacheePendant = false;
    QTimer::singleShot(150, &fenetre, [&] { cacheePendant = !fenetre.isVisible(); });
    bool refuse = true;
    EXPECT_TRUE(Lib_Utilisateurs::SelectUser(refuse));
    EXPECT_FALSE(refuse);
    EXPECT_TRUE(cacheePendant);
    EXPECT_TRUE(fenetre.isVisible());
    EXPECT_EQ(arguments(), "/Close\n");
    EXPECT_EQ(PbTUtilisateurEnCours.NomUtilisateur, "Dominique");
    EXPECT_TRUE(fenetre.Mnu01Options->isEnabled());
}

TEST_F(Users, AMissingUserProgramIsSaidAndRefused) {
    bool refuse = false;
    EXPECT_FALSE(Lib_Utilisateurs::SelectUser(refuse));
    EXPECT_TRUE(refuse);
    EXPECT_TRUE(fenetre.isVisible());
    const auto boites = platform::dialogs::asked();
    ASSERT_EQ(boites.size(), 1u);
    EXPECT_EQ(boites[0].text, "Programme non trouvé:\r\n\r\nC:\\Vantremo\\Aerolune\\AL3_Quillmoor.exe");
}

TEST_F(Users, AUserProgramThatDoesNotStartIsAnIncidentAndARefusal) {
    const auto programme = drive.host("C:\\Vantremo\\Aerolune\\") / "AL3_Quillmoor";
    std::filesystem::create_directories(programme.parent_path());
    std::ofstream(programme) << "#!/nonexistent/al3-interpreter\n";
    std::filesystem::permissions(programme, std::filesystem::perms::owner_all);
    utilisateur("u6", "H", droitsAvec(32, 32, '1'));
    bool refuse = false;
    EXPECT_FALSE(Lib_Utilisateurs::SelectUser(refuse));
    EXPECT_TRUE(refuse);
    EXPECT_TRUE(fenetre.isVisible());
    EXPECT_TRUE(logged("Err: Unable to start: C:\\Vantremo\\Aerolune\\AL3_Quillmoor.exe: "));
    EXPECT_EQ(fenetre.Caption().rfind("Err: ", 0), 0u);  // the incident alert
    EXPECT_TRUE(platform::dialogs::asked().empty());
}

TEST_F(Users, ABlankUserIsNoUserForTheMenuButNotEmptyForTheMandatoryCheck) {
    utilisateurObligatoire();
    installerProgrammeUtilisateur(0);
    utilisateur("  ", "", "");
    bool refuse = true;
    Lib_Utilisateurs::SelectUser(refuse);
    EXPECT_FALSE(refuse);
    utilisateur("", "", "");
    Lib_Utilisateurs::SelectUser(refuse);
    EXPECT_TRUE(refuse);
}

TEST_F(Users, WithoutAMandatoryUserChangingUserNeverCloses) {
    installerProgrammeUtilisateur(0);
    utilisateur("u3", "E", "", "Fermer");
    PbBDemarrageTermine = true;
    fenetre.Mnu01User->trigger();
    EXPECT_EQ(arguments(), "/Close\n");
    EXPECT_TRUE(fenetre.Loaded());
    EXPECT_FALSE(PbBQuitter);
}

TEST_F(Users, LeavingTheUserProgramWithFermerClosesAtOnceWithoutTheQuestion) {
    utilisateurObligatoire();
    installerProgrammeUtilisateur(0);
    utilisateur("u4", "F", droitsAvec(32, 32, '0'), "Fermer");
    PbBDemarrageTermine = true;
    fenetre.Mnu01User->trigger();
    EXPECT_TRUE(PbBQuitter);
    EXPECT_FALSE(fenetre.Loaded());
    EXPECT_TRUE(platform::dialogs::asked().empty());
}

TEST_F(Users, AnAuthorisedChoiceStaysOpen) {
    utilisateurObligatoire();
    installerProgrammeUtilisateur(0);
    utilisateur("u5", "G", droitsAvec(32, 32, '3'));
    PbBDemarrageTermine = true;
    fenetre.Mnu01User->trigger();
    EXPECT_TRUE(fenetre.Loaded());
    EXPECT_FALSE(PbBQuitter);
    EXPECT_TRUE(fenetre.Mnu01Options->isEnabled());
}

TEST_F(Users, NoUserAfterTheChoiceClosesOnlyOnceStartUpIsOver) {
    utilisateurObligatoire();
    installerProgrammeUtilisateur(0);
    // During start-up the choice returns (it used to wait for ever) and leaves the refusal to
    // the start-up's own check.
    PbBDemarrageTermine = false;
    fenetre.Mnu01User->trigger();
    EXPECT_TRUE(fenetre.Loaded());
    EXPECT_FALSE(PbBQuitter);
    PbBDemarrageTermine = true;
    fenetre.Mnu01User->trigger();
    EXPECT_TRUE(PbBQuitter);
    EXPECT_FALSE(fenetre.Loaded());
}

TEST_F(Users, TheStartUpCheckChoosesAgainUntilTheUserMayOpenTheSettings) {
    utilisateurObligatoire();
    installerProgrammeUtilisateur(300);
    utilisateur("u8", "I", droitsAvec(32, 32, '0'));
    // What the operator picks in the user program while it runs.
    QTimer::singleShot(100, &fenetre, [] { utilisateur("u10", "K", droitsAvec(32, 32, '1')); });
    EXPECT_TRUE(fenetre.ControleUtilisateurDemarrage());
    EXPECT_EQ(platform::dialogs::asked().size(), 1u);  // the refusal of the first user
    EXPECT_EQ(PbTUtilisateurEnCours.IdUtilisateur, "u10");
    EXPECT_TRUE(fenetre.Loaded());
}

TEST_F(Users, TheStartUpCheckClosesWhenTheOperatorLeavesWithFermer) {
    utilisateurObligatoire();
    installerProgrammeUtilisateur(300);
    utilisateur("u8", "I", droitsAvec(32, 32, '0'));
    QTimer::singleShot(100, &fenetre,
                       [] { utilisateur("u8", "I", droitsAvec(32, 32, '0'), "Fermer"); });
    EXPECT_FALSE(fenetre.ControleUtilisateurDemarrage());
    EXPECT_TRUE(PbBQuitter);
    EXPECT_FALSE(fenetre.Loaded());
    EXPECT_EQ(platform::dialogs::asked().size(), 1u);  // no quit question
}

TEST_F(Users, WithoutTheUserProgramTheStartUpRefusesInsteadOfAskingForEver) {
    utilisateurObligatoire();
    utilisateur("u9", "J", droitsAvec(32, 32, '0'), "OK");
    PbBDemarrageTermine = false;
    EXPECT_FALSE(fenetre.ControleUtilisateurDemarrage());
    // The refusal box, then the one saying the user program is missing: nothing more.
    EXPECT_EQ(platform::dialogs::asked().size(), 2u);
    EXPECT_TRUE(fenetre.Loaded());
}

class Obligatoire : public support::SiteTest, public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

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
