// The engine window and its modules back to their start between tests: the window destroyed
// (without its unload handlers) with the settings windows made the same way, the audio output,
// the task dialog's values and the periodic jobs' state as declared, the seams the real ones.
#include <QCoreApplication>
#include <QEvent>

#include "engine/EngineState.h"
#include "engine/Lib_DirectX.h"
#include "engine/PeriodicJobs.h"
#include "engine/TaskDialog.h"
#include "foundation/NeighbourServices.h"
#include "settings/LoadedForm.h"
#include "tests/support/ModuleReset.h"

namespace {

void resetEngine() {
    neighbours::resetNeighbourServices();
    settings::releaseLoadedForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Lib_DirectX::resetDirectX();
    resetTaskDialogValues();
    resetEngineState();
    engine::seams::setEndProcess({});
}

const support::ModuleReset registered{support::ResetLayer::Engine, resetEngine};

}  // namespace
