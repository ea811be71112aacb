// Standby: windows hidden behind the tray icon (minimised where the desktop has no tray), the
// tray menu on the right button only, the way back, and the incident icon while in standby.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>

#include "foundation/DailyLog.h"
#include "platform/forms/Form.h"
#include "shell/FrmAbout.h"
#include "shell/FrmSysTray.h"
#include "shell/Lib_SysTray.h"
#include "tests/shell/MainWindow.h"

namespace {

using Lib_SysTray::EnVeille;

// Another window of the program.
class OtherForm : public platform::forms::Form {
public:
    OtherForm() : Form("Autre") {}
};

// Records the order in which watched windows are shown.
class ShowOrder : public QObject {
public:
    std::vector<QObject*> sequence;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show) sequence.push_back(o);
        return false;
    }
};

class Tray : public mainwindow_test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        autre.Show();
        alreadyHidden.Load();
    }
    // The tray window is one for the run; it goes before the application object does.
    void TearDown() override { FrmSysTray::release(); }
    std::vector<std::string> listBox() const {
        std::vector<std::string> l;
        auto& frm = *FrmSysTray::get().ListeFrm;
        for (int i = 0; i < frm.ListCount(); ++i) l.push_back(frm.List(i));
        return l;
    }
    std::string handle(QWidget& w) const { return std::to_string(Lib_SysTray::Handle(w)); }
    void afficher() {
        FrmSysTray::get().MnuAfficher->trigger();
        QApplication::processEvents();
    }

    OtherForm autre;
    OtherForm alreadyHidden;  // loaded, never shown
};

TEST_F(Tray, WithoutATrayStandbyMinimisesAndRestoringComesBack) {
    Lib_SysTray::forcedTrayAvailability = false;
    win.Mnu01Veille->trigger();
    EXPECT_TRUE(EnVeille);
    EXPECT_TRUE(win.isVisible());
    EXPECT_TRUE(win.isMinimized());
    EXPECT_FALSE(autre.isVisible());
    ASSERT_FALSE(listBox().empty());
    EXPECT_EQ(listBox()[0], handle(win));
    EXPECT_EQ(Lib_SysTray::TrayIconData.szTip, "Aerolune: Skyplate");
    EXPECT_EQ(Lib_SysTray::TrayIconData.hWnd, Lib_SysTray::Handle(win));

    win.showNormal();
    QApplication::processEvents();
    EXPECT_FALSE(EnVeille);
    EXPECT_TRUE(autre.isVisible());
    EXPECT_FALSE(alreadyHidden.isVisible());
    EXPECT_TRUE(listBox().empty());
    EXPECT_FALSE(Lib_SysTray::Hooked);
}

TEST_F(Tray, WithATrayEveryWindowHidesAndAfficherShowsTheMainWindowFirst) {
    Lib_SysTray::forcedTrayAvailability = true;
    win.MiseEnVeilleForcee();
    EXPECT_FALSE(win.isVisible());
    EXPECT_FALSE(autre.isVisible());
    EXPECT_TRUE(Lib_SysTray::systemTrayIcon().isVisible());
    EXPECT_EQ(Lib_SysTray::systemTrayIcon().toolTip(), "Aerolune: Skyplate");
    // The main window first, then once more where the walk found it visible.
    const auto l = listBox();
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0], handle(win));
    EXPECT_EQ(std::count(l.begin(), l.end(), handle(win)), 2);
    EXPECT_EQ(std::count(l.begin(), l.end(), handle(autre)), 1);

    ShowOrder sequence;
    win.installEventFilter(&sequence);
    autre.installEventFilter(&sequence);
    afficher();
    ASSERT_EQ(sequence.sequence.size(), 2u);
    EXPECT_EQ(sequence.sequence[0], &win);
    EXPECT_EQ(sequence.sequence[1], &autre);
    EXPECT_FALSE(alreadyHidden.isVisible());
    EXPECT_FALSE(Lib_SysTray::systemTrayIcon().isVisible());
    EXPECT_FALSE(EnVeille);
    EXPECT_TRUE(listBox().empty());
    // The record keeps what the icon was shown with.
    EXPECT_EQ(Lib_SysTray::TrayIconData.hWnd, Lib_SysTray::Handle(win));
    EXPECT_EQ(Lib_SysTray::TrayIconData.szTip, "Aerolune: Skyplate");
    EXPECT_EQ(Lib_SysTray::TrayIconData.uFlags, 7);
    EXPECT_EQ(Lib_SysTray::TrayIconData.uCallbackMessage, 0x205);
}

