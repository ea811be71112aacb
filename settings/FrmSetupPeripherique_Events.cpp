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

void marquer() { MarquerModifie(OptionsPeripheriquesModifiees); }

}  // namespace

void FrmSetupPeripherique::connectHandlers() {
    for (int i = 0; i < kRows; ++i) {
        CheckUDPInActif[i]->Click = [this, i] { CheckUDPInActif_Click(int16_t(i)); };
        CheckUDPOutActif[i]->Click = marquer;
        TexteUDPIPSource[i]->Change = marquer;
        TexteUDPPortSource[i]->Change = marquer;
        TexteUDPIPCible[i]->Change = marquer;
        TexteUDPPortCible[i]->Change = marquer;
        TexteUDPPortBCible[i]->Change = marquer;
    }
    CommandSave->Click = [this] { CommandSave_Click(); };
    CommandFermer->Click = [this] { CommandFermer_Click(); };
}

void FrmSetupPeripherique::Form_Load() {
    settings::enregistrerServices();
    settings::SurErreur(kPage + ":" + "Form_Load", [this] {
        neighbours::Frm_Main().LookFenetre(*this);
        settings::restaurerPosition(*this);
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
    settings::SurErreur(kPage + ":" + "Form_Unload", [this] { settings::sauverPosition(*this); });
}

void FrmSetupPeripherique::CommandSave_Click() {
    if (OptionsPeripheriquesModifiees) FrmSetup::get().SaveSettingsPeripheriques();
}

void FrmSetupPeripherique::CommandFermer_Click() { Hide(); }
