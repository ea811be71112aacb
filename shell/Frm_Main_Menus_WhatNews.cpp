// The "?" menu's entries: the revision page, the update check, the installed components.
#include <string>

#include "engine/ErrorTrap.h"
#include "engine/Frm_MainBis.h"
#include "engine/TaskDialog.h"
#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/ExternalPrograms.h"
#include "foundation/Registry.h"
#include "platform/Clock.h"
#include "shell/Frm_Main.h"

namespace {

const std::string kDownloadHost = "https://download.vantremo.example";
const std::string kComponentsKey = "Software\\Vantremo\\Aerolune\\Composants_";

void openInBrowser(const std::string& address) {
    Lib_Systeme::ExecuterProgrammeExterne("Open", address, "", "", 1);
}

std::string readSetting(const std::string& keyName, const std::string& nameText) {
    std::string valueText;
    Lib_Systeme::Reg_GetValue(Lib_Systeme::HKEY_LOCAL_MACHINE, keyName, nameText, valueText);
    return valueText;
}

}  // namespace

int Frm_Main::componentsCurrentYear() { return platform::fieldsOf(platform::clock::now()).year; }

std::string Frm_Main::installedComponentsText() {
    std::string textValue;
    const std::string fullKey = kComponentsKey + "Full";
    if (const std::string date = readSetting(fullKey, "InstallDate"); !VBA::Trim(date).empty())
        textValue =
            "Full: Version: " + readSetting(fullKey, "InstallVersion") + " installée le " + date + "\r\n\r\n";
    for (int yearNumber = 2020; yearNumber <= componentsCurrentYear(); ++yearNumber) {
        const std::string keyName = kComponentsKey + Lib_Public::N2S(yearNumber, 4, 0, "0");
        if (const std::string date = readSetting(keyName, "InstallDate"); !VBA::Trim(date).empty())
            textValue += Lib_Public::N2S(yearNumber, 4, 0, "0") +
                         ": Version: " + readSetting(keyName, "InstallVersion") + " installée le " + date +
                         "\r\n";
    }
    return textValue.empty() ? "Aucune installation trouvée." : textValue;
}

void Frm_Main::installedComponentsList() {
    const std::string textValue = installedComponentsText();
    const int latestVersion = componentsCurrentYear();
    engine::TaskDialogControl& boite = Frm_MainBis::get().TaskDialog;
    boite.Reset();
    boite.SetProperty(20, 0);
    boite.SetProperty(24, 1);
    boite.WindowTitle = Caption();
    boite.MainInstruction = "Liste des composants installés";
    boite.Content = textValue;
    boite.SetProperty(14, 0);
    boite.SetProperty(15, 0);
    boite.CommonButtons = 0;
    boite.CommonButtons |= engine::tdbOk;
    boite.DefaultButton = engine::IDOK;
    for (int yearNumber = 2020; yearNumber <= latestVersion; ++yearNumber)
        boite.AddButton(Lib_Public::N2S(yearNumber, 4, 0, "0"), yearNumber);
    boite.SetProperty(16, 0);
    boite.SetProperty(30, 1);
    boite.Footer = "Vous pouvez télécharger ci-dessus les composants de chaque année pour les installer.";
    boite.SetProperty(6, 400);
    boite.SetProperty(25, 3);
    boite.SetProperty(12, 0);
    boite.ShowDialog();

    const int32_t choice = PbLReponseTaskDialog;
    if (choice == engine::IDOK || choice < 2020 || choice > 2100) return;
    openInBrowser(kDownloadHost + "/AL/Releases/AL_34/Setup_AL3_Composants_" +
                  Lib_Public::N2S(choice, 4, 0, "0") + ".exe");
}

void Frm_Main::MnuWhatNews_Click(int index) {
    engine::Trap("Frm_Main:MnuWhatNews_Click", [this, index] {
        switch (index) {
            case 0:
                openInBrowser(kDownloadHost +
                              "/AL/Releases/AL_34/Histo_Revisions/AL3_Relaytone_Revisions.htm");
                break;
            case 1:
                Frm_MainBis::get().Web_VerificationDerniereVersion();
                break;
            case 2:
                installedComponentsList();
                break;
            default:
                break;
        }
    });
}
