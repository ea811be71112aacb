// The audio output: starts the engine window's player control on the chosen device, sets the
// players' level and buffer, and stops them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace Lib_DirectX {

// 1 once the pipe has found an output device.
inline int32_t PbLModeSortiePipe[1] = {0};
// Devices (0 to 31) the control said have no valid driver: not started again during the run.
inline std::array<bool, 32> PbBDriverInvalide{};
// The version of the control file found on this computer, 0 when none.
inline float ControlVersionAmp3dj = 0;

// Back to the start of the process: no device found, none refused, no control file known.
inline void resetDirectX() {
    PbLModeSortiePipe[0] = 0;
    PbBDriverInvalide = {};
    ControlVersionAmp3dj = 0;
}

// Starts pipe noPipe on the device stored under sectionPrefix & "00" in the program settings.
void InitDirectXOut(int16_t noPipe, const std::string& sectionPrefix);
// True when the player was stopped.
bool DirectXOutStopSound(int16_t noPipe, int16_t noStream, int32_t fadeOutDuration,
                         const std::string& callerSub);
bool DirectXOutCloseSound(int16_t noPipe, int16_t noStream, const std::string& callerSub);
void DirectXOutSoundDone(int16_t noPipe, int16_t noStream);
// The fixed level 0 dB on the pipe's four players.
void DirectXPipeSetLevelOut(int16_t noPipe);

// Logs a negative control code framed with "+" (alert, also an incident) or "-".
void AfficherErreurDJStudio(int32_t code, int16_t column2, int16_t column3, const std::string& action,
                            const std::string& callerSub, bool alert);
// The control's wording of a code; the code in decimal when it has none.
std::string djStudioErrorText(int32_t code);

}  // namespace Lib_DirectX
