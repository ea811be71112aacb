// The sound-effect options of the base settings file, and the converter lookup.
#include "settings/FrmSetup.h"

#include "foundation/ErrorReporter.h"
#include "foundation/FileVersions.h"
#include "platform/VbErrors.h"
#include "settings/ErrorTrap.h"
#include "settings/FrmSetupSon.h"
#include "settings/IniValues.h"
#include "settings/SettingsFlags.h"

namespace {

const std::string kForm = "FrmSetup";

// A stored index without its option is reported; the selection stays as it was.
template <class Options>
void chooseOption(Options& options, int32_t index, const std::string& caller) {
    if (index < 0 || index >= int32_t(options.size())) {
        Lib_Public::ReportError(platform::vb::kControlArrayElementMissing,
                                "Control array element '" + std::to_string(index) + "' doesn't exist",
                                caller);
        return;
    }
    options[size_t(index)]->SetValue(true);
}

// A value outside the slider's range is reported and the slider keeps its own.
void setPosition(settings::Slider& slider, int32_t value, const std::string& caller) {
    if (value < slider.minimum() || value > slider.maximum()) {
        Lib_Public::ReportError(platform::vb::kInvalidPropertyValue, "Invalid property value", caller);
        return;
    }
    slider.SetValue(value);
}

template <class Options>
int firstChosen(const Options& options) {
    for (size_t i = 0; i < options.size(); ++i)
        if (options[i]->Value()) return int(i);
    return -1;
}

}  // namespace

void FrmSetup::InitSettingsConvert() {
    using settings::readInteger;
    using settings::readText;
    using settings::setValue;
    const std::string caller = kForm + ":" + "InitSettingsConvert";
    settings::onError(caller, [&] {
        const std::string file = baseSettingsFile();
        auto& son = FrmSetupSon::get();
        setValue(*son.CheckEffectActif[0], readInteger(file, "Effet_Cut", "Active", "0"), caller);
        setValue(*son.CheckEffetCutDebut, readInteger(file, "Effet_Cut", "Debut", "0"), caller);
        setValue(*son.CheckEffetCutFin, readInteger(file, "Effet_Cut", "Fin", "0"), caller);
        son.TexteEffetCutSeuil[0]->SetText(readText(file, "Effet_Cut", "SeuildB", "-50"));
        son.TexteEffetCutSeuil[1]->SetText(readText(file, "Effet_Cut", "SeuilDuree", "100"));
        chooseOption(son.OptionEffetTrim, readInteger(file, "Effet_Cut", "Silence", "0"), caller);
        setValue(*son.CheckEffectActif[1], readInteger(file, "Effet_Normalisation", "Active", "0"), caller);
        chooseOption(son.OptionEffetNormalise, readInteger(file, "Effet_Normalisation", "Nature", "0"),
                     caller);
        for (size_t i = 0; i < son.SliderEffetNormalisation.size(); ++i) {
            auto& slider = *son.SliderEffetNormalisation[i];
            const char* key = i == 0 ? "ValeurDesiree" : "ValeurFixe";
            setPosition(slider, readInteger(file, "Effet_Normalisation", key, std::to_string(slider.Value())),
                        caller);
        }
        son.TexteEffetNormalisationMax->SetText(readText(file, "Effet_Normalisation", "ValeurMax", "8"));
    });
}

void FrmSetup::SaveSettingsConvert() {
    settings::Writer writeOut(baseSettingsFile());
    settings::onError(kForm + ":" + "SaveSettingsConvert", [&] {
        auto& son = FrmSetupSon::get();
        writeOut("Effet_Cut", "Active", son.CheckEffectActif[0]->Value());
        writeOut("Effet_Cut", "Debut", son.CheckEffetCutDebut->Value());
        writeOut("Effet_Cut", "Fin", son.CheckEffetCutFin->Value());
        writeOut("Effet_Cut", "SeuildB", son.TexteEffetCutSeuil[0]->Text());
        writeOut("Effet_Cut", "SeuilDuree", son.TexteEffetCutSeuil[1]->Text());
        if (const int silence = firstChosen(son.OptionEffetTrim); silence >= 0)
            writeOut("Effet_Cut", "Silence", silence);
        writeOut("Effet_Normalisation", "Active", son.CheckEffectActif[1]->Value());
        if (const int nature = firstChosen(son.OptionEffetNormalise); nature >= 0)
            writeOut("Effet_Normalisation", "Nature", nature);
        writeOut("Effet_Normalisation", "ValeurDesiree", son.SliderEffetNormalisation[0]->Value());
        writeOut("Effet_Normalisation", "ValeurFixe", son.SliderEffetNormalisation[1]->Value());
        writeOut("Effet_Normalisation", "ValeurMax", son.TexteEffetNormalisationMax->Text());
    });
    if (writeOut.succeeded())
        OptionsConvertModifiees = false;
    else
        reportWriteFailure(writeOut.file(), "SaveSettingsConvert");
}

void FrmSetup::InitRegisterConvert() {
    settings::onError(kForm + ":" + "InitRegisterConvert", [] {
        bool fresh = false;
        std::string filePath;
        if (!Lib_Convert::ConvertSonDetermineVersion(fresh, filePath)) return;
        if (fresh) {
            Lib_Systeme::VersionFichier(filePath);
            return;
        }
        // The older converter cannot run these effects.
        auto& son = FrmSetupSon::get();
        son.MyFrameSon[13]->SetEnabled(false);
        son.MyFrameSon[14]->SetEnabled(false);
        for (auto* box : son.CheckEffectActif) {
            box->SetEnabled(false);
            box->SetValue(platform::forms::vbUnchecked);
        }
    });
}
