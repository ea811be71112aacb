// "Changer d'utilisateur..." and the start-up's user check: choose again until the user may
// open the settings, or close when the operator leaves the user program with "Fermer".
#include <QCoreApplication>

#include "foundation/ConversionsVba.h"
#include "engine/ErrorTrap.h"
#include "foundation/RunState.h"
#include "shell/Frm_Main.h"
#include "shell/Lib_Utilisateurs.h"

namespace {

bool autorise() { return Lib_Utilisateurs::Droit(PbTUtilisateurEnCours, Lib_Utilisateurs::kDroitOptions) != 0; }

}  // namespace

void Frm_Main::Mnu01User_Click() {
    engine::Trap("Frm_Main:Mnu01User_Click", [this] { ChoixUtilisateur(); });
}

bool Frm_Main::ChoixUtilisateur() {
    bool refuse = false;
    // Without the user program nothing was chosen, so there is nothing to decide (asking again
    // would only bring the same box back, for ever).
    if (!Lib_Utilisateurs::SelectUser(refuse)) return false;
    if (!Lib_Utilisateurs::UserObligatoire()) return true;

    bool fermer = false;
    for (;;) {
        if (PbTUtilisateurEnCours.IdUtilisateur.empty()) {
            // During start-up its own check refuses a start without a user; waiting here for a
            // user that nobody is choosing would hang the start-up.
            fermer = PbBDemarrageTermine;
            break;
        }
        if (PbSUtilisateurBouton == "Fermer") {
            fermer = true;
            break;
        }
        if (autorise()) break;
        if (!Lib_Utilisateurs::SelectUser(refuse)) break;
        QCoreApplication::processEvents();
    }
    if (fermer) {
        PbBQuitter = true;
        Unload(platform::forms::vbFormCode);
    }
    return true;
}

bool Frm_Main::ControleUtilisateurDemarrage() {
    bool refuse = false;
    Lib_Utilisateurs::GestionDroitsUser(refuse, true);
    while (refuse) {
        if (!ChoixUtilisateur() || Abandon) return false;
        if (VBA::Trim(PbTUtilisateurEnCours.IdUtilisateur).empty()) return false;
        if (PbSUtilisateurBouton == "Fermer") return false;
        if (autorise()) return true;
        QCoreApplication::processEvents();
    }
    return true;
}
