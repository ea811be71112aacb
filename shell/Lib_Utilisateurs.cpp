// The current user and rights from the registry, the user program, and the mandatory-user setting.
#include "shell/Lib_Utilisateurs.h"

#include <optional>

#include <QAction>

#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/ExternalPrograms.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/Registry.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "foundation/Site.h"
#include "platform/Dialogs.h"
#include "platform/process/Process.h"
#include "platform/process/Executable.h"
#include "shell/Frm_Main.h"

namespace Lib_Utilisateurs {
namespace {

std::string lire(const std::string& nom) {
    std::string valeur;
    Lib_Systeme::Reg_GetValue(Lib_Systeme::HKEY_LOCAL_MACHINE, kCleUser, nom, valeur);
    return valeur;
}

std::string titre() {
    Frm_Main* principale = TheFrm_Main();
    return principale ? principale->Caption() : std::string();
}

void remplirDroits(InfoUtilisateur& user) {
    for (int n = 1; n <= 68; ++n) {
        const int16_t valeur = n <= VBA::Len(user.Droits) ? int16_t(VBA::Val(VBA::Mid(user.Droits, n, 1))) : 0;
        if (n <= 48)
            user.Droit[n - 1] = valeur;
        else
            user.DroitSuite[n - 49] = valeur;
    }
}

// [DroitsUsers] "Actif", once it was read in this run.
std::optional<bool>& requiredUserRead() {
    static std::optional<bool> obligatoire;
    return obligatoire;
}

}  // namespace

int16_t Droit(const InfoUtilisateur& user, int n) {
    if (n >= 1 && n <= 48) return user.Droit[n - 1];
    if (n >= 49 && n <= 68) return user.DroitSuite[n - 49];
    return 0;
}

void GestionDroitsUser(bool& refuse, bool afficherMessage) {
    refuse = false;
    PbTUtilisateurEnCours = InfoUtilisateur{};
    Frm_Main* principale = TheFrm_Main();

    PbSUtilisateurBouton = lire("AL_User_Button");
    PbTUtilisateurEnCours.IdUtilisateur = lire("AL_User");
    if (VBA::Trim(PbTUtilisateurEnCours.IdUtilisateur).empty()) {
        if (principale) principale->Mnu01CurrentUser->setVisible(false);
        return;
    }
    PbTUtilisateurEnCours.NomUtilisateur = lire("AL_User_Name");
    PbTUtilisateurEnCours.Droits = lire("AL_User_Droits");
    PbTUtilisateurEnCours.Charge = true;
    if (principale) {
        principale->Mnu01CurrentUser->setText(
            QString::fromStdString("Utilisateur en cours: " + PbTUtilisateurEnCours.NomUtilisateur));
        principale->Mnu01CurrentUser->setVisible(true);
    }
    remplirDroits(PbTUtilisateurEnCours);

    if (Droit(PbTUtilisateurEnCours, kDroitOptions) != 0) {
        if (principale) principale->Mnu01Options->setEnabled(true);
        return;
    }
    if (PbSUtilisateurBouton != "Fermer" || afficherMessage)
        platform::dialogs::MsgBox("Utilisateur (" + PbTUtilisateurEnCours.NomUtilisateur + ") non autorisé",
                                  platform::dialogs::vbCritical, titre());
    if (principale) principale->Mnu01Options->setEnabled(false);
    refuse = true;
}

bool SelectUser(bool& refuse) {
    refuse = false;
    const std::string programme = PbSDossierApplication + "AL3_Quillmoor.exe";
    const std::string appelant = "Lib_Utilisateurs:SelectUser";
    if (!Lib_Systeme::File_Exist(platform::process::Executable(programme), appelant, false)) {
        platform::dialogs::MsgBox("Programme non trouvé:\r\n\r\n" + programme, platform::dialogs::vbExclamation,
                                  titre());
        refuse = true;
        return false;
    }
    const platform::process::Started lance =
        platform::process::start({platform::process::Executable(programme), {"/Close"}, PbSDossierApplication});
    // A program that is there but does not start is a refusal too, with the main window left on screen.
    if (!lance.ok()) {
        Lib_Public::TraceLog(-1, -1, -1, "Err: Unable to start: " + programme + ": " + lance.reason + " |Sub: " + appelant,
                             true);
        refuse = true;
        return false;
    }
    Frm_Main* principale = TheFrm_Main();
    if (principale) principale->hide();
    int32_t sansLimite = 0;
    Lib_Systeme::AttenteFinProcessusExterne(lance.pid, sansLimite);
    if (principale && !Abandon) principale->show();

    GestionDroitsUser(refuse, false);
    if (UserObligatoire() && PbTUtilisateurEnCours.IdUtilisateur.empty()) refuse = true;
    return true;
}

bool UserObligatoire() {
    std::optional<bool>& obligatoire = requiredUserRead();
    if (!obligatoire)
        obligatoire = Lib_Systeme::LectureIni(PbSDossierConfigBase[0] + "AL3_Systeme.ini", "DroitsUsers",
                                              "Actif", "0") != "0";
    return *obligatoire;
}

void resetUsers() {
    PbTUtilisateurEnCours = {};
    PbSUtilisateurBouton.clear();
    requiredUserRead().reset();
}

}  // namespace Lib_Utilisateurs
