// The road out: the close request, the quit question, and the unload in its fixed order.
#include <algorithm>
#include <vector>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "engine/Frm_MainBis.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "foundation/StatusMails.h"
#include "foundation/WindowHelpers.h"
#include "platform/Dialogs.h"
#include "platform/mail/Smtp.h"
#include "settings/FormPosition.h"
#include "settings/FrmSetup.h"
#include "shell/Frm_Main.h"
#include "shell/Lib_SysTray.h"
#include "shell/Lib_Tableur.h"
#include "shell/UnattendedStops.h"

namespace {

// The stop notice, when the site asks for notice mails. A launcher that restarts the program
// gives its shut-down 10 s before it kills it: the mail keeps room for the rest of the stop
// (the workbook, the record-manager files) whatever the mail server does.
void sendStopMail() {
    const platform::mail::ScopedSendLimit limite(std::chrono::seconds(5));
    if (Lib_Email::noticeMailsActive())
        Lib_Email::EnvoiDuMail(0, mailconfig::kSupportAddress, "Relaytone arrêté", 0, false, false, true,
                               false);
}

std::string closingReason(int mode) {
    switch (mode) {
        case platform::forms::vbFormCode:
            return "Form closed by code action";
        case platform::forms::vbAppWindows:
            return "Form closed because Windows is shutting down";
        case platform::forms::vbAppTaskManager:
            return "Form closed by the Taskmanager";
        case 4:
            return "Form closed because MDI Form closed";
        case 5:
            return "Form closed by the owner";
        default:
            return "Form closed: Unknow mode: " + std::to_string(mode);
    }
}

// Standby minimised or hid the main window only for itself: its place is saved with the state
// it had before, so the next start opens it as the operator left it.
class PlaceBeforeStandby : public settings::FormPosition {
public:
    using FormPosition::FormPosition;
    int16_t WindowState() const override {
        return Lib_SysTray::EnVeille ? WindowStateOf(Lib_SysTray::stateBeforeStandby)
                                     : FormPosition::WindowState();
    }
};

// Every window still loaded but this one, first loaded first, each asked once: one that
// refuses stays, and one loaded meanwhile is unloaded in its turn.
void unloadOtherWindows(const platform::forms::Form& mainForm) {
    std::vector<const platform::forms::Form*> requested{&mainForm};
    for (;;) {
        const auto& loadedOnes = platform::forms::Form::LoadedForms();
        const auto following = std::find_if(loadedOnes.begin(), loadedOnes.end(), [&](auto* win) {
            return std::find(requested.begin(), requested.end(), win) == requested.end();
        });
        if (following == loadedOnes.end()) return;
        platform::forms::Form& win = **following;
        requested.push_back(&win);
        win.Unload(platform::forms::vbFormCode);
        QCoreApplication::processEvents();
    }
}

}  // namespace

void Frm_Main::Form_QueryUnload(int& cancel, int unloadMode) {
    if (unloadMode == platform::forms::vbFormControlMenu) {
        Quitter(false);
        if (!PbBQuitter) cancel = 1;
        // Nobody answered the question: the close is the stop's (the close box's own unload
        // goes on, the one Quitter asked for has no effect inside it).
        else if (platform::dialogs::stopBegun())
            logClosing(shell::unattendedCloseMode());
        return;
    }
    logClosing(unloadMode);
}

void Frm_Main::logClosing(int unloadMode) {
    Lib_Public::TraceLogEncadre(-1, -1, -1, closingReason(unloadMode), "=", false);
    Lib_Public::TraceLogForce("Frm_Main:Form_QueryUnload");
}

void Frm_Main::Quitter(bool) {
    PbBQuitter = false;
    if (!PbBRelanceForcee) {
        using namespace platform::dialogs;
        if (MsgBox("Voulez-vous quitter le programme ?", vbYesNo + vbQuestion, Caption()) != vbYes) return;
        sendStopMail();
        // A stop answered for nobody: no human action, and the window closes in the stop's mode.
        if (stopBegun()) {
            PbBQuitter = true;
            Unload(shell::unattendedCloseMode());
            return;
        }
        Lib_Public::TraceLogEncadre(-1, -1, -1, "Application closed by human action (Menu action)", "*",
                                    false);
        PbBQuitter = true;
    } else {
        sendStopMail();
        PbBQuitter = true;
        Lib_Public::TraceLogEncadre(-1, -1, -1, "Application closed by code action", "*", false);
    }
    Unload(platform::forms::vbFormCode);
}

void Frm_Main::Form_Unload(int&) {
    Abandon = true;
    for (auto* timer : platform::forms::timersOf(*this)) timer->setEnabled(false);

    Lib_Tableur::exportGlobalWorkbookOnClose(Caption());
    // Half a second for what is under way, handling events meanwhile without spinning.
    QEventLoop attente;
    QTimer::singleShot(501, &attente, &QEventLoop::quit);
    attente.exec();

    // A start-up that ended before the program folder was known has no positions file.
    if (!PbSDossierApplication.empty()) {
        const std::string positions = Lib_Public::NomFichierSettings("_Positions", ".Ini");
        const PlaceBeforeStandby place(*this);
        const int stateNow = place.WindowState();
        if (stateNow == 0) {
            Lib_Public::PositionFeuilleSauvegarde(place);
            Lib_Systeme::EcritureIni(positions, "FrmPos", Name() + "_Width",
                                     std::to_string(VBA::CLng(Width())));
            Lib_Systeme::EcritureIni(positions, "FrmPos", Name() + "_Height",
                                     std::to_string(VBA::CLng(Height())));
        }
        Lib_Systeme::EcritureIni(positions, "FrmPos", Name() + "_WindowState", std::to_string(stateNow));
    }

    Lib_Public::CloseSoundRessource();
    // Closed while the settings window still holds the log buffer, so that the log shows it.
    for (int16_t b = 0; b < 5; ++b)
        if (openFiles_[b]) PervasiveFermetureFichiers(b, openStations_[b].first, openStations_[b].second, -1);
    if (FrmSetup::exists()) FrmSetup::get().Unload(platform::forms::vbFormCode);
    if (Frm_MainBis::exists()) Frm_MainBis::get().Unload(platform::forms::vbFormCode);
    // Every window still loaded goes in turn: the settings pages keep their positions, and with
    // the tray window standby ends (the hidden windows come back and the icon goes).
    unloadOtherWindows(*this);
    PbBFeuilleChargee = false;
    // The program ends itself only: other copies of the image (a newer start among them) live on.
    QCoreApplication::exit(0);
}
