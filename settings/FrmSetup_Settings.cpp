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
constexpr int kDaysPerStep = 7;
constexpr int kDayChoiceCount = 104;

}  // namespace

std::string FrmSetup::settingsFile() { return Lib_Public::NomFichierSettings("", ".Ini"); }

void FrmSetup::InitSettings() {
    using settings::readInteger;
    using settings::setValue;
    const std::string caller = kForm + ":" + "InitSettings";
    settings::onError(caller, [&] {
        const std::string file = settingsFile();
        auto& son = FrmSetupSon::get();
        setValue(*son.CheckSoundCard, readInteger(file, "SoundCard", "Active", "1"), caller);
        if (son.CheckSoundCard->Value() == platform::forms::vbChecked) {
            // A stored index the list cannot take leaves its selection as it was.
            son.ComboNatureTrancheOut[0]->SetListIndex(
                readInteger(file, "General_Out", "Pipe_00_Nature", "0"));
            son.ComboPeripheriqueOut[0]->SetListIndex(readInteger(file, "DirectX_Player_00", "Device", "0"));
        }

        auto& misc = FrmSetupDivers::get();
        misc.ComboNbJourPoste->Clear();
        for (int i = 1; i <= kDayChoiceCount; ++i)
            misc.ComboNbJourPoste->AddItem(" " + Lib_Public::N2S(kDaysPerStep * i, 3, 0, "0") + " J");
        misc.TexteEmailsAdresses->SetText(settings::readText(file, "Email", "Adresse", ""));
        setValue(*misc.CheckSMTPS, readInteger(file, "Email", "SMTPS", "0"), caller);
        for (size_t i = 0; i < misc.CheckEmail.size(); ++i)
            setValue(*misc.CheckEmail[i], readInteger(file, "Emails", "Err_" + std::to_string(i), "0"),
                     caller);
        setValue(*misc.CheckMiseEnVeille, readInteger(file, "Windows", "RebootVeille", "0"), caller);
        setValue(*misc.CheckMemory, readInteger(file, "Windows", "Memory", "0"), caller);
        setValue(*misc.CheckLaunch, readInteger(file, "Windows", "Launch", "0"), caller);
        settings::setIndex(*misc.ComboNbJourPoste, readInteger(file, "Windows", "NbJoursReboot", "5"),
                           caller);
    });
    OptionsModifiees = false;
}

void FrmSetup::SaveSettings() {
    settings::Writer writeOut(settingsFile());
    settings::onError(kForm + ":" + "SaveSettings", [&] {
        auto& son = FrmSetupSon::get();
        auto& misc = FrmSetupDivers::get();
        if (son.CheckSoundCard->Value() == platform::forms::vbChecked) {
            writeOut("General_Out", "Pipe_00_Nature", son.ComboNatureTrancheOut[0]->ListIndex());
            if (son.chosenDevice()) writeOut("DirectX_Player_00", "Device", PbTPipesOut[0].selectedDevice);
        }
        writeOut("Email", "Adresse", misc.TexteEmailsAdresses->Text());
        writeOut("Email", "SMTPS", misc.CheckSMTPS->Value());
        for (size_t i = 0; i < misc.CheckEmail.size(); ++i)
            writeOut("Emails", "Err_" + std::to_string(i), misc.CheckEmail[i]->Value());
        writeOut("Windows", "RebootVeille", misc.CheckMiseEnVeille->Value());
        writeOut("Windows", "Memory", misc.CheckMemory->Value());
        writeOut("Windows", "Launch", misc.CheckLaunch->Value());
        writeOut("Windows", "NbJoursReboot", misc.ComboNbJourPoste->ListIndex());
        writeOut("SoundCard", "Active", son.CheckSoundCard->Value());
    });
    if (writeOut.succeeded())
        OptionsModifiees = false;
    else
        reportWriteFailure(writeOut.file(), "SaveSettings");
}
