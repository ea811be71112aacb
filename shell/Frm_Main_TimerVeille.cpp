// Standby asked on the command line: it happens at the first tick after the window shows, once.
#include "foundation/RunState.h"
#include "shell/Frm_Main.h"

void Frm_Main::TimerVeille_Timer() {
    if (PbBQuitter || !isVisible()) return;
    if (MiseEnVeilleDemandee) {
        MiseEnVeilleForcee();
        MiseEnVeilleDemandee = false;
    }
    TimerVeille.setEnabled(false);
}
