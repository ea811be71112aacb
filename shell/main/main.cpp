// AL3_Relaytone: the main window is the start-up object; its initialisation and load drive the rest.
#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include "platform/NumericLocale.h"
#include "platform/StopSignals.h"
#include "platform/forms/QtPresenter.h"
#include "platform/process/RuntimeFolder.h"
#include "shell/Frm_Main.h"
#include "shell/UnattendedStops.h"

int main(int argc, char** argv) {
    // Before anything else: a stop signal from here on waits for the window, never kills.
    platform::stopsignals::hold();
    platform::process::settleRuntimeDirectory();
    QApplication application(argc, argv);
    platform::keepNumbersInC();
    application.setQuitOnLastWindowClosed(false);
    platform::forms::installQtPresenter();

    auto* win = new Frm_Main;  // kept for the whole run, as every window of the program
    shell::installUnattendedStops(*win);
    win->Form_Initialize();
    win->Load();
    // A start-up that gave up has unloaded the window already.
    const int code = win->Loaded() ? application.exec() : 0;
    // The shut-down has run; the windows that live for the whole run are not torn down after
    // the application object.
    std::fflush(nullptr);
    std::_Exit(code);
}