TEST_F(Tray, TheWalksGoFromTheLastLoadedWindowToTheFirst) {
    Lib_SysTray::forcedTrayAvailability = true;
    // Made in one order and loaded in the other: only the loading counts.
    OtherForm c, b, a;
    for (OtherForm* f : {&a, &b, &c}) f->Show();
    win.MiseEnVeilleForcee();
    EXPECT_EQ(listBox(), (std::vector<std::string>{handle(win), handle(c), handle(b), handle(a),
                                                   handle(autre), handle(win)}));

    ShowOrder sequence;
    for (QWidget* w : std::initializer_list<QWidget*>{&win, &autre, &a, &b, &c})
        w->installEventFilter(&sequence);
    afficher();
    EXPECT_EQ(sequence.sequence, (std::vector<QObject*>{&win, &c, &b, &a, &autre}));
    // The main window, listed twice, takes the focus last.
    EXPECT_EQ(QApplication::activeWindow(), &win);
}

TEST_F(Tray, AWindowUnloadedDuringStandbyStaysAwayAndTheOthersComeBack) {
    Lib_SysTray::forcedTrayAvailability = true;
    OtherForm b;
    b.Show();
    win.MiseEnVeilleForcee();
    autre.Unload();
    afficher();
    EXPECT_FALSE(autre.isVisible());
    EXPECT_TRUE(b.isVisible());
    EXPECT_TRUE(win.isVisible());
    EXPECT_EQ(listBox(), std::vector<std::string>{handle(autre)});  // its entry waits for the next standby
}

TEST_F(Tray, TheAboutEntryShowsTheAboutBoxBesideTheHiddenWindows) {
    Lib_SysTray::forcedTrayAvailability = true;
    win.MiseEnVeilleForcee();
    FrmSysTray::get().MnuAbout->trigger();
    FrmAbout* boite = nullptr;
    for (platform::forms::Form* f : platform::forms::Form::LoadedForms())
        if (auto* b = dynamic_cast<FrmAbout*>(f)) boite = b;
    ASSERT_NE(boite, nullptr);
    EXPECT_TRUE(boite->isVisible());
    EXPECT_FALSE(boite->ShownModal());
    EXPECT_TRUE(EnVeille);
    EXPECT_FALSE(win.isVisible());
    boite->Unload();
}

TEST_F(Tray, OnlyTheRightButtonOpensTheTrayMenu) {
    Lib_SysTray::forcedTrayAvailability = true;
    win.MiseEnVeilleForcee();
    QMenu& menu = *FrmSysTray::get().MnuFlottant;
    for (auto reason :
         {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick, QSystemTrayIcon::MiddleClick}) {
        emit Lib_SysTray::systemTrayIcon().activated(reason);
        EXPECT_FALSE(menu.isVisible());
    }
    emit Lib_SysTray::systemTrayIcon().activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(menu.isVisible());
    const auto actions = menu.actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), "Afficher");
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->text(), "A propos...");
    menu.hide();
    // Once standby is over the icon's notifications are no longer taken.
    afficher();
    EXPECT_EQ(Lib_SysTray::WindowProc(QSystemTrayIcon::Context), 0);
}

TEST_F(Tray, AnIncidentInStandbySwapsTheIconForTheIncidentOne) {
    for (bool menuStrip : {true, false}) {
        SCOPED_TRACE(menuStrip ? "tray" : "no tray");
        Lib_SysTray::forcedTrayAvailability = menuStrip;
        win.MiseEnVeilleForcee();
        const auto avant = listBox();
        Lib_Public::TraceLog(-1, -1, -1, "Err: in standby", true);
        ASSERT_TRUE(Lib_SysTray::Hooked);
        auto* errorText = dynamic_cast<platform::forms::Form*>(Lib_SysTray::HookedWindow);
        ASSERT_NE(errorText, nullptr);
        EXPECT_EQ(errorText->Name(), "FrmError");
        EXPECT_EQ(Lib_SysTray::TrayIconData.hWnd, Lib_SysTray::Handle(*errorText));
        EXPECT_EQ(Lib_SysTray::TrayIconData.szTip, "Aerolune: Skyplate (Incidents...)");
        EXPECT_EQ(Lib_SysTray::systemTrayIcon().toolTip(), "Aerolune: Skyplate (Incidents...)");
        EXPECT_EQ(Lib_SysTray::systemTrayIcon().isVisible(), menuStrip);
        EXPECT_EQ(listBox(), avant);
        EXPECT_TRUE(EnVeille);
        EXPECT_EQ(win.isVisible(), !menuStrip);
        // A second incident swaps again, with the same tip.
        Lib_Public::TraceLog(-1, -1, -1, "Err: again", true);
        EXPECT_EQ(Lib_SysTray::TrayIconData.szTip, "Aerolune: Skyplate (Incidents...)");

        afficher();
        EXPECT_FALSE(Lib_SysTray::Hooked);
        EXPECT_FALSE(Lib_SysTray::systemTrayIcon().isVisible());
        EXPECT_TRUE(win.isVisible());
        EXPECT_FALSE(win.isMinimized());
        EXPECT_TRUE(autre.isVisible());
    }
}

