// Process-wide values that start-up sets and the engine's periodic jobs read and move on.
#pragma once

#include "platform/Clock.h"

inline platform::LocalClockTime PbDProchaineRelance{};  // next nightly relaunch moment
inline platform::LocalClockTime PbDTimingUECP{};

// The player's message file: found at start-up, drained at start-up and every five minutes.
inline bool PbBFRADx55Ouvert = false;
inline bool PbBFRAD059Ouvert = false;
inline bool PbBCheckFRADx55EnCours = false;
inline platform::LocalClockTime PbDCheckFRADx55{};

// Back to the start of the process: no relaunch planned, no message file found or drained.
inline void resetEngineState() {
    PbDProchaineRelance = {};
    PbDTimingUECP = {};
    PbBFRADx55Ouvert = false;
    PbBFRAD059Ouvert = false;
    PbBCheckFRADx55EnCours = false;
    PbDCheckFRADx55 = {};
}
