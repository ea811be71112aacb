// The record-manager access layer back to its start between tests: its request, status and open
// files, the catalogue, the record buffers, the once-per-run boxes and lines, the real seams.
#include "btrieve/BtrState.h"
#include "btrieve/Catalogue.h"
#include "btrieve/OpenClose.h"
#include "btrieve/Operation.h"
#include "btrieve/Records.h"
#include "btrieve/Seams.h"
#include "tests/support/ModuleReset.h"

namespace {

void resetBtrieve() {
    namespace seams = Lib_Data_BTrieve::seams;
    seams::setEngine({});
    seams::setSleep({});
    seams::setEndProcess({});
    resetBtrState();
    Lib_Data_BTrieve::resetCatalogue();
    Lib_Data_BTrieve::resetRecords();
    Lib_Data_BTrieve::resetOpenClose();
    Lib_Data_BTrieve::resetOperation();
}

const support::ModuleReset registered{support::ResetLayer::Btrieve, resetBtrieve};

}  // namespace
