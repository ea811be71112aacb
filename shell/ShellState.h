// Process-wide values that start-up and shut-down set.
#pragma once

#include <array>
#include <cstdint>

#include "engine/EngineState.h"
#include "settings/SettingsFlags.h"  // PbINoBase, PbINbZones, PbBFrmMsgDemarrage

inline bool PbBComposantsManquants = false;  // a required control file is missing
inline bool PbBInstancePrecedente = false;   // start-up gave up on the second-instance test
inline bool PbBRelanceLancee = false;        // a restart through the launcher is under way
inline int16_t PbINoStation = 1;
inline std::array<int32_t, 20> PbLInstanceBase{};

// Back to the start of the process: nothing missing or under way.
inline void resetShellState() {
    PbBComposantsManquants = false;
    PbBInstancePrecedente = false;
    PbBRelanceLancee = false;
    PbINoStation = 1;
    PbLInstanceBase = {};
}
