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
void choisirOption(Options& options, int32_t index, const std::string& caller) {
    if (index < 0 || index >= int32_t(options.size())) {
        Lib_Public::ReportError(platform::vb::kControlArrayElementMissing,
                                "Control array element '" + std::to_string(index) + "' doesn't exist",
                                caller);
        return;
    }
    options[size_t(index)]->SetValue(true);
}

// A value outside the slider's range is reported and the slider keeps its own.
void poserPosition(settings::Slider& slider, int32_t value, const std::string& caller) {
    if (value < slider.minimum() || value > slider.maximum()) {
        Lib_Public::ReportError(platform::vb::kInvalidPropertyValue, "Invalid property value",
                                caller);
        return;
    }
    slider.SetValue(value);
}

template <class Options>
int premiereChoisie(const Options& options) {
    for (size_t i = 0; i < options.size(); ++i)
        if (options[i]->Value()) return int(i);
    return -1;
}

}  // namespace

void FrmSetup::InitSettingsConvert() {
    using settings::lireEntier;
    using settings::lireTexte;
    using settings::poserValeur;
    const std::string caller = kForm + ":" + "InitSettingsConvert";
    settings::SurErreur(caller, [&] {
        const std::string file = FichierSettingsBase();
        auto& son = FrmSetupSon::get();
        poserValeur(*son.CheckEffectActif[0], lireEntier(file, "Effet_Cut", "Active", "0"), caller);
        poserValeur(*son.CheckEffetCutDebut, lireEntier(file, "Effet_Cut", "Debut", "0"), caller);
        poserValeur(*son.CheckEffetCutFin, lireEntier(file, "Effet_Cut", "Fin", "0"), caller);
        son.TexteEffetCutSeuil[0]->SetText(lireTexte(file, "Effet_Cut", "SeuildB", "-50"));
        son.TexteEffetCutSeuil[1]->SetText(lireTexte(file, "Effet_Cut", "SeuilDuree", "100"));
        choisirOption(son.OptionEffetTrim, lireEntier(file, "Effet_Cut", "Silence", "0"), caller);
        poserValeur(*son.CheckEffectActif[1],
                    lireEntier(file, "Effet_Normalisation", "Active", "0"), caller);
        choisirOption(son.OptionEffetNormalise,
                      lireEntier(file, "Effet_Normalisation", "Nature", "0"), caller);
        for (size_t i = 0; i < son.SliderEffetNormalisation.size(); ++i) {
            auto& slider = *son.SliderEffetNormalisation[i];
            const char* key = i == 0 ? "ValeurDesiree" : "ValeurFixe";
            poserPosition(slider,
                          lireEntier(file, "Effet_Normalisation", key, std::to_string(slider.Value())),
                          caller);
        }
        son.TexteEffetNormalisationMax->SetText(
            lireTexte(file, "Effet_Normalisation", "ValeurMax", "8"));
    });
}

void FrmSetup::SaveSettingsConvert() {
    settings::Ecriture ecrire(FichierSettingsBase());
    settings::SurErreur(kForm + ":" + "SaveSettingsConvert", [&] {
        auto& son = FrmSetupSon::get();
        ecrire("Effet_Cut", "Active", son.CheckEffectActif[0]->Value());
        ecrire("Effet_Cut", "Debut", son.CheckEffetCutDebut->Value());
        ecrire("Effet_Cut", "Fin", son.CheckEffetCutFin->Value());
        ecrire("Effet_Cut", "SeuildB", son.TexteEffetCutSeuil[0]->Text());
        ecrire("Effet_Cut", "SeuilDuree", son.TexteEffetCutSeuil[1]->Text());
        if (const int silence = premiereChoisie(son.OptionEffetTrim); silence >= 0)
            ecrire("Effet_Cut", "Silence", silence);
        ecrire("Effet_Normalisation", "Active", son.CheckEffectActif[1]->Value());
        if (const int nature = premiereChoisie(son.OptionEffetNormalise); nature >= 0)
            ecrire("Effet_Normalisation", "Nature", nature);
        ecrire("Effet_Normalisation", "ValeurDesiree", son.SliderEffetNormalisation[0]->Value());
        ecrire("Effet_Normalisation", "ValeurFixe", son.SliderEffetNormalisation[1]->Value());
        ecrire("Effet_Normalisation", "ValeurMax", son.TexteEffetNormalisationMax->Text());
    });
    if (ecrire.reussie())
        OptionsConvertModifiees = false;
    else
        SignalerEchecEcriture(ecrire.file(), "SaveSettingsConvert");
}

void FrmSetup::InitRegisterConvert() {
    settings::SurErreur(kForm + ":" + "InitRegisterConvert", [] {
        bool nouveau = false;
        std::string chemin;
        if (!Lib_Convert::ConvertSonDetermineVersion(nouveau, chemin)) return;
        if (nouveau) {
            Lib_Systeme::VersionFichier(chemin);
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
