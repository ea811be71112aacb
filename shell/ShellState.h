// Process-wide values that start-up and shut-down set and the engine's jobs read.
#pragma once

#include <array>
#include <cstdint>

#include "platform/Clock.h"
#include "settings/SettingsFlags.h"  // PbINoBase, PbINbZones, PbBFrmMsgDemarrage

inline platform::LocalClockTime PbDProchaineRelance{};  // next nightly relaunch moment
inline platform::LocalClockTime PbDTimingUECP{};
inline bool PbBComposantsManquants = false;  // a required control file is missing
inline bool PbBInstancePrecedente = false;   // start-up gave up on the second-instance test
inline bool PbBRelanceLancee = false;        // a restart through the launcher is under way
inline int16_t PbINoStation = 1;
inline std::array<int32_t, 20> PbLInstanceBase{};

// The player's message file: found at start-up, drained at start-up and every five minutes.
inline bool PbBFRADx55Ouvert = false;
inline bool PbBFRAD059Ouvert = false;
inline bool PbBCheckFRADx55EnCours = false;
inline platform::LocalClockTime PbDCheckFRADx55{};

// Back to the start of the process: no relaunch planned, nothing missing or under way.
inline void resetShellState() {
    PbDProchaineRelance = {};
    PbDTimingUECP = {};
    PbBComposantsManquants = false;
    PbBInstancePrecedente = false;
    PbBRelanceLancee = false;
    PbINoStation = 1;
    PbLInstanceBase = {};
    PbBFRADx55Ouvert = false;
    PbBFRAD059Ouvert = false;
    PbBCheckFRADx55EnCours = false;
    PbDCheckFRADx55 = {};
}
