// The base settings file's UDP rows: one receive and one send row per station.
#include "settings/FrmSetup.h"

#include <algorithm>

#include "foundation/Site.h"
#include "settings/ErrorTrap.h"
#include "settings/FrmSetupPeripherique.h"
#include "settings/IniValues.h"
#include "settings/SettingsFlags.h"

namespace {

const std::string kForm = "FrmSetup";
constexpr int kPremierPort = 96;

// Rows that are neither loaded nor saved are hidden, so that no edit of them is lost.
int premiereLigneCachee() { return std::max<int>(0, PbINbLignesUDP); }

int lignesChargees(const FrmSetupPeripherique& page) {
    return std::clamp<int>(PbINbLignesUDP, 0, int(page.TexteUDPIPSource.size()));
}

}  // namespace

std::string FrmSetup::FichierSettingsBase() {
    const std::string& dossier = PbSDossierConfigBase[PbINoBase];
    if (dossier.find_first_not_of(' ') == std::string::npos) return {};
    return dossier + "AL3_Relaytone.Ini";
}

void FrmSetup::InitSettingsPeripheriques() {
    using settings::lireTexte;
    const std::string caller = kForm + ":" + "InitSettingsPeripheriques";
    settings::SurErreur(caller, [&] {
        const std::string file = FichierSettingsBase();
        auto& page = FrmSetupPeripherique::get();
        const int lignes = lignesChargees(page);
        const auto& stations = PbTBases[PbINoBase].Stations;
        for (int r = 0; r < lignes; ++r) {
            const std::string section = "UDP_In_" + settings::deuxChiffres(r);
            page.CheckUDPInActif[r]->SetCaption(stations[r].Lib);  // as the emission rows are
            page.TexteUDPIPSource[r]->SetText(
                lireTexte(file, section, "IP", page.TexteComputerNameAdresse[1]->Text()));
            page.TexteUDPPortSource[r]->SetText(
                lireTexte(file, section, "Port", std::to_string(kPremierPort + r)));
            settings::poserValeur(*page.CheckUDPInActif[r],
                                  settings::lireEntier(file, section, "Actif", "0"), caller);
        }
        for (size_t r = 0; r < page.TexteUDPIPSource.size(); ++r) {
            const bool visible = int(r) < premiereLigneCachee();
            page.TexteUDPIPSource[r]->SetVisible(visible);
            page.TexteUDPPortSource[r]->SetVisible(visible);
            page.CheckUDPInActif[r]->SetVisible(visible);
        }

        for (int r = 0; r < lignes; ++r) {
            const std::string section = "UDP_Out_" + settings::deuxChiffres(r);
            page.CheckUDPOutActif[r]->SetCaption(stations[r].Lib);
            page.TexteUDPIPCible[r]->SetText(lireTexte(file, section, "IP", ""));
            page.TexteUDPPortCible[r]->SetText(
                lireTexte(file, section, "Port", std::to_string(kPremierPort + r)));
            page.TexteUDPPortBCible[r]->SetText(lireTexte(file, section, "Port2", ""));
            settings::poserValeur(*page.CheckUDPOutActif[r],
                                  settings::lireEntier(file, section, "Actif", "0"), caller);
        }
        for (size_t r = 0; r < page.TexteUDPIPCible.size(); ++r) {
            const bool visible = int(r) < premiereLigneCachee();
            page.CheckUDPOutActif[r]->SetVisible(visible);
            page.TexteUDPIPCible[r]->SetVisible(visible);
            page.TexteUDPPortCible[r]->SetVisible(visible);
            page.TexteUDPPortBCible[r]->SetVisible(visible);
            page.TexteUDPDonneeEnvoyees[r]->SetVisible(visible);
            page.BtnUDPSend[r]->SetVisible(visible);
        }
    });
    OptionsPeripheriquesModifiees = false;
}

void FrmSetup::SaveSettingsPeripheriques() {
    settings::Ecriture ecrire(FichierSettingsBase());
    settings::SurErreur(kForm + ":" + "SaveSettingsPeripheriques", [&] {
        auto& page = FrmSetupPeripherique::get();
        const int lignes = lignesChargees(page);
        for (int r = 0; r < lignes; ++r) {
            const std::string section = "UDP_In_" + settings::deuxChiffres(r);
            ecrire(section, "IP", page.TexteUDPIPSource[r]->Text());
            ecrire(section, "Port", page.TexteUDPPortSource[r]->Text());
            ecrire(section, "Actif", page.CheckUDPInActif[r]->Value());
        }
        for (int r = 0; r < lignes; ++r) {
            const std::string section = "UDP_Out_" + settings::deuxChiffres(r);
            ecrire(section, "IP", page.TexteUDPIPCible[r]->Text());
            ecrire(section, "Port", page.TexteUDPPortCible[r]->Text());
            ecrire(section, "Port2", page.TexteUDPPortBCible[r]->Text());
            ecrire(section, "Actif", page.CheckUDPOutActif[r]->Value());
        }
    });
    if (ecrire.reussie())
        OptionsPeripheriquesModifiees = false;
    else
        SignalerEchecEcriture(ecrire.file(), "SaveSettingsPeripheriques");
}
