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
    std::filesystem::path installOpener() {
        const auto dossier = drive.root() / "bin";
        std::filesystem::create_directories(dossier);
        const auto openerName = dossier / "xdg-open";
        std::ofstream(openerName) << "#!/bin/sh\necho \"$@\" >> \"$0.args\"\n";
        std::filesystem::permissions(openerName, std::filesystem::perms::owner_all);
        ::setenv("PATH", (dossier.string() + ":" + std::getenv("PATH")).c_str(), 1);
        return openerName.string() + ".args";
    }
    static std::string content(const std::filesystem::path& fichier) {
        std::ifstream f(fichier);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
};

TEST_F(Menu, TheEntriesInTheirOrderWithTheirShortcuts) {
    std::vector<std::string> fichier, aide;
    for (QAction* a : win.Mnu01->actions())
        fichier.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    for (QAction* a : win.Mnu99->actions()) aide.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    EXPECT_EQ(fichier, (std::vector<std::string>{"Utilisateur en cours", "Changer d'utilisateur...", "-",
                                                 "Refresh des données...", "-", "Mise en veille", "-",
                                                 "Options...", "-", "Log technique...", "-", "Quitter"}));
    EXPECT_EQ(aide, (std::vector<std::string>{
                        "Historique des révisions...", "Vérifier la dernière version disponible...",
                        "Liste des composants Aerolune installés...", "-", "A propos..."}));
    EXPECT_EQ(win.Mnu01Options->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(win.Mnu01Log->shortcut(), QKeySequence("Ctrl+F2"));
    EXPECT_EQ(win.MnuQuitter->shortcut(), QKeySequence("Ctrl+Q"));
    // The current user's entry has no command, yet reads as an ordinary entry, not greyed.
    EXPECT_TRUE(win.Mnu01CurrentUser->isEnabled());
    win.Mnu01CurrentUser->trigger();
    EXPECT_TRUE(platform::dialogs::asked().empty());
}

TEST_F(Menu, TheShortcutsReachTheirCommandsAndADisabledOptionsEntryIgnoresItsOwn) {
    support::writeWindowsFile(drive.host("C:\\Vantremo\\Aerolune\\Settings\\AL3_Config.ini"),
                              "[Site]\nNbBase=1\n");
    win.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&win));
    platform::dialogs::queueAnswers({"no", "cancel"});
    QTest::keyClick(&win, Qt::Key_Q, Qt::ControlModifier);
    QTest::keyClick(&win, Qt::Key_F2, Qt::ControlModifier);
    const auto messageBoxes = platform::dialogs::asked();
    ASSERT_EQ(messageBoxes.size(), 2u);
    EXPECT_EQ(messageBoxes[0].text, "Voulez-vous quitter le programme ?");
    EXPECT_EQ(messageBoxes[1].kind, platform::dialogs::Kind::OpenFile);

    win.Mnu01Options->setEnabled(false);  // a user without the right
    QTest::keyClick(&win, Qt::Key_O, Qt::ControlModifier);
    EXPECT_FALSE(FrmSetup::exists());
    win.Mnu01Options->setEnabled(true);
    QTest::keyClick(&win, Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(FrmSetup::exists());
    EXPECT_TRUE(FrmSetup::get().Visible());
}

TEST_F(Menu, OptionsShowsAHiddenSettingsWindowAndHidesAVisibleOne) {
    support::writeWindowsFile(drive.host("C:\\Vantremo\\Aerolune\\Settings\\AL3_Config.ini"),
                              "[Site]\nNbBase=1\n");
    win.Mnu01Options->trigger();
    ASSERT_TRUE(FrmSetup::exists());
    EXPECT_TRUE(FrmSetup::get().Visible());
    win.Mnu01Options->trigger();
    EXPECT_FALSE(FrmSetup::get().Visible());
    EXPECT_TRUE(FrmSetup::exists());  // hidden, still loaded
    PbBQuitter = true;
    win.Mnu01Options->trigger();
    EXPECT_FALSE(FrmSetup::get().Visible());
}

TEST_F(Menu, RefreshAsksAndChangesNothing) {
    platform::dialogs::queueAnswers({"yes"});
    win.Mnu01Refresh->trigger();
    ASSERT_EQ(platform::dialogs::asked().size(), 1u);
    EXPECT_EQ(platform::dialogs::asked()[0].text, "Voulez-vous réinitialiser les données ?");
    EXPECT_EQ(platform::dialogs::asked()[0].title, win.Caption());
    EXPECT_TRUE(win.Loaded());
}

