// "Changer d'utilisateur..." and the start-up's user check: choose again until the user may
// open the settings, or close when the operator leaves the user program with "Fermer".
#include <QCoreApplication>

#include "engine/ErrorTrap.h"
#include "foundation/ConversionsVba.h"
#include "foundation/RunState.h"
#include "shell/Frm_Main.h"
#include "shell/Lib_Utilisateurs.h"

namespace {

bool allowed() {
    return Lib_Utilisateurs::right(PbTUtilisateurEnCours, Lib_Utilisateurs::kOptionsRight) != 0;
}

}  // namespace

void Frm_Main::Mnu01User_Click() {
    engine::Trap("Frm_Main:Mnu01User_Click", [this] { UserChoice(); });
}

bool Frm_Main::UserChoice() {
    bool refuse = false;
    // Without the user program nothing was chosen, so there is nothing to decide (asking again
    // would only bring the same box back, for ever).
    if (!Lib_Utilisateurs::SelectUser(refuse)) return false;
    if (!Lib_Utilisateurs::UserObligatoire()) return true;

    bool doClose = false;
    for (;;) {
        if (PbTUtilisateurEnCours.userId.empty()) {
            // During start-up its own check refuses a start without a user; waiting here for a
            // user that nobody is choosing would hang the start-up.
            doClose = PbBDemarrageTermine;
            break;
        }
        if (PbSUtilisateurBouton == "Fermer") {
            doClose = true;
            break;
        }
        if (allowed()) break;
        if (!Lib_Utilisateurs::SelectUser(refuse)) break;
        QCoreApplication::processEvents();
    }
    if (doClose) {
        PbBQuitter = true;
        Unload(platform::forms::vbFormCode);
    }
    return true;
}

bool Frm_Main::checkUserAtStartup() {
    bool refuse = false;
    Lib_Utilisateurs::GestionDroitsUser(refuse, true);
    while (refuse) {
        if (!UserChoice() || Abandon) return false;
        if (VBA::Trim(PbTUtilisateurEnCours.userId).empty()) return false;
        if (PbSUtilisateurBouton == "Fermer") return false;
        if (allowed()) return true;
        QCoreApplication::processEvents();
    }
    return true;
}
