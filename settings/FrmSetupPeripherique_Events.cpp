// The devices page's handlers: its save and close buttons, and the marks of the row edits.
#include "settings/FrmSetupPeripherique.h"

#include "foundation/NeighbourServices.h"
#include "foundation/WindowHelpers.h"
#include "settings/ErrorTrap.h"
#include "settings/FormPosition.h"
#include "settings/FrmSetup.h"
#include "settings/SettingsFlags.h"
#include "settings/SettingsServices.h"

namespace {

const std::string kPage = "FrmSetupPeripherique";

void mark() { markModified(OptionsPeripheriquesModifiees); }

}  // namespace

void FrmSetupPeripherique::connectHandlers() {
    for (int i = 0; i < kRows; ++i) {
        CheckUDPInActif[i]->Click = [this, i] { CheckUDPInActif_Click(int16_t(i)); };
        CheckUDPOutActif[i]->Click = mark;
        TexteUDPIPSource[i]->Change = mark;
        TexteUDPPortSource[i]->Change = mark;
        TexteUDPIPCible[i]->Change = mark;
        TexteUDPPortCible[i]->Change = mark;
        TexteUDPPortBCible[i]->Change = mark;
    }
    CommandSave->Click = [this] { CommandSave_Click(); };
    CommandFermer->Click = [this] { CommandFermer_Click(); };
}

void FrmSetupPeripherique::Form_Load() {
    settings::registerServices();
    settings::onError(kPage + ":" + "Form_Load", [this] {
        neighbours::Frm_Main().LookFenetre(*this);
        settings::restorePosition(*this);
        Lib_Public::AfficherAuDessus(*this, -1);
    });
}

void FrmSetupPeripherique::Form_QueryUnload(int& cancel, int unloadMode) {
    if (unloadMode != platform::forms::vbFormControlMenu) return;
    Hide();
    cancel = 1;
}

void FrmSetupPeripherique::Form_Unload(int& cancel) {
    if (cancel != 0) return;
    settings::onError(kPage + ":" + "Form_Unload", [this] { settings::savePosition(*this); });
}

void FrmSetupPeripherique::CommandSave_Click() {
    if (OptionsPeripheriquesModifiees) FrmSetup::get().SaveSettingsPeripheriques();
}

void FrmSetupPeripherique::CommandFermer_Click() { Hide(); }
