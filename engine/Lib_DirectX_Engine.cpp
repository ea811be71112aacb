// The engine window's audio members that the foundation's shut-down and the sound page reach
// through its services.
#include "engine/Frm_MainBis.h"
#include "engine/Lib_DirectX.h"

bool Frm_MainBis::DirectXOutStopSound(int16_t noPipe, int16_t noStream, int32_t fadeOutDuration,
                                      const std::string& callerSub) {
    return Lib_DirectX::DirectXOutStopSound(noPipe, noStream, fadeOutDuration, callerSub);
}

// Operation 130: every player stops at once.
void Frm_MainBis::Amp3dj1_Release(int16_t noPipe) {
    if (noPipe >= 0 && size_t(noPipe) < Amp3dj1.size()) Amp3dj1[size_t(noPipe)].CloseAllPlayers();
}

// Operation 129 with the start's arguments: on our control it ends the sound system and frees
// the device, which is what the shut-down needs of it.
void Frm_MainBis::Amp3dj1_SystemStart(int16_t noPipe, int16_t count, int32_t hWnd, int16_t& device1,
                                      int16_t& device2, int16_t& device3, int16_t& device4) {
    if (noPipe >= 0 && size_t(noPipe) < Amp3dj1.size())
        Amp3dj1[size_t(noPipe)].ReleaseSystem(count, hWnd, device1, device2, device3, device4);
}

void Frm_MainBis::InitDirectXOut(int16_t noPipe, const std::string& sectionPrefix) {
    Lib_DirectX::InitDirectXOut(noPipe, sectionPrefix);
}

void Frm_MainBis::DirectXPipeSetLevelOut(int16_t noPipe) { Lib_DirectX::DirectXPipeSetLevelOut(noPipe); }

int32_t Frm_MainBis::ModeSortiePipe(int16_t noPipe) {
    return noPipe == 0 ? Lib_DirectX::PbLModeSortiePipe[0] : 0;
}
