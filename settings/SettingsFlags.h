// The settings window's loading flag, the three modified-group flags and the zone count.
#pragma once

#include <array>
#include <cstdint>
#include <string>

inline bool FrmSetupEnChargement = false;           // the settings window is loading its pages
inline bool OptionsModifiees = false;               // general group (program settings file)
inline bool OptionsPeripheriquesModifiees = false;  // UDP rows (base settings file)
inline bool OptionsConvertModifiees = false;        // sound effects (base settings file)

// Zones served, 1 to 20; only zones 0 to 4 have folders.
inline int16_t PbINbZones = 1;

// Every change handler of the three pages marks its group this way.
inline void MarquerModifie(bool& flag) {
    if (!FrmSetupEnChargement) flag = true;
}
