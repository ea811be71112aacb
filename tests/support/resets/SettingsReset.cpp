// The settings windows and their flags back to their start between tests: every window kept for
// the run destroyed (without its unload handlers), the flags as declared.
#include <QCoreApplication>
#include <QEvent>

#include "foundation/NeighbourServices.h"
#include "settings/LoadedForm.h"
#include "settings/SettingsFlags.h"
#include "tests/support/ModuleReset.h"

namespace {

void resetSettings() {
    // The windows go without their unload handlers, so none of them is left registered with the
    // layers below while they go.
    neighbours::resetNeighbourServices();
    settings::releaseLoadedForms();
    // What the windows handed to deleteLater goes now, while the layers below still stand.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    resetSettingsFlags();
}

const support::ModuleReset registered{support::ResetLayer::Settings, resetSettings};

}  // namespace
