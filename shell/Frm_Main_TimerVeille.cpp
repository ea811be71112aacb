// Standby asked on the command line: once the window shows, it goes out of the way.
#include "shell/Frm_Main.h"

void Frm_Main::TimerVeille_Timer() {
    if (!MiseEnVeilleDemandee || !isVisible()) return;
    MiseEnVeilleDemandee = false;
    TimerVeille.setEnabled(false);
    // Without a tray (the tray comes with the standby module) the window is minimised instead.
    showMinimized();
}
