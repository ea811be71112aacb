// The miscellaneous page's handlers: the memory measurement, the test mail, and the marks.
#include "settings/FrmSetupDivers.h"

#include "foundation/NeighbourServices.h"
#include "foundation/Timing.h"
#include "foundation/WindowHelpers.h"
#include "platform/Dialogs.h"
#include "settings/ErrorTrap.h"
#include "settings/FormPosition.h"
#include "settings/SettingsFlags.h"
#include "settings/SettingsServices.h"

namespace {

const std::string kPage = "FrmSetupDivers";

void markGeneral() { markModified(OptionsModifiees); }

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

void FrmSetupDivers::connectHandlers() {
    CheckMemory->Click = [this] { CheckMemory_Click(); };
    CommandEmailTest->Click = [this] { CommandEmailTest_Click(); };
    CommandFermer->Click = [this] { CommandFermer_Click(); };
    for (auto* box : CheckEmail) box->Click = markGeneral;
    CheckLaunch->Click = markGeneral;
    CheckMiseEnVeille->Click = markGeneral;
    CheckSMTPS->Click = markGeneral;
    ComboNbJourPoste->Click = markGeneral;
    TexteEmailsAdresses->Change = markGeneral;
    QObject::connect(&memoryTimer_, &QTimer::timeout, [] { Lib_Public::TimerProc(); });
}

void FrmSetupDivers::Form_Load() {
    settings::registerServices();
    settings::onError(kPage + ":" + "Form_Load", [this] {
        neighbours::Frm_Main().LookFenetre(*this);
        settings::restorePosition(*this);
        Lib_Public::AfficherAuDessus(*this, -1);
    });
}

void FrmSetupDivers::Form_QueryUnload(int& cancel, int unloadMode) {
    if (unloadMode != platform::forms::vbFormControlMenu) return;
    Hide();
    cancel = 1;
}

void FrmSetupDivers::Form_Unload(int& cancel) {
    if (cancel != 0) return;
    settings::onError(kPage + ":" + "Form_Unload", [this] { settings::savePosition(*this); });
}

void FrmSetupDivers::CommandFermer_Click() { Hide(); }

void FrmSetupDivers::CheckMemory_Click() {
    settings::onError(kPage + ":" + "CheckMemory_Click", [this] {
        switch (CheckMemory->Value()) {
            case platform::forms::vbChecked:
                memoryTimer_.start();
                neighbours::Frm_Main().LabelAffichageMemory_SetVisible(true);
                break;
            case platform::forms::vbUnchecked:
                memoryTimer_.stop();
                neighbours::Frm_Main().LabelAffichageMemory_SetVisible(false);
                break;
            default:
                break;
        }
    });
    markGeneral();
}

void FrmSetupDivers::CommandEmailTest_Click() {
    settings::onError(kPage + ":" + "CommandEmailTest_Click", [this] {
        const std::string addresses = TexteEmailsAdresses->Text();
        if (trimmed(addresses).empty()) {
            platform::dialogs::MsgBox("Veuillez renseigner un ou plusieurs emails (séparés pas des ;).",
                                      platform::dialogs::vbOKOnly | platform::dialogs::vbExclamation,
                                      neighbours::Frm_Main().Caption());
            return;
        }
        neighbours::Frm_MainBis().EnvoiMail(true, addresses, "Test d'envoi de mail.", "", true);
    });
}
