// The settings window's loading flag, its three modified-group flags, the zones and base folders.
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
// Each base's folder of its AL3_Systeme.ini, with a trailing backslash.
inline std::array<std::string, 5> PbSDossierIniBase{};

// The base worked on: start-up sets entry 0 and nothing changes it.
inline int16_t PbINoBase = 0;
// True while the start-up progress window shows the steps (set by the start-up).
inline bool PbBFrmMsgDemarrage = false;

// Every change handler of the three pages marks its group this way.
inline void markModified(bool& flag) {
    if (!FrmSetupEnChargement) flag = true;
}

// Back to the start of the process: nothing loading or modified, one zone, no base folder.
inline void resetSettingsFlags() {
    FrmSetupEnChargement = false;
    OptionsModifiees = false;
    OptionsPeripheriquesModifiees = false;
    OptionsConvertModifiees = false;
    PbINbZones = 1;
    PbSDossierIniBase = {};
    PbINoBase = 0;
    PbBFrmMsgDemarrage = false;
}
