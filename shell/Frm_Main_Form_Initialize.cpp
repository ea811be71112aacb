// Before the window loads: start moment, next nightly relaunch, required control files, program folder.
#include <chrono>

#include "foundation/Conversions.h"
#include "foundation/ExternalPrograms.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/RunState.h"
#include "foundation/SystemQueries.h"
#include "platform/Dialogs.h"
#include "platform/WinPath.h"
#include "shell/Frm_Main.h"

namespace {

const char* const kCaller = "Frm_Main:Form_Initialize";
const char* const kInstaller =
    "https://download.vantremo.example/AL/Releases/AL_34/Setup_AL3_Composants_V34.exe";
const char* const kTitle = "Installation des composants Aerolune";

platform::LocalClockTime nextRestartAt(platform::LocalClockTime currentTime) {
    platform::LocalTimeFields f = platform::fieldsOf(currentTime);
    const bool tomorrow = f.hour >= 4;
    f.hour = 4;
    f.minute = 2;
    f.second = 0;
    f.millisecond = 0;
    return platform::timeOf(f) + std::chrono::hours(tomorrow ? 24 : 0);
}

}  // namespace

void Frm_Main::Form_Initialize() {
    using namespace platform::dialogs;
    PbDDateLancement = platform::clock::now();
    PbDProchaineRelance = nextRestartAt(PbDDateLancement);
    // No drain may start between the window's show and the start-up replay.
    PbDCheckFRADx55 = PbDDateLancement;

    const std::string systemDir = Lib_Public::CheckRep(Lib_Systeme::GetWinSysDir());
    std::string message;
    if (!Lib_Systeme::File_Exist(systemDir + "SftMask_IX86_U_70.ocx", kCaller, false))
        message =
            "Cette mise-à-jour nécessite l'installation de la version 3.47.030 des composants "
            "Aerolune\r\n\r\n";
    else if (!Lib_Systeme::File_Exist(systemDir + "clinetsuitex7.ocx", kCaller, false))
        message =
            "Cette mise-à-jour nécessite l'installation de la version 3.49.000 des composants "
            "Aerolune\r\n\r\n";
    if (!message.empty()) {
        PbBComposantsManquants = true;
        message +=
            "Veuillez faire d'abord cette installation et relancer ensuite le programme\r\n\r\n"
            "Fichier pour faire cette installation:\r\n\r\n      " +
            std::string(kInstaller) + "\r\n\r\n";
        MsgBox(message, vbCritical, kTitle);
        if (MsgBox("Voulez-vous télécharger le fichier et faire l'installation ?", vbYesNo, kTitle) == vbYes)
            Lib_Systeme::ExecuterProgrammeExterne("Open", kInstaller, "", "", 1);
        return;
    }
    PbSDossierApplication = Lib_Public::CheckRep(platform::winpath::programFolder());
}