TEST_F(Menu, TheTechnicalLogOffersTodaysFileOfTheLogFolder) {
    PbSDossierLog = "C:\\Logs\\";
    platform::dialogs::queueAnswers({"cancel"});
    win.Mnu01Log->trigger();
    ASSERT_EQ(platform::dialogs::asked().size(), 1u);
    EXPECT_EQ(platform::dialogs::asked()[0].kind, platform::dialogs::Kind::OpenFile);
    EXPECT_NE(platform::dialogs::asked()[0].text.find("C:\\Logs\\"), std::string::npos)
        << platform::dialogs::asked()[0].text;
}

TEST_F(Menu, TheTechnicalLogOpensThePickedDayThroughTheDesktopOpener) {
    PbSDossierLog = "C:\\Logs\\";
    support::writeWindowsFile(drive.host("C:\\Logs\\20261209.Log"), "a line\n");
    const auto trace = installOpener();
    platform::dialogs::queueAnswers({"C:\\Logs\\20261209.Log"});
    win.Mnu01Log->trigger();
    ASSERT_TRUE(support::eventually([&] { return !content(trace).empty(); }, std::chrono::seconds(5)));
    EXPECT_EQ(content(trace), drive.host("C:\\Logs\\20261209.Log").string() + "\n");
}

TEST_F(Menu, QuitAsksTheQuestion) {
    platform::dialogs::queueAnswers({"no"});
    win.MnuQuitter->trigger();
    ASSERT_EQ(platform::dialogs::asked().size(), 1u);
    EXPECT_EQ(platform::dialogs::asked()[0].text, "Voulez-vous quitter le programme ?");
    EXPECT_TRUE(win.Loaded());
}

TEST_F(Menu, StandbyGoesOutOfTheWayWithTheMainTip) {
    win.Mnu01Veille->trigger();
    EXPECT_TRUE(Lib_SysTray::EnVeille);
    EXPECT_EQ(Lib_SysTray::TrayIconData.szTip, "Aerolune: Skyplate");
}

TEST_F(Menu, TheRevisionPageOpensThroughTheDesktopOpener) {
    const auto trace = installOpener();
    win.MnuWhatNews[0]->trigger();
    ASSERT_TRUE(support::eventually([&] { return std::filesystem::exists(trace); }, std::chrono::seconds(5)));
    support::eventually([&] { return !content(trace).empty(); }, std::chrono::seconds(5));
    EXPECT_EQ(
        content(trace),
        "https://download.vantremo.example/AL/Releases/AL_34/Histo_Revisions/AL3_Relaytone_Revisions.htm\n");
}

TEST_F(Menu, ARevisionPageTheDesktopCannotOpenIsReportedAndTheProgramGoesOn) {
    const auto emptyValue = drive.root() / "sans-ouvreur";
    std::filesystem::create_directories(emptyValue);
    ::setenv("PATH", emptyValue.c_str(), 1);
    win.MnuWhatNews[0]->trigger();
    EXPECT_TRUE(logged("Il n'y a aucune application associée à ce type de fichier"));
    EXPECT_GE(win.ListeIncidents[0]->ListCount(), 1);
    EXPECT_TRUE(win.Loaded());
}

TEST_F(Menu, TheAboutBoxShowsBesideTheMainWindow) {
    win.Mnu99APropos->trigger();
    FrmAbout* boite = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = dynamic_cast<FrmAbout*>(w)) boite = b;
    ASSERT_NE(boite, nullptr);
    EXPECT_TRUE(boite->isVisible());
    EXPECT_FALSE(boite->ShownModal());
}

TEST_F(Menu, TheInstalledComponentsListSkipsBlankDates) {
    using Lib_Systeme::HKEY_LOCAL_MACHINE;
    EXPECT_EQ(win.installedComponentsText(), "Aucune installation trouvée.");
    const auto set = [](const std::string& suffix, const std::string& version, const std::string& date) {
        const std::string keyName = "Software\\Vantremo\\Aerolune\\Composants_" + suffix;
        Lib_Systeme::Reg_SetValue(HKEY_LOCAL_MACHINE, keyName, "InstallVersion", version);
        Lib_Systeme::Reg_SetValue(HKEY_LOCAL_MACHINE, keyName, "InstallDate", date);
    };
    set("Full", "3.49.000", "02/03/2021");
    set("2020", "3.47.030", "   ");
    set("2021", "3.48.000", "05/01/2021");
    set(std::to_string(Frm_Main::componentsCurrentYear()), "3.55.000", "10/12/2026");
    set("2019", "1.0", "01/01/2019");
    EXPECT_EQ(win.installedComponentsText(),
              "Full: Version: 3.49.000 installée le 02/03/2021\r\n\r\n"
              "2021: Version: 3.48.000 installée le 05/01/2021\r\n" +
                  std::to_string(Frm_Main::componentsCurrentYear()) +
                  ": Version: 3.55.000 installée le 10/12/2026\r\n");
}

