// The main menu: its entries, and each command reaching its module (settings window, log reader,
// quit question, standby, browser, about box, components list).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "engine/Frm_MainBis.h"
#include "engine/TaskDialog.h"
#include "foundation/Registry.h"
#include "platform/Dialogs.h"
#include "settings/FrmSetup.h"
#include "shell/FrmAbout.h"
#include "shell/FrmSysTray.h"
#include "shell/Lib_SysTray.h"
#include "tests/shell/MainWindow.h"
#include "tests/support/Programs.h"
#include "tests/support/WindowsFiles.h"

namespace {

class Menu : public mainwindow_test::MainWindowTest {
protected:
    void TearDown() override {
        if (FrmSetup::exists()) FrmSetup::get().Unload(platform::forms::vbFormCode);
        FrmSetup::release();
        FrmSysTray::release();
        if (Frm_MainBis::exists()) Frm_MainBis::get().Unload(platform::forms::vbFormCode);
    }
    // A desktop opener on the PATH that writes down what it was asked to open.
    std::filesystem::path installerOuvreur() {
        const auto dossier = drive.root() / "bin";
        std::filesystem::create_directories(dossier);
        const auto ouvreur = dossier / "xdg-open";
        std::ofstream(ouvreur) << "#!/bin/sh\necho \"$@\" >> \"$0.args\"\n";
        std::filesystem::permissions(ouvreur, std::filesystem::perms::owner_all);
        ::setenv("PATH", (dossier.string() + ":" + std::getenv("PATH")).c_str(), 1);
        return ouvreur.string() + ".args";
    }
    static std::string contenu(const std::filesystem::path& fichier) {
        std::ifstream f(fichier);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
};

TEST_F(Menu, TheEntriesInTheirOrderWithTheirShortcuts) {
    std::vector<std::string> fichier, aide;
    for (QAction* a : fenetre.Mnu01->actions()) fichier.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    for (QAction* a : fenetre.Mnu99->actions()) aide.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    EXPECT_EQ(fichier, (std::vector<std::string>{"Utilisateur en cours", "Changer d'utilisateur...", "-",
                                                  "Refresh des données...", "-", "Mise en veille", "-",
                                                  "Options...", "-", "Log technique...", "-", "Quitter"}));
    EXPECT_EQ(aide, (std::vector<std::string>{"Historique des révisions...",
                                               "Vérifier la dernière version disponible...",
                                               "Liste des composants Aerolune installés...", "-", "A propos..."}));
    EXPECT_EQ(fenetre.Mnu01Options->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(fenetre.Mnu01Log->shortcut(), QKeySequence("Ctrl+F2"));
    EXPECT_EQ(fenetre.MnuQuitter->shortcut(), QKeySequence("Ctrl+Q"));
    // The current user's entry has no command, yet reads as an ordinary entry, not greyed.
    EXPECT_TRUE(fenetre.Mnu01CurrentUser->isEnabled());
    fenetre.Mnu01CurrentUser->trigger();
    EXPECT_TRUE(platform::dialogs::asked().empty());
}

TEST_F(Menu, TheShortcutsReachTheirCommandsAndADisabledOptionsEntryIgnoresItsOwn) {
    support::writeWindowsFile(drive.host("C:\\Vantremo\\Aerolune\\Settings\\AL3_Config.ini"), "[Site]\nNbBase=1\n");
    fenetre.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fenetre));
    platform::dialogs::queueAnswers({"no", "cancel"});
    QTest::keyClick(&fenetre, Qt::Key_Q, Qt::ControlModifier);
    QTest::keyClick(&fenetre, Qt::Key_F2, Qt::ControlModifier);
    const auto boites = platform::dialogs::asked();
    ASSERT_EQ(boites.size(), 2u);
    EXPECT_EQ(boites[0].text, "Voulez-vous quitter le programme ?");
    EXPECT_EQ(boites[1].kind, platform::dialogs::Kind::OpenFile);

