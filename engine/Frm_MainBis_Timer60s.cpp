// The minute job: the UECP timing mark, the watchdog drain of the player's message file (when
// five minutes have passed since the last drain started) and the nightly relaunch.
#include <chrono>
#include <filesystem>
#include <stdexcept>

#include "engine/EngineState.h"
#include "engine/FRADx55Drain.h"
#include "engine/Frm_MainBis.h"
#include "engine/PeriodicJobs.h"
#include "foundation/Conversions.h"
#include "foundation/DailyLog.h"
#include "foundation/ErrorReporter.h"
#include "foundation/ExternalPrograms.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/StatusMails.h"
#include "platform/forms/CheckBox.h"
#include "platform/process/Executable.h"
#include "settings/SettingsFlags.h"

namespace {

const std::string kCaller = "Frm_MainBis:Timer60s_Timer";

std::string dateTime(platform::LocalClockTime moment) { return Lib_Email::generalDate(moment); }

// Whole seconds by calendar difference: the second boundaries crossed between the two moments.
int64_t secondsBetween(platform::LocalClockTime avant, platform::LocalClockTime after) {
    using namespace std::chrono;
    return duration_cast<seconds>(floor<seconds>(after) - floor<seconds>(avant)).count();
}

void showActivity(bool visible) { neighbours::Frm_Main().ShapeActivite_SetVisible(visible); }

// One step's failure is logged with the step as its line, and the tick goes on.
template <class Step>
void Trap(int lineText, Step&& stage) {
    const std::string sub = kCaller + ":" + std::to_string(lineText);
    try {
        stage();
    } catch (const std::filesystem::filesystem_error& e) {
        Lib_Public::TraceLog(
            -1, -1, -1, "Err: 52 (Nom ou n° de fichier incorrect): " + e.path1().string() + " |Sub: " + sub);
    } catch (const std::logic_error&) {
        Lib_Public::TraceLog(-1, -1, -1, "Err: 5: Argument ou appel de procédure incorrect |Sub: " + sub);
    } catch (const std::exception& e) {
        Lib_Public::ReportError(platform::vb::kInternalError, e.what(), kCaller, "AL3_Relaytone", lineText);
    }
}

// The miscellaneous page's boxes, read live; none is ticked before the page is loaded.
bool restartChecked() { return neighbours::FrmSetup().CheckLaunch() == platform::forms::vbChecked; }

// The alert category "Pas de RDS depuis plus de 10 Min.".
bool rdsAlertChecked() { return neighbours::FrmSetup().CheckEmail(2) == platform::forms::vbChecked; }

void markUecpTiming() {
    Lib_Public::TraceLog(PbINoBase, -1, -1, "Timer60s_Timer: Timing UECP: " + dateTime(PbDTimingUECP));
    const auto currentTime = platform::clock::now();
    if (secondsBetween(PbDTimingUECP, currentTime) > 600 && rdsAlertChecked())
        PbDTimingUECP = currentTime + std::chrono::seconds(120);
}

void watchFRADx55() {
    using Lib_Public::TraceLog;
    if (!PbBFRADx55Ouvert || PbBCheckFRADx55EnCours ||
        secondsBetween(PbDCheckFRADx55, platform::clock::now()) <= 300)
        return;
    TraceLog(PbINoBase, -1, -1, "Warning: FRADx55: Not checked since: " + dateTime(PbDCheckFRADx55));
    showActivity(true);
    TraceLog(PbINoBase, -1, -1, "Timer60s_Timer: Check FRADx55: Start");
    // A failed drain is reported and the block still closes: its end line, the indicator off.
    Trap(3, [] {
        bool wasFound = false;
        UDPDataArrival_10_Check_FRADx55(PbINoBase, 0, wasFound);
    });
    TraceLog(PbINoBase, -1, -1, "Timer60s_Timer: Check FRADx55: End");
    showActivity(false);
}

void nightlyRestart() {
    const auto currentTime = platform::clock::now();
    if (!restartChecked() || currentTime <= PbDProchaineRelance) return;
    PbDProchaineRelance = engine::nextRestart(PbDProchaineRelance, currentTime);
    const std::string launcherPath = PbSDossierApplication + "AL3_Relaytone_Launcher.exe";
    if (!Lib_Systeme::File_Exist(platform::process::Executable(launcherPath), kCaller, true)) {
        Lib_Public::TraceLog(-1, -1, -1, "Err: Application not found: " + launcherPath);
        return;
    }
    // A refused start is reported by the starter; quitting then would leave no program running.
    if (Lib_Systeme::ExecuterProgrammeExterne("Open", platform::process::Executable(launcherPath), "",
                                              PbSDossierApplication, 1) <= 32)
        return;
    Lib_Public::TraceLogEncadre(
        -1, -1, -1, "Close Application ? It's Time (" + dateTime(PbDProchaineRelance) + ")", "*", false);
    neighbours::Frm_Main().Quitter(true);
    if (PbBQuitter) engine::seams::endProcess();
}

}  // namespace

void Frm_MainBis::Timer60s_Timer() {
    using Lib_Public::TraceLog;
    TraceLog(PbINoBase, -1, -1, "Timer60s_Timer: Start");
    if (PbBFeuilleChargee) {
        Trap(2, [] { markUecpTiming(); });
        Trap(3, [] { watchFRADx55(); });
        Trap(4, [] { nightlyRestart(); });
    }
    TraceLog(PbINoBase, -1, -1, "Timer60s_Timer: End");
}
