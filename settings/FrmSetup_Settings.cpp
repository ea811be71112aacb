// The program settings file: the sound page's output keys and the miscellaneous page's options.
#include "settings/FrmSetup.h"

#include "foundation/Conversions.h"
#include "foundation/NeighbourServices.h"
#include "foundation/SettingsFiles.h"
#include "settings/ErrorTrap.h"
#include "settings/FrmSetupDivers.h"
#include "settings/FrmSetupSon.h"
#include "settings/IniValues.h"
#include "settings/SettingsFlags.h"

namespace {

const std::string kForm = "FrmSetup";
constexpr int kJoursParPas = 7;
constexpr int kNbChoixJours = 104;

}  // namespace

std::string FrmSetup::FichierSettings() { return Lib_Public::NomFichierSettings("", ".Ini"); }

void FrmSetup::InitSettings() {
    using settings::lireEntier;
    using settings::poserValeur;
    const std::string caller = kForm + ":" + "InitSettings";
    settings::SurErreur(caller, [&] {
        const std::string file = FichierSettings();
        auto& son = FrmSetupSon::get();
        poserValeur(*son.CheckSoundCard, lireEntier(file, "SoundCard", "Active", "1"), caller);
        if (son.CheckSoundCard->Value() == platform::forms::vbChecked) {
            // A stored index the list cannot take leaves its selection as it was.
            son.ComboNatureTrancheOut[0]->SetListIndex(
                lireEntier(file, "General_Out", "Pipe_00_Nature", "0"));
            son.ComboPeripheriqueOut[0]->SetListIndex(
                lireEntier(file, "DirectX_Player_00", "Device", "0"));
        }

        auto& divers = FrmSetupDivers::get();
        divers.ComboNbJourPoste->Clear();
        for (int i = 1; i <= kNbChoixJours; ++i)
            divers.ComboNbJourPoste->AddItem(" " + Lib_Public::N2S(kJoursParPas * i, 3, 0, "0") +
                                             " J");
        divers.TexteEmailsAdresses->SetText(settings::lireTexte(file, "Email", "Adresse", ""));
        poserValeur(*divers.CheckSMTPS, lireEntier(file, "Email", "SMTPS", "0"), caller);
        for (size_t i = 0; i < divers.CheckEmail.size(); ++i)
            poserValeur(*divers.CheckEmail[i],
                        lireEntier(file, "Emails", "Err_" + std::to_string(i), "0"), caller);
        poserValeur(*divers.CheckMiseEnVeille, lireEntier(file, "Windows", "RebootVeille", "0"),
                    caller);
        poserValeur(*divers.CheckMemory, lireEntier(file, "Windows", "Memory", "0"), caller);
        poserValeur(*divers.CheckLaunch, lireEntier(file, "Windows", "Launch", "0"), caller);
        settings::poserIndex(*divers.ComboNbJourPoste,
                             lireEntier(file, "Windows", "NbJoursReboot", "5"), caller);
    });
    OptionsModifiees = false;
}

void FrmSetup::SaveSettings() {
    settings::Ecriture ecrire(FichierSettings());
    settings::SurErreur(kForm + ":" + "SaveSettings", [&] {
        auto& son = FrmSetupSon::get();
        auto& divers = FrmSetupDivers::get();
        if (son.CheckSoundCard->Value() == platform::forms::vbChecked) {
            ecrire("General_Out", "Pipe_00_Nature", son.ComboNatureTrancheOut[0]->ListIndex());
            if (son.PeripheriqueChoisi())
                ecrire("DirectX_Player_00", "Device", PbTPipesOut[0].NoDeviceSelectionne);
        }
        ecrire("Email", "Adresse", divers.TexteEmailsAdresses->Text());
        ecrire("Email", "SMTPS", divers.CheckSMTPS->Value());
        for (size_t i = 0; i < divers.CheckEmail.size(); ++i)
            ecrire("Emails", "Err_" + std::to_string(i), divers.CheckEmail[i]->Value());
        ecrire("Windows", "RebootVeille", divers.CheckMiseEnVeille->Value());
        ecrire("Windows", "Memory", divers.CheckMemory->Value());
        ecrire("Windows", "Launch", divers.CheckLaunch->Value());
        ecrire("Windows", "NbJoursReboot", divers.ComboNbJourPoste->ListIndex());
        ecrire("SoundCard", "Active", son.CheckSoundCard->Value());
    });
    if (ecrire.reussie())
        OptionsModifiees = false;
    else
        SignalerEchecEcriture(ecrire.file(), "SaveSettings");
}
