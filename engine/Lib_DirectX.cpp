// The audio output's start, level and stop on the engine window's player control.
#include "engine/Lib_DirectX.h"

#include <charconv>
#include <stdexcept>

#include "engine/ErrorTrap.h"
#include "engine/Frm_MainBis.h"
#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/FileVersions.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "foundation/SystemQueries.h"
#include "foundation/Timing.h"
#include "platform/Dialogs.h"
#include "settings/FrmSetupSon.h"

namespace Lib_DirectX {

namespace {

namespace dlg = platform::dialogs;
using platform::audio::Amp3dj;

constexpr int kPlayers = 4;
constexpr int32_t kRetryWaitMs = 6000;
constexpr int kMsgBoxSetForeground = 65536;
const std::string kModule = "Lib_DirectX";

Amp3dj& controlItem(int16_t noPipe) {
    auto& players = Frm_MainBis::get().Amp3dj1;
    if (noPipe < 0 || size_t(noPipe) >= players.size())
        throw std::out_of_range("Subscript out of range: pipe " + std::to_string(noPipe));
    return players[size_t(noPipe)];
}

PipeOut& pipeOut(int16_t noPipe) {
    if (noPipe < 0 || size_t(noPipe) >= PbTPipesOut.size())
        throw std::out_of_range("Subscript out of range: pipe " + std::to_string(noPipe));
    return PbTPipesOut[size_t(noPipe)];
}

platform::audio::Api api() {
    return ControlVersionAmp3dj >= 5.0f ? platform::audio::Api::From5 : platform::audio::Api::Before5;
}

// A single-precision figure as VB writes it: "0", "8", "12.05".
std::string singleText(float value) {
    char text[32];
    const auto end =
        std::to_chars(text, text + sizeof text, double(value), std::chars_format::general, 7).ptr;
    return std::string(text, end);
}

bool driverInvalid(int16_t device) {
    return device >= 0 && size_t(device) < PbBDriverInvalide.size() && PbBDriverInvalide[size_t(device)];
}

void markDriverInvalid(int16_t device) {
    // Only 32 devices can be marked; a higher index is simply tried again next time.
    if (device >= 0 && size_t(device) < PbBDriverInvalide.size()) PbBDriverInvalide[size_t(device)] = true;
}

void readVersion(const std::string& file) {
    Lib_Systeme::VersionFichier(file);
    ControlVersionAmp3dj = float(VBA::Val(VersionFichierInfos));
}

// Looks for the control's file where the system keeps it; the last file tried.
std::string findControl() {
    ControlVersionAmp3dj = 0;
    const std::string systemDir = Lib_Public::CheckRep(Lib_Systeme::GetWinSysDir());
    const std::string wow64 = std::string("C:\\Windows\\sysWOW64\\") + "amp3dj.ocx";
    if (PbBWindows64Bits) {
        std::string file = systemDir + "amp3dj64.ocx";
        if (Lib_Systeme::File_Exist(file)) {
            readVersion(file);
            return file;
        }
        file = wow64;
        if (Lib_Systeme::File_Exist(file)) readVersion(file);
        return file;
    }
    if (PbLVersionOS >= 6 && PbLVersionOS <= 12) {
        if (Lib_Systeme::File_Exist(wow64)) {
            readVersion(wow64);
            return wow64;
        }
        const std::string file = systemDir + "amp3dj.ocx";
        readVersion(file);
        return file;
    }
    const std::string file = systemDir + "amp3dj.ocx";
    if (Lib_Systeme::File_Exist(file)) readVersion(file);
    return file;
}

void trace(int16_t noPipe, const std::string& text, int16_t column3 = -1) {
    Lib_Public::TraceLog(-1, noPipe, column3, text);
}

void reset(Amp3dj& amp, int16_t first, int16_t device) {
    amp.CloseAllPlayers();
    int16_t d0 = device, d1 = device, d2 = device, d3 = device;
    amp.ReleaseSystem(first, neighbours::Frm_Main().hWnd(), d0, d1, d2, d3);
}

void offerNpDrivers(int16_t noPipe, int16_t device) {
    markDriverInvalid(device);
    const std::string textValue = "Le périphérique choisi (" +
                                  neighbours::FrmSetup().ComboPeripheriqueOut_Text() +
                                  ") ne possède pas de driver valide";
    Lib_Public::TraceLog(-1, -1, -1, "Err: " + textValue);
    const std::string captionText = neighbours::Frm_Main().Caption();
    dlg::MsgBox(textValue + "\r\n\r\n" + "Veuillez utiliser les drivers NP de Digigram",
                dlg::vbCritical | dlg::vbOKOnly, captionText);
    const int reply =
        dlg::MsgBox("Voulez-vous changer le paramétrage pour utiliser les drivers NP de Digigram ?",
                    dlg::vbQuestion | dlg::vbYesNo, captionText, dlg::vbNo);
    if (reply != dlg::vbYes) return;
    Lib_Systeme::EcritureIni(Lib_Public::NomFichierSettings("", ".Ini"), "General_Out",
                             "Pipe_" + Lib_Public::N2S(noPipe, 2, 0, "0") + "_Nature", "2");
    // The page shows what the file now holds, so that no later save writes the old nature back.
    auto& natures = FrmSetupSon::get().ComboNatureTrancheOut;
    if (size_t(noPipe) < natures.size()) natures[size_t(noPipe)]->SetListIndex(FrmSetupSon::NatureMaker);
    dlg::MsgBox(std::string("Le paramétrage a été changé") + "\r\n\r\n" + "Veuillez relancer le programme",
                dlg::vbInformation | dlg::vbOKOnly, captionText);
}

// Levels, buffer and fade once the system runs.
void setOutput(Amp3dj& amp, int16_t noPipe) {
    FrmSetupSon& son = FrmSetupSon::get();
    son.SliderDigitalLevelOut[0]->SetValue(0);
    son.SliderAnalogLevelOut[0]->SetValue(0);
    DirectXPipeSetLevelOut(noPipe);
    const std::string buffer = neighbours::FrmSetup().TexteTailleBuffer();
    amp.SetBufferLength(VBA::Val(buffer));
    trace(noPipe, "Buffer Length set to " + buffer + " ms");
    amp.SetFadeOutDuration(0);
}

void startUp(Amp3dj& amp, PipeOut& pipe, int16_t noPipe) {
    FrmSetupSon& son = FrmSetupSon::get();
    platform::forms::ComboBox& listBox = *son.ComboPeripheriqueOut[0];
    const int16_t device = pipe.selectedDevice;
    const int32_t hWnd = neighbours::Frm_Main().hWnd();
    int16_t result = 0;
    for (int attempt = 1;; ++attempt) {
        trace(noPipe, "Call InitDJSystem: Device: " + std::to_string(device));
        result = amp.InitDJSystem(kPlayers, hWnd, device, device, device, device);
        if (result > 0 || noPipe != 0 || attempt == 2) break;
        reset(amp, 4, device);
        trace(noPipe, "Err: Init Sound Card |New try in few seconds: Selected Device: " +
                          std::to_string(device) + " |" + amp.GetOutputDeviceDesc(device));
        Lib_Systeme::WaitOnDuration(kRetryWaitMs);
        // A shut-down that came during the wait has closed the outputs: no new start.
        if (Abandon) return;
        trace(noPipe, "Err: Init Sound Card |New try Now");
    }

    if (result <= 0) {
        pipe.initialised = false;
        const int32_t code = amp.LastError();
        if (noPipe == 0)
            Lib_Public::TraceLog(-1, noPipe, -1,
                                 "Err: Init Sound Card: Selected Device: " + std::to_string(device) + " |" +
                                     amp.GetOutputDeviceDesc(device),
                                 true);
        if (code != 0)
            AfficherErreurDJStudio(code, noPipe, result, "InitDJSystem", kModule + ":" + "InitDirectXOut",
                                   false);
        if (code == platform::audio::kNoValidDriver) markDriverInvalid(device);
        return;
    }

    trace(noPipe, "InitDJSystem: " + std::to_string(result) + " Selected Device: " + std::to_string(device));
    trace(noPipe, "Device: " + amp.GetOutputDeviceDesc(device));
    pipe.initialised = true;
    listBox.Tag = "O";
    for (int16_t player = 0; player < kPlayers; ++player) {
        const int32_t code = amp.SetPlayerOutputDevice(player, device, api());
        if (code >= 0) {
            trace(noPipe, "SetPlayerOutputDevice: " + std::to_string(player), player);
        } else if (code == platform::audio::kNoValidDriver) {
            offerNpDrivers(noPipe, device);
            break;
        } else {
            AfficherErreurDJStudio(code, noPipe, player, "SetPlayerOutputDevice",
                                   kModule + ":" + "InitDirectXOut", true);
        }
    }
    setOutput(amp, noPipe);
}

}  // namespace

void InitDirectXOut(int16_t noPipe, const std::string& sectionPrefix) {
    engine::Trap(kModule + ":" + "InitDirectXOut", [&] {
        const std::string fichier = findControl();
        Lib_Public::TraceLog(-1, -1, -1,
                             "File: " + fichier + " |ControlVersion: " + singleText(ControlVersionAmp3dj));
        if (noPipe < 0) return;

        Amp3dj& amp = controlItem(noPipe);
        PipeOut& pipe = pipeOut(noPipe);
        platform::forms::ComboBox& listBox = *FrmSetupSon::get().ComboPeripheriqueOut[0];
        listBox.Clear();
        pipe.deviceCount = amp.GetOutputDevicesCount();
        for (int16_t i = 0; i < pipe.deviceCount; ++i) {
            listBox.AddItem(amp.GetOutputDeviceDesc(i));
            listBox.setItemData(i, int(i));
        }
        if (listBox.ListCount() == 0) {
            dlg::MsgBox("Aucune carte son trouvée |DirectX OUT",
                        dlg::vbCritical | dlg::vbOKOnly | kMsgBoxSetForeground,
                        neighbours::Frm_Main().Caption());
            return;
        }
        PbLModeSortiePipe[noPipe] = 1;

        int16_t device = VBA::ValInt(Lib_Systeme::LectureIni(Lib_Public::NomFichierSettings("", ".Ini"),
                                                             sectionPrefix + "00", "Device", "0"));
        if (device < 0) device = 0;
        if (device > listBox.ListCount() - 1) device = int16_t(listBox.ListCount() - 1);
        pipe.selectedDevice = device;
        listBox.SetListIndex(device);

        if (driverInvalid(device)) {
            Lib_Public::TraceLogEncadre(-1, noPipe, -1, "Device " + std::to_string(device) + " unavailable",
                                        "=", false);
            return;
        }
        if (pipe.initialised) {
            DirectXOutStopSound(noPipe, 0, 0, kModule + ":" + "InitDirectXOut");
            reset(amp, 1, device);
            pipe.initialised = false;
        }

        Lib_Public::TraceLogEncadre(-1, noPipe, -1, "Init DirectX: Out", "=", false);
        trace(noPipe, "ControlVersion: " + amp.GetControlVersion());
        trace(noPipe, "EngineVersion: " + amp.GetEngineVersion());
        trace(noPipe, "Nb Devices: " + std::to_string(pipe.deviceCount) +
                          " Selected Device: " + std::to_string(device));
        for (int i = 0; i < listBox.ListCount(); ++i)
            trace(noPipe, "Device #" + Lib_Public::N2S(i, 2, 0, "0") + ": " + listBox.List(i));

        startUp(amp, pipe, noPipe);
        trace(noPipe, std::string(31, '='));
    });
}

bool DirectXOutStopSound(int16_t noPipe, int16_t noStream, int32_t fadeOutDuration,
                         const std::string& callerSub) {
    bool stopped = false;
    engine::Trap(kModule + ":" + "DirectXOutStopSound", [&] {
        Amp3dj& amp = controlItem(noPipe);
        if (fadeOutDuration > 0) {
            amp.SetPlayerFadeOutDuration(noStream, fadeOutDuration);
            Lib_Public::TraceLog(-1, noPipe, noStream,
                                 "FadeOutDuration: " + std::to_string(fadeOutDuration) + " ms");
        }
        const int32_t code = amp.StopSound(noStream);
        if (code != 0 && code != platform::audio::kUnknownError) {
            AfficherErreurDJStudio(code, noPipe, noStream, "StopSound", callerSub, true);
            return;
        }
        if (!Abandon)
            Lib_Public::TraceLog(-1, noPipe, noStream,
                                 "Sound stopped |FadeOutDuration: " + std::to_string(fadeOutDuration) +
                                     " ms |Sub: " + callerSub);
        stopped = DirectXOutCloseSound(noPipe, noStream, kModule + ":" + "DirectXOutStopSound");
    });
    return stopped;
}

bool DirectXOutCloseSound(int16_t, int16_t, const std::string&) { return true; }

void DirectXOutSoundDone(int16_t noPipe, int16_t noStream) {
    engine::Trap(kModule + ":" + "DirectXOutSoundDone", [&] {
        Frm_MainBis::get().CheckStreamStatus(noPipe, noStream, 16, kModule + ":" + "DirectXOutSoundDone");
    });
}

void DirectXPipeSetLevelOut(int16_t noPipe) {
    engine::Trap(kModule + ":" + "DirectXPipeSetLevelOut", [&] {
        Amp3dj& amp = controlItem(noPipe);
        const float levelValue = 0.0f;
        for (int16_t player = 0; player < kPlayers; ++player) {
            const int32_t code = amp.SetPlayerVolumeEx(player, levelValue, 1, api());
            if (code == 0) {
                if (player == 0) trace(noPipe, "Analog  Level set to " + singleText(levelValue));
            } else if (code != platform::audio::kPlayerBusy) {
                AfficherErreurDJStudio(code, noPipe, player, "SetPlayerVolumeEx",
                                       kModule + ":" + "DirectXPipeSetLevelOut", true);
            }
        }
    });
}

}  // namespace Lib_DirectX
