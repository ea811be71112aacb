// Who stays in front on a desktop with a window manager: an owned window before its owner, the
// program's questions before its own stay-on-top windows. Read from the window manager's stack.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>

#include "platform/forms/Form.h"
#include "platform/forms/QtPresenter.h"
#include "tests/support/DesktopWindows.h"

namespace {

using platform::forms::Form;
using support::DesktopWindows;
using support::waitUntil;
namespace dlg = platform::dialogs;

class Window : public Form {
public:
    explicit Window(const char* caption) : Form("FrmWindow") { SetCaption(caption); }
};

std::string display() { return qEnvironmentVariable("DISPLAY").toStdString(); }
support::XWindow xid(const QWidget& w) { return support::XWindow(w.windowHandle()->winId()); }

class Stacking : public ::testing::Test {
protected:
    void showManaged(Form& form, Form* owner = nullptr) {
        form.Show(platform::forms::vbModeless, owner);
        ASSERT_TRUE(waitUntil([&] { return desktop.named(form.Caption()).has_value(); }));
        waitUntil([] { return false; }, std::chrono::milliseconds(300));
    }
    void hide(Form& form) {
        form.Hide();
        ASSERT_TRUE(waitUntil([&] { return !desktop.named(form.Caption()).has_value(); }));
    }
    QPoint centre(const QWidget& w) { return desktop.frame(xid(w)).center(); }

    DesktopWindows desktop{display()};
};

TEST_F(Stacking, AnOwnedWindowStaysInFrontOfItsOwnerAndHasNoTaskbarEntryOfItsOwn) {
    Window owner("Aerolune: Relaytone - Radio");
    owner.Move(0, 0, 15000, 12000);
    showManaged(owner);
    Window owned("Owned: Aerolune: Relaytone");
    owned.Move(1500, 1500, 4500, 4500);
    for (int round = 1; round <= 2; ++round) {  // and again after it was hidden
        SCOPED_TRACE(round);
        showManaged(owned, &owner);
        const auto ownedId = desktop.named("Owned: ");
        ASSERT_TRUE(ownedId);
        EXPECT_EQ(desktop.transientFor(*ownedId), xid(owner));
        EXPECT_TRUE(desktop.hasState(*ownedId, "_NET_WM_STATE_SKIP_TASKBAR"));
        EXPECT_FALSE(desktop.hasState(xid(owner), "_NET_WM_STATE_SKIP_TASKBAR"));
        EXPECT_EQ(desktop.title(*ownedId), "Owned: Aerolune: Relaytone");
        // A click on the owner, well away from the owned window, brings the owner forward.
        support::click(display(), desktop.frame(xid(owner)).topLeft() + QPoint(800, 600));
        ASSERT_TRUE(waitUntil([&] { return QApplication::activeWindow() == &owner; }));
        waitUntil([] { return false; }, std::chrono::milliseconds(300));
        EXPECT_TRUE(desktop.isAbove(*ownedId, xid(owner)));
        hide(owned);
    }
}

TEST_F(Stacking, AnOwnedWindowNothingPlacedOpensOverItsOwner) {
    Window owner("Owner");
    owner.Move(4500, 3000, 9000, 7500);
    showManaged(owner);
    Window owned("About");
    owned.resize(300, 200);
    showManaged(owned, &owner);
    const QPoint offset = centre(owned) - centre(owner);
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
}

// A stay-on-top page right where the question comes, in the middle of the screen.
TEST_F(Stacking, TheProgramsQuestionsShowAboveItsStayOnTopPages) {
    Window main("Main");
    main.Move(0, 0, 15000, 12000);
    showManaged(main);
    Window page("Options: Divers");
    page.SetTopmost(true);
    page.Move(3000, 3000, 12000, 9000);
    showManaged(page);
    main.activateWindow();  // the question belongs to the window the operator is in
    waitUntil([&] { return QApplication::activeWindow() == &main; }, std::chrono::seconds(2));

    platform::forms::QtPresenter presenter;
    const struct {
        const char* what;
        std::function<void()> ask;
    } questions[] = {
        {"message box",
         [&] {
             presenter.messageBox("Voulez-vous quitter le programme ?", dlg::vbYesNo + dlg::vbQuestion,
                                  "Main");
         }},
        {"input box", [&] { presenter.inputBox("Nom ?", "Main", ""); }},
    };
    for (const auto& q : questions) {
        SCOPED_TRACE(q.what);
        bool above = false, seen = false;
        QTimer::singleShot(0, [&] {
            waitUntil([&] {
                return QApplication::activeModalWidget() &&
                       QApplication::activeModalWidget()->windowHandle() &&
                       QApplication::activeModalWidget()->windowHandle()->isExposed();
            });
            QWidget* box = QApplication::activeModalWidget();
            if (!box) return;
            waitUntil([] { return false; }, std::chrono::milliseconds(300));
            seen = true;
            above = desktop.isAbove(xid(*box), xid(page));
            // Still above once the operator clicks the main window, whose question it is.
            support::click(display(), desktop.frame(xid(main)).topLeft() + QPoint(20, 60));
            waitUntil([] { return false; }, std::chrono::milliseconds(300));
            above = above && desktop.isAbove(xid(*box), xid(page));
            static_cast<QDialog*>(box)->reject();
        });
        q.ask();
        EXPECT_TRUE(seen);
        EXPECT_TRUE(above);
    }
}

}  // namespace
