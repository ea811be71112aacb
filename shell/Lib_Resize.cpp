// Lays out the main window's current tab, in twips from the tab control's size.
#include "shell/Lib_Resize.h"

#include <QTabWidget>

#include "engine/ErrorTrap.h"
#include "foundation/RunState.h"
#include "shell/Frm_Main.h"
#include "shell/Lib_Tableur.h"

namespace Lib_Resize {

void ResizeCurrentOngletMain() {
    Frm_Main* fenetre = TheFrm_Main();
    if (!PbBFrmSetupChargee || !fenetre) return;
    engine::Trap("Lib_Resize:ResizeCurrentOngletMain", [fenetre] {
        QTabWidget& onglets = *fenetre->SftTabsMain;
        if (onglets.currentIndex() < 0) onglets.setCurrentIndex(0);
        const double largeur = onglets.width() * platform::forms::kTwipsPerPixel;
        const double hauteur = onglets.height() * platform::forms::kTwipsPerPixel;

        const QString texte = onglets.tabText(onglets.currentIndex());
        if (texte == "RLT") {
            // The grid is the tab's page and takes the tab's size; its columns follow it.
            Lib_Tableur::InitGeneralTableurGlobal(false, true);
        } else if (texte == "Incidents") {
            auto& liste = *fenetre->ListeIncidents[0];
            auto& purger = *fenetre->CommandIncidentsPurge[0];
            liste.Move(liste.Left(), liste.Top(), AuMoinsZero(largeur - 195), AuMoinsZero(hauteur - 960 - 120));
            purger.Move(largeur - purger.Width() - 210, liste.Top() + liste.Height() + 80, purger.Width(),
                        purger.Height());
        }
    });
}

}  // namespace Lib_Resize
