// A stop signal or the end of the desktop session runs the orderly shut-down without a question.
#include "shell/UnattendedStops.h"

#include <QGuiApplication>
#include <QSessionManager>

#include "foundation/DailyLog.h"
#include "platform/Dialogs.h"
#include "platform/StopSignals.h"
#include "platform/forms/Form.h"

namespace shell {

void endOfSession(platform::forms::Form& mainWindow) {
    platform::dialogs::beginStop("Session end");
    mainWindow.Unload(platform::forms::vbAppWindows);
}

void installUnattendedStops(platform::forms::Form& mainWindow) {
    platform::dialogs::setStopReport([](const std::string& line) { Lib_Public::TraceLog(-1, -1, -1, line); });
    platform::stopsignals::onStop([&mainWindow] { mainWindow.Unload(platform::forms::vbAppTaskManager); });
#if QT_CONFIG(sessionmanager)
    // The session manager waits for this handler, so the shut-down ends before the session does.
    QObject::connect(
        qGuiApp, &QGuiApplication::commitDataRequest, &mainWindow,
        [&mainWindow](QSessionManager&) { endOfSession(mainWindow); },
        Qt::DirectConnection);
#endif
}

}  // namespace shell
