// The program's windows and their modules back to their start between tests: every window kept
// for the run destroyed (without its unload handlers), the flags and values of the settings,
// the engine and the shell as declared, the seams back to the real ones.
#include <QCoreApplication>
#include <QEvent>

#include "engine/Lib_DirectX.h"
#include "engine/PeriodicJobs.h"
#include "engine/TaskDialog.h"
#include "foundation/NeighbourServices.h"
#include "settings/LoadedForm.h"
#include "settings/SettingsFlags.h"
#include "shell/FrmAbout.h"
#include "shell/FrmMsg.h"
#include "shell/Lib_Look.h"
#include "shell/Lib_SysTray.h"
#include "shell/Lib_Tableur.h"
#include "shell/Lib_Utilisateurs.h"
#include "shell/ShellState.h"
#include "tests/support/ModuleReset.h"

namespace {

void resetApp() {
    // The windows go without their unload handlers, so none of them is left registered with the
    // layers below while they go.
    neighbours::resetNeighbourServices();
    settings::releaseLoadedForms();
    releaseFrmMsg();
    releaseFrmAbout();
    Lib_SysTray::resetSysTray();
    // What the windows handed to deleteLater goes now, while the layers below still stand.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Lib_Look::resetLook();
    Lib_Tableur::resetTableur();
    Lib_Utilisateurs::resetUsers();
    Lib_DirectX::resetDirectX();
    resetTaskDialogValues();
    resetSettingsFlags();
    resetShellState();
    engine::seams::setEndProcess({});
}

const support::ModuleReset registered{support::ResetLayer::App, resetApp};

}  // namespace
