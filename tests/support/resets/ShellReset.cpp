// The shell's windows and modules back to their start between tests: the windows kept for the
// run destroyed (without their unload handlers), the look, the grid, the users and the start-up
// values as declared.
#include <QCoreApplication>
#include <QEvent>

#include "foundation/NeighbourServices.h"
#include "settings/LoadedForm.h"
#include "shell/FrmAbout.h"
#include "shell/FrmMsg.h"
#include "shell/Lib_Look.h"
#include "shell/Lib_SysTray.h"
#include "shell/Lib_Tableur.h"
#include "shell/Lib_Utilisateurs.h"
#include "shell/ShellState.h"
#include "tests/support/ModuleReset.h"

namespace {

void resetShell() {
    neighbours::resetNeighbourServices();
    // The windows below the shell's go first, as they did before the shell's own.
    settings::releaseLoadedForms();
    releaseFrmMsg();
    releaseFrmAbout();
    Lib_SysTray::resetSysTray();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Lib_Look::resetLook();
    Lib_Tableur::resetSpreadsheet();
    Lib_Utilisateurs::resetUsers();
    resetShellState();
}

const support::ModuleReset registered{support::ResetLayer::Shell, resetShell};

}  // namespace