    fenetre.Mnu01Options->setEnabled(false);  // a user without the right
    QTest::keyClick(&fenetre, Qt::Key_O, Qt::ControlModifier);
    EXPECT_FALSE(FrmSetup::exists());
    fenetre.Mnu01Options->setEnabled(true);
    QTest::keyClick(&fenetre, Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(FrmSetup::exists());
    EXPECT_TRUE(FrmSetup::get().Visible());
}

TEST_F(Menu, OptionsShowsAHiddenSettingsWindowAndHidesAVisibleOne) {
    support::writeWindowsFile(drive.host("C:\\Vantremo\\Aerolune\\Settings\\AL3_Config.ini"), "[Site]\nNbBase=1\n");
    fenetre.Mnu01Options->trigger();
    ASSERT_TRUE(FrmSetup::exists());
    EXPECT_TRUE(FrmSetup::get().Visible());
    fenetre.Mnu01Options->trigger();
    EXPECT_FALSE(FrmSetup::get().Visible());
    EXPECT_TRUE(FrmSetup::exists());  // hidden, still loaded
    PbBQuitter = true;
    fenetre.Mnu01Options->trigger();
    EXPECT_FALSE(FrmSetup::get().Visible());
}

TEST_F(Menu, RefreshAsksAndChangesNothing) {
    platform::dialogs::queueAnswers({"yes"});
    fenetre.Mnu01Refresh->trigger();
    ASSERT_EQ(platform::dialogs::asked().size(), 1u);
    EXPECT_EQ(platform::dialogs::asked()[0].text, "Voulez-vous réinitialiser les données ?");
    EXPECT_EQ(platform::dialogs::asked()[0].title, fenetre.Caption());
    EXPECT_TRUE(fenetre.Loaded());
}

TEST_F(Menu, TheTechnicalLogOffersTodaysFileOfTheLogFolder) {
    PbSDossierLog = "C:\\Logs\\";
    platform::dialogs::queueAnswers({"cancel"});
    fenetre.Mnu01Log->trigger();
    ASSERT_EQ(platform::dialogs::asked().size(), 1u);
    EXPECT_EQ(platform::dialogs::asked()[0].kind, platform::dialogs::Kind::OpenFile);
    EXPECT_NE(platform::dialogs::asked()[0].text.find("C:\\Logs\\"), std::string::npos)
        << platform::dialogs::asked()[0].text;
}

TEST_F(Menu, TheTechnicalLogOpensThePickedDayThroughTheDesktopOpener) {
    PbSDossierLog = "C:\\Logs\\";
    support::writeWindowsFile(drive.host("C:\\Logs\\20261209.Log"), "a line\n");
    const auto trace = installerOuvreur();
    platform::dialogs::queueAnswers({"C:\\Logs\\20261209.Log"});
    fenetre.Mnu01Log->trigger();
    ASSERT_TRUE(support::eventually([&] { return !contenu(trace).empty(); }, std::chrono::seconds(5)));
    EXPECT_EQ(contenu(trace), drive.host("C:\\Logs\\20261209.Log").string() + "\n");
}

TEST_F(Menu, QuitAsksTheQuestion) {
    platform::dialogs::queueAnswers({"no"});
    fenetre.MnuQuitter->trigger();
    ASSERT_EQ(platform::dialogs::asked().size(), 1u);
    EXPECT_EQ(platform::dialogs::asked()[0].text, "Voulez-vous quitter le programme ?");
    EXPECT_TRUE(fenetre.Loaded());
}

TEST_F(Menu, StandbyGoesOutOfTheWayWithTheMainTip) {
    fenetre.Mnu01Veille->trigger();
    EXPECT_TRUE(Lib_SysTray::EnVeille);
    EXPECT_EQ(Lib_SysTray::TrayIconData.szTip, "Aerolune: Skyplate");
}

TEST_F(Menu, TheRevisionPageOpensThroughTheDesktopOpener) {
    const auto trace = installerOuvreur();
    fenetre.MnuWhatNews[0]->trigger();
    ASSERT_TRUE(support::eventually([&] { return std::filesystem::exists(trace); }, std::chrono::seconds(5)));
    support::eventually([&] { return !contenu(trace).empty(); }, std::chrono::seconds(5));
    EXPECT_EQ(contenu(trace),
              "https://download.vantremo.example/AL/Releases/AL_34/Histo_Revisions/AL3_Relaytone_Revisions.htm\n");
}

TEST_F(Menu, ARevisionPageTheDesktopCannotOpenIsReportedAndTheProgramGoesOn) {
    const auto vide = drive.root() / "sans-ouvreur";
    std::filesystem::create_directories(vide);
    ::setenv("PATH", vide.c_str(), 1);
    fenetre.MnuWhatNews[0]->trigger();
    EXPECT_TRUE(logged("Il n'y a aucune application associée à ce type de fichier"));
    EXPECT_GE(fenetre.ListeIncidents[0]->ListCount(), 1);
    EXPECT_TRUE(fenetre.Loaded());
}

TEST_F(Menu, TheAboutBoxShowsBesideTheMainWindow) {
    fenetre.Mnu99APropos->trigger();
    FrmAbout* boite = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = dynamic_cast<FrmAbout*>(w)) boite = b;
    ASSERT_NE(boite, nullptr);
    EXPECT_TRUE(boite->isVisible());
    EXPECT_FALSE(boite->ShownModal());
}

TEST_F(Menu, TheInstalledComponentsListSkipsBlankDates) {
    using Lib_Systeme::HKEY_LOCAL_MACHINE;
    EXPECT_EQ(fenetre.TexteComposantsInstalles(), "Aucune installation trouvée.");
    const auto poser = [](const std::string& suffixe, const std::string& version, const std::string& date) {
        const std::string cle = "Software\\Vantremo\\Aerolune\\Composants_" + suffixe;
        Lib_Systeme::Reg_SetValue(HKEY_LOCAL_MACHINE, cle, "InstallVersion", version);
        Lib_Systeme::Reg_SetValue(HKEY_LOCAL_MACHINE, cle, "InstallDate", date);
    };
    poser("Full", "3.49.000", "02/03/2021");
    poser("2020", "3.47.030", "   ");
    poser("2021", "3.48.000", "05/01/2021");
    poser(std::to_string(Frm_Main::AnneeCouranteComposants()), "3.55.000", "10/12/2026");
    poser("2019", "1.0", "01/01/2019");
    EXPECT_EQ(fenetre.TexteComposantsInstalles(),
              "Full: Version: 3.49.000 installée le 02/03/2021\r\n\r\n"
              "2021: Version: 3.48.000 installée le 05/01/2021\r\n" +
                  std::to_string(Frm_Main::AnneeCouranteComposants()) +
                  ": Version: 3.55.000 installée le 10/12/2026\r\n");
}

TEST_F(Menu, TheComponentsDialogOffersOneDownloadPerYear) {
    const auto trace = installerOuvreur();
    const std::string annee = std::to_string(Frm_Main::AnneeCouranteComposants());
    platform::dialogs::queueAnswers({"ok", "2021"});
    fenetre.MnuWhatNews[2]->trigger();  // closed with its OK button: nothing opens
    const auto& boite = Frm_MainBis::get().TaskDialog;
    EXPECT_EQ(boite.WindowTitle, fenetre.Caption());
    EXPECT_EQ(boite.MainInstruction, "Liste des composants installés");
    EXPECT_EQ(boite.Content, "Aucune installation trouvée.");
    ASSERT_FALSE(boite.Snapshot().Buttons.empty());
    EXPECT_EQ(boite.Snapshot().Buttons.front().id, 2020);
    EXPECT_EQ(boite.Snapshot().Buttons.back().caption, annee);
    EXPECT_EQ(boite.ButtonIds().front(), engine::IDOK);
    fenetre.MnuWhatNews[2]->trigger();  // the 2021 button
    ASSERT_TRUE(support::eventually([&] { return !contenu(trace).empty(); }, std::chrono::seconds(5)));
    EXPECT_EQ(contenu(trace), "https://download.vantremo.example/AL/Releases/AL_34/Setup_AL3_Composants_2021.exe\n");
    const auto boites = platform::dialogs::asked();
    ASSERT_EQ(boites.size(), 2u);
    EXPECT_EQ(boites[0].kind, platform::dialogs::Kind::Task);
}

// The task dialog on screen: owned by the main window, modal for the whole program, and a second
// dialog asked for while it is open shows on top of it.
TEST_F(Menu, TheComponentsDialogIsModalOverTheMainWindowAndADialogAskedMeanwhileShowsOnTop) {
    const auto trace = installerOuvreur();
    platform::dialogs::showOnScreen();
    // Read while they are open: each window goes when its dialog closes.
    QWidget* liste = nullptr;
    QWidget* proprietaireListe = nullptr;
    Qt::WindowModality modalite = Qt::NonModal;
    QWidget* verdict = nullptr;
    QWidget* proprietaireVerdict = nullptr;
    const auto bouton = [](QWidget* fenetreDialogue, const QString& texte) {
        for (auto* b : fenetreDialogue->findChildren<QPushButton*>())
            if (b->text() == texte) return b;
        return static_cast<QPushButton*>(nullptr);
    };
    QTimer::singleShot(200, &fenetre, [&] {
        liste = QApplication::activeModalWidget();
        ASSERT_NE(liste, nullptr);
        proprietaireListe = liste->parentWidget();
        modalite = liste->windowModality();
        QTimer::singleShot(200, &fenetre, [&] {
            verdict = QApplication::activeModalWidget();
            ASSERT_NE(verdict, nullptr);
            proprietaireVerdict = verdict->parentWidget();
            if (QPushButton* ok = bouton(verdict, "OK")) ok->click();
        });
        engine::TaskDialogControl& boite = Frm_MainBis::get().TaskDialog;
        boite.Reset();
        boite.WindowTitle = fenetre.Caption();
        boite.MainInstruction = "Dernière version disponible: 2026.1210.0900";
        boite.CommonButtons = engine::tdbOk;
        EXPECT_EQ(boite.ShowDialog(), engine::IDOK);
        EXPECT_EQ(PbLReponseTaskDialog, engine::IDOK);
        // Back to the list, which kept its own buttons.
        ASSERT_EQ(QApplication::activeModalWidget(), liste);
        if (QPushButton* annee = bouton(liste, "2021")) annee->click();
    });
    fenetre.MnuWhatNews[2]->trigger();
    ASSERT_NE(liste, nullptr);
    EXPECT_EQ(proprietaireListe, &fenetre);
    EXPECT_EQ(modalite, Qt::ApplicationModal);
    EXPECT_NE(verdict, liste);
    EXPECT_EQ(proprietaireVerdict, liste);
    ASSERT_TRUE(support::eventually([&] { return !contenu(trace).empty(); }, std::chrono::seconds(5)));
    EXPECT_EQ(contenu(trace), "https://download.vantremo.example/AL/Releases/AL_34/Setup_AL3_Composants_2021.exe\n");
}

TEST_F(Menu, TheUpdateCheckAsksTheVersionService) {
    ::setenv("AL3_VERSION_SERVICE", "http://127.0.0.1:1", 1);  // nothing listens there
    platform::dialogs::queueAnswers({"ok", "ok", "ok"});
    fenetre.MnuWhatNews[1]->trigger();
    EXPECT_TRUE(logged("Web: Last version")) << "no trace of the check";
}

}  // namespace
