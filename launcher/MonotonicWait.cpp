// The event loop sleeps until the next event or the deadline: no core spins, and a change of
// the wall clock can neither cut the wait short nor stretch it.
#include "launcher/MonotonicWait.h"

#include <algorithm>

#include <QEventLoop>
#include <QTimer>

void WaitKeepingEvents(std::chrono::milliseconds duration, const std::function<bool()>& done) {
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + duration;
    for (auto left = duration; left.count() > 0 && !(done && done());
         left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now())) {
        QEventLoop loop;
        QTimer::singleShot(std::min(left, std::chrono::milliseconds(250)) + std::chrono::milliseconds(1),
                           Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
}
