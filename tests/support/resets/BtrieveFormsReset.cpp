// The base-choice dialog back to its start between tests: unregistered and destroyed.
#include "btrieve/forms/FrmSelectBase.h"
#include "tests/support/ModuleReset.h"

namespace {

const support::ModuleReset registered{support::ResetLayer::BtrieveForms, FrmSelectBaseDialog::release};

}  // namespace
