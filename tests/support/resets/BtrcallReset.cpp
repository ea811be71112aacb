// The record manager back to its start between tests: every file a test left open is closed.
#include "platform/btrcall/Btrcall.h"
#include "tests/support/ModuleReset.h"

namespace {

void resetRecordManager() {
    namespace btr = platform::btrcall;
    btr::BTRCALL(btr::OpStop, nullptr, nullptr, nullptr, nullptr, 0, 0);
}

const support::ModuleReset registered{support::ResetLayer::PlatformLibraries, resetRecordManager};

}  // namespace
