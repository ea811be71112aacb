// Window places on a desktop with a window manager: the frame goes where it was asked whatever
// happened to the window before, reads back where it really is, and keeps its title bar within
// reach. The frames are read from the X server, not from the program.
#include <gtest/gtest.h>

#include <functional>

#include <QWindow>

#include "platform/forms/Form.h"
#include "tests/support/DesktopWindows.h"

namespace {

using platform::forms::Form;
using support::DesktopWindows;
using support::waitUntil;

constexpr int kTwips = 15;

class Page : public Form {
public:
    explicit Page(const char* caption = "Page") : Form("FrmPage") {
        SetCaption(caption);
        resize(400, 300);
    }
};

std::string display() { return qEnvironmentVariable("DISPLAY").toStdString(); }
support::XWindow xid(const QWidget& w) { return support::XWindow(w.windowHandle()->winId()); }

class Places : public ::testing::Test {
protected:
    // Shown, framed, and left alone until the window manager is done with it.
    void showFramed(Form& form, Form* owner = nullptr) {
        form.Show(platform::forms::vbModeless, owner);
        ASSERT_TRUE(waitUntil([&] { return form.windowHandle() && form.windowHandle()->isExposed(); }));
        ASSERT_TRUE(waitUntil([&] { return desktop.named(form.Caption()).has_value(); }));
        settle(form);
    }
    // Until the frame has stopped moving for a while.
    void settle(const Form& form) {
        QRect last = desktop.frame(xid(form));
        int still = 0;
        waitUntil([&] {
            const QRect now = desktop.frame(xid(form));
            still = now == last ? still + 1 : 0;
            last = now;
            return still >= 15;
        });
    }
    // Hidden, and gone from the screen before anything else happens, as when a person acts.
    void hide(Form& form) {
        form.Hide();
        ASSERT_TRUE(waitUntil([&] { return !form.windowHandle()->isExposed(); }));
    }
    QPoint frameAt(const Form& form) { return desktop.frame(xid(form)).topLeft(); }

    DesktopWindows desktop{display()};
};

// Within one pixel of where it should be.
bool near(QPoint a, QPoint b) { return std::abs(a.x() - b.x()) <= 1 && std::abs(a.y() - b.y()) <= 1; }

TEST_F(Places, TheFrameGoesWhereItWasAskedWhateverHappenedToTheWindowBefore) {
    Page owner("Owner");
    owner.Move(6000, 4500, 9000, 7500);
    showFramed(owner);
    const struct {
        const char* what;
        std::function<void(Form&)> before;  // what the window went through before its place
        std::function<void(Form&)> after;   // and between its place and its show
    } cases[] = {
        {"placed, then shown", [](Form&) {}, [](Form&) {}},
        {"its native window made first", [](Form& f) { f.winId(); }, [](Form&) {}},
        {"on top before its place", [](Form& f) { f.SetTopmost(true); }, [](Form&) {}},
        {"on top after its place", [](Form&) {}, [](Form& f) { f.SetTopmost(true); }},
        {"native window, on top, then placed",
         [](Form& f) {
             f.winId();
             f.SetTopmost(true);
         },
         [](Form&) {}},
        {"shown and hidden before",
         [this](Form& f) {
             showFramed(f);
             hide(f);
         },
         [](Form&) {}},
        {"shown on top, taken out of the top, hidden",
         [this](Form& f) {
             f.SetTopmost(true);
             showFramed(f);
             f.SetTopmost(false);
             hide(f);
         },
         [](Form&) {}},
    };
    for (bool owned : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (owned ? ", owned" : ""));
            Page page;
            c.before(page);
            page.SetLeft(3000);
            page.SetTop(4500);
            c.after(page);
            showFramed(page, owned ? &owner : nullptr);
            EXPECT_TRUE(near(frameAt(page), QPoint(200, 300)))
                << frameAt(page).x() << "," << frameAt(page).y();
            EXPECT_DOUBLE_EQ(page.Left(), 3000);
            EXPECT_DOUBLE_EQ(page.Top(), 4500);
        }
    }
}