TEST_F(Menu, TheComponentsDialogOffersOneDownloadPerYear) {
    const auto trace = installOpener();
    const std::string yearNumber = std::to_string(Frm_Main::componentsCurrentYear());
    platform::dialogs::queueAnswers({"ok", "2021"});
    win.MnuWhatNews[2]->trigger();  // closed with its OK button: nothing opens
    const auto& boite = Frm_MainBis::get().TaskDialog;
    EXPECT_EQ(boite.WindowTitle, win.Caption());
    EXPECT_EQ(boite.MainInstruction, "Liste des composants installés");
    EXPECT_EQ(boite.Content, "Aucune installation trouvée.");
    ASSERT_FALSE(boite.Snapshot().Buttons.empty());
    EXPECT_EQ(boite.Snapshot().Buttons.front().id, 2020);
    EXPECT_EQ(boite.Snapshot().Buttons.back().caption, yearNumber);
    EXPECT_EQ(boite.ButtonIds().front(), engine::IDOK);
    win.MnuWhatNews[2]->trigger();  // the 2021 button
    ASSERT_TRUE(support::eventually([&] { return !content(trace).empty(); }, std::chrono::seconds(5)));
    EXPECT_EQ(content(trace),
              "https://download.vantremo.example/AL/Releases/AL_34/Setup_AL3_Composants_2021.exe\n");
    const auto messageBoxes = platform::dialogs::asked();
    ASSERT_EQ(messageBoxes.size(), 2u);
    EXPECT_EQ(messageBoxes[0].kind, platform::dialogs::Kind::Task);
}

// The task dialog on screen: owned by the main window, modal for the whole program, and a second
// dialog asked for while it is open shows on top of it.
TEST_F(Menu, TheComponentsDialogIsModalOverTheMainWindowAndADialogAskedMeanwhileShowsOnTop) {
    const auto trace = installOpener();
    platform::dialogs::showOnScreen();
    // Read while they are open: each window goes when its dialog closes.
    QWidget* listBox = nullptr;
    QWidget* listOwner = nullptr;
    Qt::WindowModality modality = Qt::NonModal;
    QWidget* verdict = nullptr;
    QWidget* verdictOwner = nullptr;
    const auto buttonWidget = [](QWidget* dialogWindow, const QString& textValue) {
        for (auto* b : dialogWindow->findChildren<QPushButton*>())
            if (b->text() == textValue) return b;
        return static_cast<QPushButton*>(nullptr);
    };
    QTimer::singleShot(200, &win, [&] {
        listBox = QApplication::activeModalWidget();
        ASSERT_NE(listBox, nullptr);
        listOwner = listBox->parentWidget();
        modality = listBox->windowModality();
        QTimer::singleShot(200, &win, [&] {
            verdict = QApplication::activeModalWidget();
            ASSERT_NE(verdict, nullptr);
            verdictOwner = verdict->parentWidget();
            if (QPushButton* ok = buttonWidget(verdict, "OK")) ok->click();
        });
        engine::TaskDialogControl& boite = Frm_MainBis::get().TaskDialog;
        boite.Reset();
        boite.WindowTitle = win.Caption();
        boite.MainInstruction = "Dernière version disponible: 2026.1210.0900";
        boite.CommonButtons = engine::tdbOk;
        EXPECT_EQ(boite.ShowDialog(), engine::IDOK);
        EXPECT_EQ(PbLReponseTaskDialog, engine::IDOK);
        // Back to the list, which kept its own buttons.
        ASSERT_EQ(QApplication::activeModalWidget(), listBox);
        if (QPushButton* yearNumber = buttonWidget(listBox, "2021")) yearNumber->click();
    });
    win.MnuWhatNews[2]->trigger();
    ASSERT_NE(listBox, nullptr);
    EXPECT_EQ(listOwner, &win);
    EXPECT_EQ(modality, Qt::ApplicationModal);
    EXPECT_NE(verdict, listBox);
    EXPECT_EQ(verdictOwner, listBox);
    ASSERT_TRUE(support::eventually([&] { return !content(trace).empty(); }, std::chrono::seconds(5)));
    EXPECT_EQ(content(trace),
              "https://download.vantremo.example/AL/Releases/AL_34/Setup_AL3_Composants_2021.exe\n");
}

TEST_F(Menu, TheUpdateCheckAsksTheVersionService) {
    ::setenv("AL3_VERSION_SERVICE", "http://127.0.0.1:1", 1);  // nothing listens there
    platform::dialogs::queueAnswers({"ok", "ok", "ok"});
    win.MnuWhatNews[1]->trigger();
    EXPECT_TRUE(logged("Web: Last version")) << "no trace of the check";
}

}  // namespace
