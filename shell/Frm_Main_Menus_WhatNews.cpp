// The "?" menu's entries: the revision page, the update check, the installed components.
#include <string>

#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/ExternalPrograms.h"
#include "foundation/Registry.h"
#include "platform/Clock.h"
#include "shell/Frm_Main.h"

namespace {

const std::string kHoteTelechargement = "https://download.vantremo.example";
const std::string kCleComposants = "Software\\Vantremo\\Aerolune\\Composants_";

void ouvrirDansLeNavigateur(const std::string& adresse) {
    Lib_Systeme::ExecuterProgrammeExterne("Open", adresse, "", "", 1);
}

std::string lire(const std::string& cle, const std::string& nom) {
    std::string valeur;
    Lib_Systeme::Reg_GetValue(Lib_Systeme::HKEY_LOCAL_MACHINE, cle, nom, valeur);
    return valeur;
}

}  // namespace

int Frm_Main::AnneeCouranteComposants() { return platform::fieldsOf(platform::clock::now()).year; }

std::string Frm_Main::TexteComposantsInstalles() {
    std::string texte;
    const std::string cleFull = kCleComposants + "Full";
    if (const std::string date = lire(cleFull, "InstallDate"); !VBA::Trim(date).empty())
        texte = "Full: Version: " + lire(cleFull, "InstallVersion") + " installée le " + date + "\r\n\r\n";
    for (int annee = 2020; annee <= AnneeCouranteComposants(); ++annee) {
        const std::string cle = kCleComposants + Lib_Public::N2S(annee, 4, 0, "0");
        if (const std::string date = lire(cle, "InstallDate"); !VBA::Trim(date).empty())
            texte += Lib_Public::N2S(annee, 4, 0, "0") + ": Version: " + lire(cle, "InstallVersion") +
                     " installée le " + date + "\r\n";
    }
    return texte.empty() ? "Aucune installation trouvée." : texte;
}

void Frm_Main::MnuWhatNews_Click(int index) {
    switch (index) {
    case 0:
        ouvrirDansLeNavigateur(kHoteTelechargement + "/AL/Releases/AL_34/Histo_Revisions/AL3_Relaytone_Revisions.htm");
        break;
    default: break;
    }
}
