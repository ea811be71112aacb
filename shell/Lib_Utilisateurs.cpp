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
#include "platform/process/Executable.h"
#include "platform/process/Process.h"
#include "shell/Frm_Main.h"

namespace Lib_Utilisateurs {
namespace {

std::string readSetting(const std::string& nameText) {
    std::string value;
    Lib_Systeme::Reg_GetValue(Lib_Systeme::HKEY_LOCAL_MACHINE, kUserKey, nameText, value);
    return value;
}

std::string captionText() {
    Frm_Main* mainForm = TheFrm_Main();
    return mainForm ? mainForm->Caption() : std::string();
}

void fillRights(InfoUtilisateur& user) {
    for (int n = 1; n <= 68; ++n) {
        const int16_t value =
            n <= VBA::Len(user.rightsText) ? int16_t(VBA::Val(VBA::Mid(user.rightsText, n, 1))) : 0;
        if (n <= 48)
            user.rights[n - 1] = value;
        else
            user.moreRights[n - 49] = value;
    }
}

// [DroitsUsers] "Actif", once it was read in this run.
std::optional<bool>& requiredUserRead() {
    static std::optional<bool> isMandatory;
    return isMandatory;
}

}  // namespace

int16_t right(const InfoUtilisateur& user, int n) {
    if (n >= 1 && n <= 48) return user.rights[n - 1];
    if (n >= 49 && n <= 68) return user.moreRights[n - 49];
    return 0;
}

void GestionDroitsUser(bool& refuse, bool showMessage) {
    refuse = false;
    PbTUtilisateurEnCours = InfoUtilisateur{};
    Frm_Main* mainForm = TheFrm_Main();

    PbSUtilisateurBouton = readSetting("AL_User_Button");
    PbTUtilisateurEnCours.userId = readSetting("AL_User");
    if (VBA::Trim(PbTUtilisateurEnCours.userId).empty()) {
        if (mainForm) mainForm->Mnu01CurrentUser->setVisible(false);
        return;
    }
    PbTUtilisateurEnCours.userName = readSetting("AL_User_Name");
    PbTUtilisateurEnCours.rightsText = readSetting("AL_User_Droits");
    PbTUtilisateurEnCours.loaded = true;
    if (mainForm) {
        mainForm->Mnu01CurrentUser->setText(
            QString::fromStdString("Utilisateur en cours: " + PbTUtilisateurEnCours.userName));
        mainForm->Mnu01CurrentUser->setVisible(true);
    }
    fillRights(PbTUtilisateurEnCours);

    if (right(PbTUtilisateurEnCours, kOptionsRight) != 0) {
        if (mainForm) mainForm->Mnu01Options->setEnabled(true);
        return;
    }
    if (PbSUtilisateurBouton != "Fermer" || showMessage)
        platform::dialogs::MsgBox("Utilisateur (" + PbTUtilisateurEnCours.userName + ") non autorisé",
                                  platform::dialogs::vbCritical, captionText());
    if (mainForm) mainForm->Mnu01Options->setEnabled(false);
    refuse = true;
}

bool SelectUser(bool& refuse) {
    refuse = false;
    const std::string programme = PbSDossierApplication + "AL3_Quillmoor.exe";
    const std::string caller = "Lib_Utilisateurs:SelectUser";
    if (!Lib_Systeme::File_Exist(platform::process::Executable(programme), caller, false)) {
        platform::dialogs::MsgBox("Programme non trouvé:\r\n\r\n" + programme,
                                  platform::dialogs::vbExclamation, captionText());
        refuse = true;
        return false;
    }
    const platform::process::Started launched = platform::process::start(
        {platform::process::Executable(programme), {"/Close"}, PbSDossierApplication});
    // A program that is there but does not start is a refusal too, with the main window left on screen.
    if (!launched.ok()) {
        Lib_Public::TraceLog(
            -1, -1, -1, "Err: Unable to start: " + programme + ": " + launched.reason + " |Sub: " + caller,
            true);
        refuse = true;
        return false;
    }
    Frm_Main* mainForm = TheFrm_Main();
    if (mainForm) mainForm->hide();
    int32_t unlimited = 0;
    Lib_Systeme::AttenteFinProcessusExterne(launched.pid, unlimited);
    if (mainForm && !Abandon) mainForm->show();

    GestionDroitsUser(refuse, false);
    if (UserObligatoire() && PbTUtilisateurEnCours.userId.empty()) refuse = true;
    return true;
}

bool UserObligatoire() {
    std::optional<bool>& isMandatory = requiredUserRead();
    if (!isMandatory)
        isMandatory = Lib_Systeme::LectureIni(PbSDossierConfigBase[0] + "AL3_Systeme.ini", "DroitsUsers",
                                              "Actif", "0") != "0";
    return *isMandatory;
}

void resetUsers() {
    PbTUtilisateurEnCours = {};
    PbSUtilisateurBouton.clear();
    requiredUserRead().reset();
}

}  // namespace Lib_Utilisateurs
