// The main window's own windows on a desktop, driven with the keyboard and the mouse: the
// settings window and the about box owned by it, the quit question above the stay-on-top pages.
#include <gtest/gtest.h>

#include <map>

#include <QAbstractButton>
#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>

#include "engine/Frm_MainBis.h"
#include "platform/Dialogs.h"
#include "platform/forms/QtPresenter.h"
#include "settings/FrmSetup.h"
#include "settings/FrmSetupDivers.h"
#include "shell/FrmAbout.h"
#include "tests/settings/SettingsWindows.h"
#include "tests/shell/MainWindow.h"
#include "tests/support/DesktopWindows.h"
#include "tests/support/WindowsFiles.h"

namespace {

using support::waitUntil;

std::string display() { return qEnvironmentVariable("DISPLAY").toStdString(); }
support::XWindow xid(const QWidget& w) { return support::XWindow(w.windowHandle()->winId()); }

class MainWindowOnDesktop : public mainwindow_test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        support::writeWindowsFile(drive.host("C:\\Vantremo\\Aerolune\\Settings\\AL3_Config.ini"),
                                  "[Site]\nNbBase=1\n");
        win.Move(0, 0, 15000, 12000);
        ASSERT_TRUE(waitUntil([&] { return desktop.named(win.Caption()).has_value(); }));
        pause();
    }
    // The settings window and its pages go with the test: a window shown once must not outlive
    // the application.
    void TearDown() override {
        settings_test::unloadSettingsWindows();
        if (Frm_MainBis::exists()) Frm_MainBis::get().Unload(platform::forms::vbFormCode);
        platform::dialogs::reset();
    }
    static void pause() {
        waitUntil([] { return false; }, std::chrono::milliseconds(400));
    }
    // The keys pressed on the main window, as the operator presses them.
    void keys(const std::string& pressed) {
        support::pressKeys(display(), xid(win), pressed);
        pause();
    }
    bool onScreen(const QWidget& w) {
        return w.isVisible() && w.windowHandle() && w.windowHandle()->isExposed();
    }
    QPoint inMainWindow() { return desktop.frame(xid(win)).topLeft() + QPoint(900, 650); }

    support::DesktopWindows desktop{display()};
};

TEST_F(MainWindowOnDesktop, OptionsStaysInFrontOfTheMainWindowAndCtrlOAlwaysDoesWhatItShows) {
    keys("ctrl+o");
    ASSERT_TRUE(FrmSetup::exists());
    FrmSetup& options = FrmSetup::get();
    ASSERT_TRUE(waitUntil([&] { return onScreen(options); }));
    pause();
    EXPECT_EQ(desktop.transientFor(xid(options)), xid(win));
    EXPECT_TRUE(desktop.hasState(xid(options), "_NET_WM_STATE_SKIP_TASKBAR"));
    EXPECT_EQ(desktop.title(xid(options)).rfind("Options: Aerolune: Relaytone - ", 0), 0u)
        << desktop.title(xid(options));

    // A click on the main window leaves Options in front; the next Ctrl+O hides it, the one
    // after brings it back in front.
    support::click(display(), inMainWindow());
    pause();
    EXPECT_TRUE(desktop.isAbove(xid(options), xid(win)));
    keys("ctrl+o");
    EXPECT_TRUE(waitUntil([&] { return !options.isVisible(); }));
    keys("ctrl+o");
    ASSERT_TRUE(waitUntil([&] { return onScreen(options); }));
    pause();
    EXPECT_TRUE(desktop.isAbove(xid(options), xid(win)));

    // Minimised by the operator, it is still "visible": Ctrl+O brings it back.
    options.showMinimized();
    ASSERT_TRUE(waitUntil([&] { return !options.windowHandle()->isExposed(); }));
    keys("ctrl+o");
    EXPECT_TRUE(waitUntil([&] { return onScreen(options) && !options.isMinimized(); }));
}

TEST_F(MainWindowOnDesktop, TheAboutBoxOpensOverTheMainWindowWithItsCaptionAndNoTaskbarEntry) {
    win.Mnu99APropos->trigger();
    FrmAbout* boite = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = dynamic_cast<FrmAbout*>(w)) boite = b;
    ASSERT_NE(boite, nullptr);
    ASSERT_TRUE(waitUntil([&] { return onScreen(*boite); }));
    pause();
    EXPECT_EQ(desktop.title(xid(*boite)), "A propos de Aerolune: Relaytone");
    EXPECT_EQ(desktop.transientFor(xid(*boite)), xid(win));
    EXPECT_TRUE(desktop.hasState(xid(*boite), "_NET_WM_STATE_SKIP_TASKBAR"));
    const QPoint offset = desktop.frame(xid(*boite)).center() - desktop.frame(xid(win)).center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
    support::click(display(), inMainWindow());
    pause();
    EXPECT_TRUE(desktop.isAbove(xid(*boite), xid(win)));
    boite->Unload();
}

TEST_F(MainWindowOnDesktop, TheQuitQuestionShowsAboveTheStayOnTopMiscellaneousPage) {
    keys("ctrl+o");  // loads the settings window and its pages, their own boxes answered by script
    ASSERT_TRUE(FrmSetup::exists());
    platform::forms::installQtPresenter();
    platform::dialogs::showOnScreen();
    FrmSetupDivers& misc = FrmSetupDivers::get();
    misc.Move(3000, 3000, 9000, 9000);  // over the middle of the main window, where the box comes
    misc.Show();
    ASSERT_TRUE(waitUntil([&] { return onScreen(misc); }));
    pause();
    ASSERT_TRUE(desktop.hasState(xid(misc), "_NET_WM_STATE_ABOVE"));

    // Looked at from the question's own event loop, once the box is on screen for a while.
    bool seen = false, above = false;
    QString yes, no;
    int ticks = 0;
    QTimer watcher;
    watcher.setInterval(100);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !onScreen(*box) || ++ticks < 4) return;
        watcher.stop();
        seen = box->text() == "Voulez-vous quitter le programme ?";
        above = desktop.isAbove(xid(*box), xid(misc));
        yes = box->button(QMessageBox::Yes)->text().remove('&');
        // The operator answers with the mouse.
        QAbstractButton* non = box->button(QMessageBox::No);
        no = non->text().remove('&');
        support::click(display(), desktop.onScreen(xid(*box), non->mapTo(box, non->rect().center())));
    });
    watcher.start();
    keys("ctrl+q");
    ASSERT_TRUE(waitUntil([&] { return seen; }));
    EXPECT_TRUE(above);
    // In the desktop's language, as the program installs Qt's translation for it.
    const std::map<QLocale::Language, std::pair<const char*, const char*>> answers{
        {QLocale::French, {"Oui", "Non"}},
        {QLocale::German, {"Ja", "Nein"}},
        {QLocale::C, {"Yes", "No"}},
        {QLocale::English, {"Yes", "No"}}};
    const auto expected = answers.find(QLocale::system().language());
    ASSERT_NE(expected, answers.end()) << QLocale::system().name().toStdString();
    EXPECT_EQ(yes.toStdString(), expected->second.first);
    EXPECT_EQ(no.toStdString(), expected->second.second);
    EXPECT_TRUE(waitUntil([] { return QApplication::activeModalWidget() == nullptr; }));
    EXPECT_TRUE(win.Loaded());  // "No"
}

}  // namespace