TEST_F(Places, APlaceAskedWhileShownMovesTheFrameAndTheTopmostStateChangesInPlace) {
    Page page;
    page.SetLeft(1500);
    page.SetTop(1500);
    showFramed(page);
    page.SetLeft(4500);
    page.SetTop(3000);
    ASSERT_TRUE(waitUntil([&] { return near(frameAt(page), QPoint(300, 200)); })) << frameAt(page).x();
    page.SetTopmost(true);
    EXPECT_TRUE(waitUntil([&] { return desktop.hasState(xid(page), "_NET_WM_STATE_ABOVE"); }));
    settle(page);
    EXPECT_TRUE(near(frameAt(page), QPoint(300, 200))) << frameAt(page).x() << "," << frameAt(page).y();
    page.SetTopmost(false);
    EXPECT_TRUE(waitUntil([&] { return !desktop.hasState(xid(page), "_NET_WM_STATE_ABOVE"); }));
    EXPECT_TRUE(near(frameAt(page), QPoint(300, 200)));
}

TEST_F(Places, ItReadsWhereTheOperatorLeftItAndComesBackThereWhenShownAgain) {
    Page page;
    page.SetLeft(3000);
    page.SetTop(3000);
    page.SetTopmost(true);  // the settings pages are
    showFramed(page);
    const QPoint before = frameAt(page);
    support::dragTitleBar(display(), desktop.frame(xid(page)), QPoint(150, 90));
    ASSERT_TRUE(waitUntil([&] { return frameAt(page) != before; }));
    settle(page);
    const QPoint left = frameAt(page);
    EXPECT_TRUE(near(left, before + QPoint(150, 90))) << left.x() << "," << left.y();
    EXPECT_NEAR(page.Left(), left.x() * kTwips, 1);
    EXPECT_NEAR(page.Top(), left.y() * kTwips, 1);

    hide(page);
    EXPECT_NEAR(page.Left(), left.x() * kTwips, 1);
    EXPECT_NEAR(page.Top(), left.y() * kTwips, 1);
    showFramed(page);
    EXPECT_TRUE(near(frameAt(page), left)) << frameAt(page).x() << "," << frameAt(page).y();
}

TEST_F(Places, AStoredPlaceThatPutsTheTitleBarOffTheScreenBringsItBackOnIt) {
    const QRect area = desktop.workArea();
    ASSERT_FALSE(area.isEmpty());
    const struct {
        const char* what;
        double left, top;
        bool staysPut;
    } cases[] = {
        {"on the screen", 1500, 1500, true},
        {"partly off the left edge, title bar in reach", -3000, 1500, true},
        {"title bar above the screen", 1500, -600, false},
        {"far above", 1500, -9000, false},
        {"off the left edge", -30000, 1500, false},
        {"off the right edge", 30000, 1500, false},
        {"below the screen", 1500, 50000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Page page;
        page.SetLeft(c.left);
        page.SetTop(c.top);
        showFramed(page);
        const QRect frame = desktop.frame(xid(page));
        if (c.staysPut) {
            EXPECT_TRUE(near(frame.topLeft(), QPoint(int(c.left) / kTwips, int(c.top) / kTwips)));
        } else {
            // The whole title bar's height, and enough of its width to take hold of it.
            EXPECT_GE(frame.top(), area.top());
            EXPECT_LE(frame.top() + 24, area.bottom() + 1);
            EXPECT_GE(std::min(frame.right(), area.right()) - std::max(frame.left(), area.left()) + 1, 100)
                << frame.left() << " " << frame.right();
        }
        // What a save stores is where it is, so the next start does not repeat the fault.
        EXPECT_NEAR(page.Left(), frame.left() * kTwips, 1);
        EXPECT_NEAR(page.Top(), frame.top() * kTwips, 1);
    }
}

}  // namespace
