// The grid's set-up: nothing to build before the grid control exists.
#include "shell/Lib_Tableur.h"

#include "shell/Frm_Main.h"

namespace Lib_Tableur {

void InitGeneralTableur(bool, bool) {}

}  // namespace Lib_Tableur

// No grid to write the row into before the workbook grid exists.
void Frm_Main::TableurInitDemarrage(int16_t, const std::string&) {}
