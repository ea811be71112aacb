// The "?" menu's entries: the revision page, the update check, the installed components.
#include <string>

#include "engine/ErrorTrap.h"
#include "engine/Frm_MainBis.h"
#include "engine/TaskDialog.h"
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

void Frm_Main::ListeComposantsInstalles() {
    const std::string texte = TexteComposantsInstalles();
    const int derniere = AnneeCouranteComposants();
    engine::TaskDialogControl& boite = Frm_MainBis::get().TaskDialog;
    boite.Reset();
    boite.SetProperty(20, 0);
    boite.SetProperty(24, 1);
    boite.WindowTitle = Caption();
    boite.MainInstruction = "Liste des composants installés";
    boite.Content = texte;
    boite.SetProperty(14, 0);
    boite.SetProperty(15, 0);
    boite.CommonButtons = 0;
    boite.CommonButtons |= engine::tdbOk;
    boite.DefaultButton = engine::IDOK;
    for (int annee = 2020; annee <= derniere; ++annee) boite.AddButton(Lib_Public::N2S(annee, 4, 0, "0"), annee);
    boite.SetProperty(16, 0);
    boite.SetProperty(30, 1);
    boite.Footer = "Vous pouvez télécharger ci-dessus les composants de chaque année pour les installer.";
    boite.SetProperty(6, 400);
    boite.SetProperty(25, 3);
    boite.SetProperty(12, 0);
    boite.ShowDialog();

    const int32_t choix = PbLReponseTaskDialog;
    if (choix == engine::IDOK || choix < 2020 || choix > 2100) return;
    ouvrirDansLeNavigateur(kHoteTelechargement + "/AL/Releases/AL_34/Setup_AL3_Composants_" +
                           Lib_Public::N2S(choix, 4, 0, "0") + ".exe");
}

void Frm_Main::MnuWhatNews_Click(int index) {
    engine::Trap("Frm_Main:MnuWhatNews_Click", [this, index] {
        switch (index) {
        case 0:
            ouvrirDansLeNavigateur(kHoteTelechargement +
                                   "/AL/Releases/AL_34/Histo_Revisions/AL3_Relaytone_Revisions.htm");
            break;
        case 1: Frm_MainBis::get().Web_VerificationDerniereVersion(); break;
        case 2: ListeComposantsInstalles(); break;
        default: break;
        }
    });
}