TEST_F(Tray, StandbyAgainListsOnlyTheMainWindowSoTheFirstOnesStayHidden) {
    Lib_SysTray::forcedTrayAvailability = true;
    win.MiseEnVeilleForcee();
    win.MiseEnVeilleForcee();
    EXPECT_EQ(listBox(), std::vector<std::string>{handle(win)});
    afficher();
    EXPECT_TRUE(win.isVisible());
    EXPECT_FALSE(autre.isVisible());
}

TEST_F(Tray, StandbyWithoutHidingKeepsTheListAndStillCounts) {
    Lib_SysTray::forcedTrayAvailability = true;
    FrmSysTray::get().ListeFrm->AddItem("12345");
    Lib_SysTray::MiseEnVeille(autre, false, "tip");
    EXPECT_TRUE(EnVeille);
    EXPECT_EQ(listBox(), std::vector<std::string>{"12345"});
    EXPECT_TRUE(win.isVisible());
}

TEST_F(Tray, ALongTipIsCutToWhatTheFieldHolds) {
    Lib_SysTray::MiseEnVeille(autre, false, std::string(80, 'x'));
    EXPECT_EQ(Lib_SysTray::TrayIconData.szTip, std::string(63, 'x'));
}

TEST_F(Tray, ProgramEndDuringStandbyShowsTheWindowsAgainAndRemovesTheIcon) {
    Lib_SysTray::forcedTrayAvailability = true;
    win.MiseEnVeilleForcee();
    FrmSysTray::get().Unload(platform::forms::vbFormCode);
    EXPECT_TRUE(autre.isVisible());
    EXPECT_FALSE(Lib_SysTray::systemTrayIcon().isVisible());
    EXPECT_FALSE(EnVeille);
}

TEST_F(Tray, TheCommandLineStandbyWaitsForTheWindowAndHappensOnce) {
    Lib_SysTray::forcedTrayAvailability = true;
    win.hide();
    win.MiseEnVeilleDemandee = true;
    win.TimerVeille.setEnabled(true);
    win.TimerVeille_Timer();
    EXPECT_FALSE(EnVeille);
    EXPECT_TRUE(win.TimerVeille.Enabled());
    win.show();
    win.TimerVeille_Timer();
    EXPECT_TRUE(EnVeille);
    EXPECT_FALSE(win.MiseEnVeilleDemandee);
    EXPECT_FALSE(win.TimerVeille.Enabled());
}

TEST_F(Tray, StandbyFromTheStartUpOptionAnswersTheCommandLinesToo) {
    Lib_SysTray::forcedTrayAvailability = true;
    win.MiseEnVeilleDemandee = true;
    win.TimerVeille.setEnabled(true);
    win.MiseEnVeilleForcee();  // the standby-at-launch option, before the timer's tick
    win.TimerVeille_Timer();
    EXPECT_FALSE(win.TimerVeille.Enabled());
    afficher();
    win.TimerVeille_Timer();  // a late tick must not hide the window the operator asked for
    EXPECT_FALSE(EnVeille);
    EXPECT_TRUE(win.isVisible());
}

TEST_F(Tray, AfterAConfirmedQuitTheStandbyTimerDoesNothing) {
    PbBQuitter = true;
    win.MiseEnVeilleDemandee = true;
    win.TimerVeille.setEnabled(true);
    win.TimerVeille_Timer();
    EXPECT_FALSE(EnVeille);
    EXPECT_TRUE(win.MiseEnVeilleDemandee);
}

// Without a tray each main window brings its own way back, also one made after another has gone.
TEST(TrayMainWindows, EachMainWindowWithoutATrayComesBackFromStandby) {
    support::TempDriveC drive;
    PbBFeuilleChargee = true;
    Lib_SysTray::forcedTrayAvailability = false;
    for (int tour = 0; tour < 2; ++tour) {
        SCOPED_TRACE(tour);
        mainwindow_test::TestWindow mainForm;
        mainForm.Load();
        mainForm.Show();
        mainForm.MiseEnVeilleForcee();
        EXPECT_TRUE(mainForm.isMinimized());
        mainForm.showNormal();
        QApplication::processEvents();
        EXPECT_FALSE(EnVeille);
    }
    FrmSysTray::release();
}

}  // namespace
