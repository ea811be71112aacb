// Stop signals in this very process: held from hold() on, handed over once there is a close.
#include <gtest/gtest.h>

#include <csignal>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "platform/Dialogs.h"
#include "platform/StopSignals.h"
#include "tests/support/TempSite.h"

namespace dlg = platform::dialogs;
namespace stops = platform::stopsignals;

class StopSignals : public support::SiteTest {
protected:
    // Lets the event loop run until the condition holds or two seconds have passed.
    static bool eventually(const std::function<bool()>& condition) {
        QElapsedTimer waited;
        waited.start();
        while (!condition() && waited.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return condition();
    }
};

TEST_F(StopSignals, SignalsBeforeTheCloseExistsAreHeldThenHandedOverAfterTheSeamHasBegunTheStop) {
    // Blocked as a starter might leave them: hold() lets them in.
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    ::sigprocmask(SIG_BLOCK, &blocked, nullptr);
    ::raise(SIGTERM);

    stops::hold();
    EXPECT_TRUE(stops::raised());
    for (const int sig : {SIGINT, SIGHUP}) ::raise(sig);  // the process lives on
    QCoreApplication::processEvents();
    EXPECT_FALSE(dlg::stopBegun()) << "nothing is acted on before there is a close";

    int closes = 0;
    bool seamStoppedFirst = false;
    QObject window;
    stops::onStop(window, [&] {
        ++closes;
        seamStoppedFirst = dlg::stopBegun();
    });
    ASSERT_TRUE(eventually([&] { return closes > 0; }));
    EXPECT_TRUE(seamStoppedFirst);

    ::raise(SIGTERM);  // a later signal comes through too
    const int before = closes;
    EXPECT_TRUE(eventually([&] { return closes > before; }));
}
