// The sound page's handlers: nature and device drive the audio output; every change marks.
#include "settings/FrmSetupSon.h"

#include "foundation/DailyLog.h"
#include "foundation/NeighbourServices.h"
#include "foundation/WindowHelpers.h"
#include "platform/ScopedFlag.h"
#include "settings/ErrorTrap.h"
#include "settings/FormPosition.h"
#include "settings/SettingsFlags.h"
#include "settings/SettingsServices.h"

namespace {

const std::string kPage = "FrmSetupSon";

void markGeneral() { markModified(OptionsModifiees); }
void markConvert() { markModified(OptionsConvertModifiees); }

}  // namespace

void FrmSetupSon::connectHandlers() {
    CheckSoundCard->Click = markGeneral;
    TexteTailleBuffer->Change = markGeneral;
    ComboNatureTrancheOut[0]->Click = [this] { ComboNatureTrancheOut_Click(0); };
    ComboPeripheriqueOut[0]->Click = [this] { ComboPeripheriqueOut_Click(0); };
    SliderAnalogLevelOut[0]->Scroll = [this] { SliderAnalogLevelOut_Scroll(0); };
    SliderDigitalLevelOut[0]->Scroll = [this] { SliderDigitalLevelOut_Scroll(0); };
    CommandFermer->Click = [this] { CommandFermer_Click(); };

    for (auto* box : CheckEffectActif) box->Click = markConvert;
    // Saved with the effect group, so its change marks that group like its neighbour's.
    CheckEffetCutDebut->Click = markConvert;
    CheckEffetCutFin->Click = markConvert;
    for (auto* option : OptionEffetTrim) option->Click = markConvert;
    for (auto* option : OptionEffetNormalise) option->Click = markConvert;
    for (auto* box : TexteEffetCutSeuil) box->Change = markConvert;
    TexteEffetNormalisationMax->Change = markConvert;
    for (auto* slider : SliderEffetNormalisation) slider->Change = markConvert;
}

void FrmSetupSon::Form_Load() {
    settings::registerServices();
    settings::onError(kPage + ":" + "Form_Load", [this] {
        neighbours::Frm_Main().LookFenetre(*this);
        settings::restorePosition(*this);
        Lib_Public::AfficherAuDessus(*this, -1);
    });
}

void FrmSetupSon::Form_QueryUnload(int& cancel, int unloadMode) {
    if (unloadMode != platform::forms::vbFormControlMenu) return;
    Hide();
    cancel = 1;
}

void FrmSetupSon::Form_Unload(int& cancel) {
    if (cancel != 0) return;
    settings::onError(kPage + ":" + "Form_Unload", [this] { settings::savePosition(*this); });
}

void FrmSetupSon::CommandFermer_Click() { Hide(); }

void FrmSetupSon::ComboNatureTrancheOut_Click(int index) {
    if (CheckSoundCard->Value() != platform::forms::vbChecked) return;
    const std::string caller = kPage + ":" + "ComboNatureTrancheOut_Click";
    // A nature that starts nothing, set while a start runs, is the driver offer's own.
    if (natureStarting_ && ComboNatureTrancheOut[0]->ListIndex() == NatureMaker) return;
    if (natureStarting_) {
        Lib_Public::TraceLog(-1, 0, -1,
                             "Warning: Pipe Nature: Output start already under way, choice "
                             "ignored |Sub: " +
                                 caller);
        return;
    }
    settings::onError(caller, [&] {
        if (index != 0) return;
        const char* text = nullptr;
        switch (ComboNatureTrancheOut[0]->ListIndex()) {
            case NatureNone:
                text = "Pipe Nature: Set to Null";
                break;
            case NatureDirectX:
                text = "Pipe Nature: Set to DirectX";
                break;
            default:
                return;
        }
        Lib_Public::TraceLogEncadre(-1, 0, -1, text, "=", false);
        const platform::ScopedFlag starting(natureStarting_);
        // The start selects the stored device again.
        chosenDevice_ = false;
        neighbours::Frm_MainBis().InitDirectXOut(0, "DirectX_Player_");
    });
    markGeneral();
}

void FrmSetupSon::ComboPeripheriqueOut_Click(int index) {
    settings::onError(kPage + ":" + "ComboPeripheriqueOut_Click", [&] {
        if (index != 0) return;
        const int nature = ComboNatureTrancheOut[0]->ListIndex();
        // "________" starts the same DirectX output, so its device is the one to keep too.
        if (nature == NatureNone || nature == NatureDirectX) {
            PbTPipesOut[0].selectedDevice = int16_t(ComboPeripheriqueOut[0]->ListIndex());
            // The load and the output start select what the file holds, held to the list.
            if (!FrmSetupEnChargement && !natureStarting_) chosenDevice_ = true;
        }
    });
    markGeneral();
}

void FrmSetupSon::SliderAnalogLevelOut_Scroll(int index) {
    settings::onError(kPage + ":" + "SliderAnalogLevelOut_Scroll", [&] {
        auto& engine = neighbours::Frm_MainBis();
        if (index == 0 && engine.ModeSortiePipe(0) == 1) engine.DirectXPipeSetLevelOut(0);
    });
    markGeneral();
}

void FrmSetupSon::SliderDigitalLevelOut_Scroll(int) { markGeneral(); }
