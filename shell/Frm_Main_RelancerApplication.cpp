// Restart: start the launcher from the program folder, then quit without a question.
#include "engine/Frm_MainBis.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/ExternalPrograms.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "platform/Dialogs.h"
#include "platform/forms/CheckBox.h"
#include "platform/process/Executable.h"
#include "shell/Frm_Main.h"

namespace {
const char* const kCaller = "Frm_Main:RelancerApplication";
}

void Frm_Main::RelancerApplication(bool modeTest, const std::string& callerSub) {
    using Lib_Public::TraceLog;
    using Lib_Public::TraceLogEncadre;
    const std::string launcherPath = PbSDossierApplication + "AL3_Relaytone_Launcher.exe";
    if (!modeTest && !Lib_Systeme::File_Exist(platform::process::Executable(launcherPath), kCaller, true)) {
        TraceLog(-1, -1, -1, "Err: Unable to launch again: Application not found: " + launcherPath, true);
        return;
    }
    if (PbBRelanceLancee) {
        TraceLogEncadre(-1, -1, -1, "Restart needed: But Already in Escape Mode |Sub: " + callerSub, "*",
                        false);
        return;
    }
    PbBRelanceLancee = true;
    for (auto& listBox : Frm_MainBis::get().ListeUDPIn) listBox.Clear();
    TraceLogEncadre(-1, -1, -1, "Restart needed: Application closed by code action |Sub: " + callerSub, "*",
                    false);

    if (!Lib_Systeme::File_Exist(platform::process::Executable(launcherPath), kCaller, true)) {
        if (!modeTest)
            TraceLog(-1, -1, -1, "Err: Application not found: " + launcherPath);
        else
            platform::dialogs::MsgBox("Application non trouvée:\r\n\r\n" + launcherPath,
                                      platform::dialogs::vbExclamation, Caption());
        return;
    }
    std::string parameters = modeTest ? " /Test" : "";
    if (neighbours::FrmSetup().CheckMiseEnVeille() == platform::forms::vbChecked)
        parameters += " /Veille=True";
    TraceLogEncadre(-1, -1, -1, "Restart needed: Launch: " + launcherPath + parameters, "=", false);
    // A launcher the system refuses to start would bring nothing back: the program stays, and
    // the guard stays set, as when the launcher is gone.
    if (Lib_Systeme::ExecuterProgrammeExterne("Open", platform::process::Executable(launcherPath),
                                              VBA::Trim(parameters), PbSDossierApplication, 1) <= 32) {
        TraceLog(-1, -1, -1, "Err: Unable to launch again: Launcher not started: " + launcherPath, true);
        return;
    }
    TraceLogEncadre(-1, -1, -1, "Restart needed: Close Application. Launch again Application", "*", false);
    Lib_Public::TraceLogForce(kCaller);
    PbBQuitter = true;
    PbBRelanceForcee = true;
    Unload(platform::forms::vbFormCode);
}
