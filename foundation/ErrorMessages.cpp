// The French message boxes of the record-manager layer, and topmost windows around a dialog.
#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/ErrorReporter.h"
#include "foundation/FileVersions.h"
#include "foundation/NeighbourServices.h"
#include "platform/Dialogs.h"

namespace Lib_Public {
namespace {

std::string messageOfCode(int32_t code, const std::string& name) {
    switch (code) {
        case 9:
            return "N° station hors limite:" + name;
        case 2002:
            return "Fichier " + name + " inconnu";
        case 2003:
            return "Fichier " + name + " non ouvert";
        case 2005:
            return "Problème à l'ouverture des fichiers de la base de données";
        default:
            return "Err: " + std::to_string(code) + " inconnue";
    }
}

}  // namespace

void GestErr(int32_t code, const std::string& name, const std::string& source, bool silent,
             const std::string& caller) {
    GestErr_Fra(code, name, source, silent, caller);
}

void GestErr_Fra(int32_t code, const std::string& name, const std::string& source, bool silent,
                 const std::string& caller) {
    std::string cleaned = name;
    cleaned = VBA::Trim(ClearChaine(cleaned));
    std::string message = messageOfCode(code, cleaned);
    std::string title = source;
    if (VBA::InStr(2, source, "Source:", true) > 0) {
        message += "\r\n" + source;
        title = "Erreur";
    } else if (VBA::Trim(source).empty()) {
        title = "Erreur";
    }
    if (!VBA::Replace(caller, " ", "").empty()) message += "\n(Sub: " + caller + ")";
    if (silent) return;

    namespace dialogs = platform::dialogs;
    int style = dialogs::vbOKOnly | dialogs::vbExclamation;
    if (code == 5) {
        style = dialogs::vbOKOnly | dialogs::vbInformation;
        title = Lib_Systeme::VersionApplicationRecord().companyName;
    } else if (code == 9 || code == 1001) {
        style = dialogs::vbOKOnly | dialogs::vbCritical;
    }
    dialogs::MsgBox(VBA::Trim(message), style, VBA::Trim(title));
}

void AfficherMessageBoxOuInputBox(int16_t mode) {
    neighbours::FormsServices& forms = neighbours::Forms();
    for (int32_t i = forms.Count() - 1; i >= 0; --i) {
        if (mode == -1) {
            if (forms.Tag(i) != "1" || !forms.Visible(i)) continue;
            forms.AfficherAuDessus(i, 0);
            forms.SetTag(i, "-1");
        } else if (forms.Tag(i) == "-1") {
            forms.AfficherAuDessus(i, -1);
            forms.SetTag(i, "1");
        }
    }
}

}  // namespace Lib_Public
