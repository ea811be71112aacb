// The incident alert: "Err: " caption, flashing, the Incidents tab shown; its purge and acknowledgement.
#include <QApplication>
#include <QTabWidget>

#include "engine/ErrorTrap.h"
#include "foundation/ErrorReporter.h"
#include "foundation/FileVersions.h"
#include "foundation/RunState.h"
#include "platform/Dialogs.h"
#include "shell/Frm_Main.h"
#include "shell/Lib_Resize.h"
#include "shell/Lib_SysTray.h"

namespace {
const char* const kIncidents = "Incidents";
}

std::string Frm_Main::normalCaption() const {
    return "Aerolune: Relaytone - " + Lib_Systeme::VersionApplication() + " - " + PbSNomRadio[0];
}

void Frm_Main::setIncidentsTabVisible(bool visible, bool selectFirst) {
    for (int i = 0; i < SftTabsMain->count(); ++i) {
        if (SftTabsMain->tabText(i) != kIncidents) continue;
        SftTabsMain->setTabVisible(i, visible);
        if (selectFirst) SftTabsMain->setCurrentIndex(0);
        return;
    }
}

void Frm_Main::CheckIncidents_Click(int index) {
    if (CheckIncidents[index]->Value() != platform::forms::vbChecked) return;
    SetCaption("Err: " + normalCaption());
    TimerFlash.setEnabled(true);
    if (PbBFeuilleChargee)
        setIncidentsTabVisible(true, false);
    else
        CheckIncidentsFeuilleNonChargee->SetValue(platform::forms::vbChecked);
    CheckIncidents[index]->SetValue(platform::forms::vbUnchecked);
    if (Lib_SysTray::EnVeille) Lib_SysTray::incidentIcon();
}

void Frm_Main::TimerFlash_Timer() {
    if (PbBQuitter) return;
    flashState_ = !flashState_;
    if (flashState_) QApplication::alert(this, 200);
}

void Frm_Main::CommandIncidentsPurge_Click(int index) {
    using namespace platform::dialogs;
    if (MsgBox("Voulez-vous purger la liste des incidents ?", vbYesNo + vbQuestion, Caption()) != vbYes)
        return;
    ListeIncidents[index]->Clear();
    TimerFlash.setEnabled(false);
    SetCaption(normalCaption());
    setIncidentsTabVisible(false, true);
}

void Frm_Main::SftTabsMain_Switched() {
    engine::Trap("Frm_Main:SftTabsMain_Switched", [this] {
        Lib_Resize::ResizeCurrentOngletMain();
        if (SftTabsMain->tabText(SftTabsMain->currentIndex()) != kIncidents) return;
        TimerFlash.setEnabled(false);
        SetCaption(normalCaption());
    });
}
