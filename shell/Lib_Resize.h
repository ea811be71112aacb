// The main window's tab layout: the current tab's contents placed to the tab control's size.
#pragma once

namespace Lib_Resize {

// Nothing before the settings window is loaded. The grid tab recomputes the grid's column
// widths; the incidents tab sizes its list and puts the purge button below it.
void ResizeCurrentOngletMain();

// Lengths in twips, never below 0.
inline double atLeastZero(double lengthValue) { return lengthValue < 0 ? 0 : lengthValue; }

}  // namespace Lib_Resize
