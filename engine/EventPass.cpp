// One pass of the program's events, and whether the application is still running them.
#include "engine/EventPass.h"

#include <QEventLoop>
#include <QTimer>

namespace engine {

bool passEvents(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    // The pass's own quit gives 0; the application's end gives its exit code, and every loop
    // started after it gives -1.
    return loop.exec() == 0;
}

}  // namespace engine
