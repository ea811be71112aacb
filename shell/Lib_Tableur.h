// The global workbook grid of the main window's first tab.
#pragma once

namespace Lib_Tableur {

// One-time set-up of the grid; the grid control comes with the workbook, until then nothing.
void InitGeneralTableur(bool init, bool resize);

}  // namespace Lib_Tableur
