// The audio output calls the sound page makes; no device behind them until the audio output lands.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Lib_DirectX {

// 1 once the pipe has found an output device.
inline int32_t PbLModeSortiePipe[1] = {0};

void InitDirectXOut(int16_t noPipe, const std::string& sectionPrefix);
void DirectXPipeSetLevelOut(int16_t noPipe);

// Every call above, in order ("InitDirectXOut(0,DirectX_Player_)", "DirectXPipeSetLevelOut(0)").
std::vector<std::string>& calls();
// What runs while a start is under way: the real start lets window events run for up to 6 s.
inline std::function<void()> pendantDemarrage;

}  // namespace Lib_DirectX
