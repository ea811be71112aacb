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

std::string dateHeure(platform::LocalClockTime moment) { return Lib_Email::DateGenerale(moment); }

// Whole seconds by calendar difference: the second boundaries crossed between the two moments.
int64_t secondesEntre(platform::LocalClockTime avant, platform::LocalClockTime apres) {
    using namespace std::chrono;
    return duration_cast<seconds>(floor<seconds>(apres) - floor<seconds>(avant)).count();
}

void montrerActivite(bool visible) { neighbours::Frm_Main().ShapeActivite_SetVisible(visible); }

// One step's failure is logged with the step as its line, and the tick goes on.
template <class Etape>
void Trap(int ligne, Etape&& etape) {
    const std::string sub = kCaller + ":" + std::to_string(ligne);
    try {
        etape();
    } catch (const std::filesystem::filesystem_error& e) {
        Lib_Public::TraceLog(-1, -1, -1,
                             "Err: 52 (Nom ou n° de fichier incorrect): " + e.path1().string() +
                                 " |Sub: " + sub);
    } catch (const std::logic_error&) {
        Lib_Public::TraceLog(-1, -1, -1, "Err: 5: Argument ou appel de procédure incorrect |Sub: " + sub);
    } catch (const std::exception& e) {
        Lib_Public::ReportError(platform::vb::kInternalError, e.what(), kCaller, "AL3_Relaytone",
                                ligne);
    }
}

// The miscellaneous page's boxes, read live; none is ticked before the page is loaded.
bool relanceCochee() { return neighbours::FrmSetup().CheckLaunch() == platform::forms::vbChecked; }

// The alert category "Pas de RDS depuis plus de 10 Min.".
bool alerteRdsCochee() { return neighbours::FrmSetup().CheckEmail(2) == platform::forms::vbChecked; }

void MarqueTimingUECP() {
    Lib_Public::TraceLog(PbINoBase, -1, -1, "Timer60s_Timer: Timing UECP: " + dateHeure(PbDTimingUECP));
    const auto maintenant = platform::clock::now();
    if (secondesEntre(PbDTimingUECP, maintenant) > 600 && alerteRdsCochee())
        PbDTimingUECP = maintenant + std::chrono::seconds(120);
}

void SurveillanceFRADx55() {
    using Lib_Public::TraceLog;
    if (!PbBFRADx55Ouvert || PbBCheckFRADx55EnCours ||
        secondesEntre(PbDCheckFRADx55, platform::clock::now()) <= 300)
        return;
    TraceLog(PbINoBase, -1, -1, "Warning: FRADx55: Not checked since: " + dateHeure(PbDCheckFRADx55));
    montrerActivite(true);
    TraceLog(PbINoBase, -1, -1, "Timer60s_Timer: Check FRADx55: Start");
    // A failed drain is reported and the block still closes: its end line, the indicator off.
    Trap(3, [] {
        bool trouve = false;
        UDPDataArrival_10_Check_FRADx55(PbINoBase, 0, trouve);
    });
    TraceLog(PbINoBase, -1, -1, "Timer60s_Timer: Check FRADx55: End");
    montrerActivite(false);
}

void RelanceNocturne() {
    const auto maintenant = platform::clock::now();
    if (!relanceCochee() || maintenant <= PbDProchaineRelance) return;
    PbDProchaineRelance = engine::RelanceSuivante(PbDProchaineRelance, maintenant);
    const std::string lanceur = PbSDossierApplication + "AL3_Relaytone_Launcher.exe";
    if (!Lib_Systeme::File_Exist(platform::process::Executable(lanceur), kCaller, true)) {
        Lib_Public::TraceLog(-1, -1, -1, "Err: Application not found: " + lanceur);
        return;
    }
    // A refused start is reported by the starter; quitting then would leave no program running.
    if (Lib_Systeme::ExecuterProgrammeExterne("Open", platform::process::Executable(lanceur), "", PbSDossierApplication, 1) <= 32)
        return;
    Lib_Public::TraceLogEncadre(-1, -1, -1,
                                "Close Application ? It's Time (" + dateHeure(PbDProchaineRelance) + ")",
                                "*", false);
    neighbours::Frm_Main().Quitter(true);
    if (PbBQuitter) engine::seams::endProcess();
}

}  // namespace

void Frm_MainBis::Timer60s_Timer() {
    using Lib_Public::TraceLog;
    TraceLog(PbINoBase, -1, -1, "Timer60s_Timer: Start");
    if (PbBFeuilleChargee) {
        Trap(2, [] { MarqueTimingUECP(); });
        Trap(3, [] { SurveillanceFRADx55(); });
        Trap(4, [] { RelanceNocturne(); });
    }
    TraceLog(PbINoBase, -1, -1, "Timer60s_Timer: End");
}
