// Lays out the main window's current tab, in twips from the tab control's size.
#include "shell/Lib_Resize.h"

#include <QTabWidget>

#include "engine/ErrorTrap.h"
#include "foundation/RunState.h"
#include "shell/Frm_Main.h"
#include "shell/Lib_Tableur.h"

namespace Lib_Resize {

void ResizeCurrentOngletMain() {
    Frm_Main* win = TheFrm_Main();
    if (!PbBFrmSetupChargee || !win) return;
    engine::Trap("Lib_Resize:ResizeCurrentOngletMain", [win] {
        QTabWidget& tabWidgets = *win->SftTabsMain;
        if (tabWidgets.currentIndex() < 0) tabWidgets.setCurrentIndex(0);
        const double widthValue = tabWidgets.width() * platform::forms::kTwipsPerPixel;
        const double heightValue = tabWidgets.height() * platform::forms::kTwipsPerPixel;

        const QString textValue = tabWidgets.tabText(tabWidgets.currentIndex());
        if (textValue == "RLT") {
            // The grid is the tab's page and takes the tab's size; its columns follow it.
            Lib_Tableur::InitGeneralTableurGlobal(false, true);
        } else if (textValue == "Incidents") {
            auto& listBox = *win->ListeIncidents[0];
            auto& purger = *win->CommandIncidentsPurge[0];
            listBox.Move(listBox.Left(), listBox.Top(), atLeastZero(widthValue - 195),
                         atLeastZero(heightValue - 960 - 120));
            purger.Move(widthValue - purger.Width() - 210, listBox.Top() + listBox.Height() + 80,
                        purger.Width(), purger.Height());
        }
    });
}

}  // namespace Lib_Resize
