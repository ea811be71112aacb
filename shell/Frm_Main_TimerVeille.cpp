// Standby asked on the command line: it happens at the first tick after the window shows, once.
#include "engine/ErrorTrap.h"
#include "foundation/RunState.h"
#include "shell/Frm_Main.h"
#include "shell/Lib_SysTray.h"

void Frm_Main::TimerVeille_Timer() {
    engine::Trap("Frm_Main:TimerVeille_Timer", [this] {
        if (PbBQuitter) return;
        // Standby reached another way (the start-up's standby option) already answers the
        // request; acting on it once the operator shows the window again would hide it at once.
        if (Lib_SysTray::EnVeille) {
            MiseEnVeilleDemandee = false;
            TimerVeille.setEnabled(false);
            return;
        }
        if (!isVisible()) return;
        if (MiseEnVeilleDemandee) {
            MiseEnVeilleForcee();
            MiseEnVeilleDemandee = false;
        }
        TimerVeille.setEnabled(false);
    });
}
