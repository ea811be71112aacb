// The foundation's modules back to their start between tests: the log, the neighbour services,
// the run state, the family configuration latch, the site and the small modules' values.
#include "foundation/BaseChoice.h"
#include "foundation/Conversions.h"
#include "foundation/DailyLogState.h"
#include "foundation/ErrorReporter.h"
#include "foundation/FamilyConfig.h"
#include "foundation/FileVersions.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "foundation/SystemQueries.h"
#include "foundation/Timing.h"
#include "tests/support/ModuleReset.h"

namespace {

void resetFoundation() {
    dailylog::resetDailyLog();
    neighbours::resetNeighbourServices();
    neighbours::resetBaseChoice();
    resetRunState();
    Lib_Site::resetSite();
    Lib_Public::resetFamilyConfig();
    Lib_Public::resetErrorReporter();
    Lib_Public::resetConversions();
    Lib_Systeme::resetTiming();
    Lib_Systeme::resetSystemQueries();
    Lib_Systeme::resetFilesAndFolders();
    Lib_Systeme::resetFileVersions();
}

const support::ModuleReset registered{support::ResetLayer::Foundation, resetFoundation};

}  // namespace
