// A stop signal or the end of the desktop session runs the orderly shut-down without a question.
#include "shell/UnattendedStops.h"

#include <string>

#include <QGuiApplication>
#include <QSessionManager>

#include "foundation/DailyLog.h"
#include "platform/Dialogs.h"
#include "platform/StopSignals.h"
#include "platform/forms/Form.h"

namespace shell {
namespace {

const std::string kSessionEnd = "Session end";

}  // namespace

int unattendedCloseMode() {
    // The first stop gives the cause: a session that ends during a stop by signal stays that stop.
    return platform::dialogs::stopCause() == kSessionEnd ? platform::forms::vbAppWindows
                                                         : platform::forms::vbAppTaskManager;
}

void endOfSession(platform::forms::Form& mainWindow) {
    platform::dialogs::beginStop(kSessionEnd);
    mainWindow.Unload(platform::forms::vbAppWindows);
}

void installUnattendedStops(platform::forms::Form& mainWindow) {
    platform::dialogs::setStopReport([](const std::string& line) { Lib_Public::TraceLog(-1, -1, -1, line); });
    platform::stopsignals::onStop(mainWindow,
                                  [&mainWindow] { mainWindow.Unload(platform::forms::vbAppTaskManager); });
#if QT_CONFIG(sessionmanager)
    // The session manager waits for this handler, so the shut-down ends before the session does.
    QObject::connect(
        qGuiApp, &QGuiApplication::commitDataRequest, &mainWindow,
        [&mainWindow](QSessionManager&) { endOfSession(mainWindow); }, Qt::DirectConnection);
#endif
}

}  // namespace shell
