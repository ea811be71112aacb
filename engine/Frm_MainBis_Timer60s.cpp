// The minute job's watchdog on the player's message file: drained when five minutes have
// passed since the last drain started, with the main window's activity indicator shown.
#include <chrono>

#include <QFrame>

#include "engine/Frm_MainBis.h"
#include "foundation/Conversions.h"
#include "foundation/DailyLog.h"
#include "foundation/RunState.h"
#include "shell/FRADx55Drain.h"
#include "shell/Frm_Main.h"
#include "shell/ShellState.h"

namespace {

// Whole seconds by calendar difference: the second boundaries crossed between the two moments.
int64_t secondesEntre(platform::LocalClockTime avant, platform::LocalClockTime apres) {
    using namespace std::chrono;
    return duration_cast<seconds>(floor<seconds>(apres) - floor<seconds>(avant)).count();
}

void montrerActivite(bool visible) {
    if (Frm_Main* fenetre = TheFrm_Main()) fenetre->ShapeActivite->setVisible(visible);
}

}  // namespace

void Frm_MainBis::Timer60s_Timer() {
    using Lib_Public::TraceLog;
    TraceLog(PbINoBase, -1, -1, "Timer60s_Timer: Start");
    if (PbBFeuilleChargee && PbBFRADx55Ouvert && !PbBCheckFRADx55EnCours &&
        secondesEntre(PbDCheckFRADx55, platform::clock::now()) > 300) {
        TraceLog(PbINoBase, -1, -1,
                 "Warning: FRADx55: Not checked since: " +
                     Lib_Public::Date2StringEx(PbDCheckFRADx55, "dd/MM/yyyy hh:mm:ss"));
        montrerActivite(true);
        TraceLog(PbINoBase, -1, -1, "Timer60s_Timer: Check FRADx55: Start");
        bool trouve = false;
        UDPDataArrival_10_Check_FRADx55(PbINoBase, 0, trouve);
        TraceLog(PbINoBase, -1, -1, "Timer60s_Timer: Check FRADx55: End");
        montrerActivite(false);
    }
    // The UECP mark and the nightly relaunch come with the periodic jobs.
    TraceLog(PbINoBase, -1, -1, "Timer60s_Timer: End");
}
