// The start-up sequence: every step in its order, each shown in FrmMsg and logged.
#include <filesystem>
#include <functional>
#include <new>
#include <vector>

#include <QCoreApplication>

#include "engine/Frm_MainBis.h"
#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/ErrorReporter.h"
#include "foundation/ExternalPrograms.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "foundation/StatusMails.h"
#include "foundation/Timing.h"
#include "foundation/WindowHelpers.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "platform/WinPath.h"
#include "platform/ScopedFlag.h"
#include "platform/process/NamedMutex.h"
#include "platform/process/WindowLookup.h"
#include "foundation/NeighbourServices.h"
#include "shell/AnalyseChaineCommand.h"
#include "platform/process/Executable.h"
#include "engine/FRADx55Drain.h"
#include "shell/FrmMsg.h"
#include "shell/Frm_Main.h"
#include "shell/Lib_Look.h"
#include "shell/Lib_Resize.h"
#include "shell/Lib_Tableur.h"
#include "shell/Lib_Utilisateurs.h"

namespace {

const char* const kCaller = "Frm_Main:Form_Load";

bool contientSansCasse(const std::string& texte, const std::string& cherche) {
    return VBA::InStr(1, texte, cherche, true) > 0;
}

// The folders where the program replaces files whole or copies them: settings, configuration,
// log, the global workbook's and the registry's.
std::vector<std::string> dossiersEcrits() {
    std::vector<std::string> dossiers{PbSDossierSettings, PbSDossierLog, Lib_Tableur::DossierClasseurGlobal()};
    if (const size_t fin = PbSDossierConfigSite.rfind('\\'); fin != std::string::npos)
        dossiers.push_back(PbSDossierConfigSite.substr(0, fin + 1));
    for (const std::string& base : PbSDossierConfigBase) dossiers.push_back(base);
    const std::filesystem::path ruche = platform::registry::hiveFile(platform::registry::HKEY_CURRENT_USER);
    dossiers.push_back(platform::winpath::fromHost(ruche.parent_path()));
    return dossiers;
}

}  // namespace

void Frm_Main::AfficherEtape(const std::string& texte) {
    if (!PbBFrmMsgDemarrage) return;
    TheFrmMsg().LabelMsgInit_SetCaption(texte);
    QCoreApplication::processEvents();
    Lib_Public::TraceLog(-1, -1, -1, "----- " + TheFrmMsg().LabelMsgInit->Caption() + " -----");
}

void Frm_Main::Form_Load() {
    using Lib_Public::TraceLog;
    platform::ScopedFlag demarrage(PbBDemarrageEnCours);
    PbIDefaultNoBase = -1;
    bool abandonDemarrage = false;
    int64_t debut = 0;
    // What a step leaves the start-up to do.
    enum class Suite { Continuer, Arreter };
    const std::function<Suite()> etapes[] = {
        [this] {
            if (!Abandon && !PbBComposantsManquants) return Suite::Continuer;
            TraceLog(-1, -1, -1, std::string("Abandon = True |Sub: ") + kCaller);
            Unload(platform::forms::vbFormCode);
            return Suite::Arreter;
        },
        [this] {
            mutex_ = std::make_unique<platform::process::NamedMutex>("Aerolune 3.4");
            bool modeFin = true;
            int32_t attente = 5000;
            if (Lib_Public::TesterPrevInstance(modeFin, attente)) return Suite::Continuer;
            PbBInstancePrecedente = true;
            TraceLog(-1, -1, -1, std::string("Abandon = True |Sub: ") + kCaller);
            Unload(platform::forms::vbFormCode);
            return Suite::Arreter;
        },
        [this, &debut] {
            // Published only now, so that the test above never finds this copy; a newer copy's
            // request to quit is an orderly shut-down.
            titre_ = std::make_unique<platform::process::TitledWindow>(
                PbSTitreApplication, [this] { Unload(platform::forms::vbAppTaskManager); });
            Frm_MainBis::get().Load();
            debut = Lib_Systeme::GetTickCountEx();

            PbSLigneCommande = QCoreApplication::arguments().mid(1).join(' ').toStdString();
            if (!VBA::Trim(PbSLigneCommande).empty())
                shell::AnalyseChaineCommand(PbSLigneCommande, shell::NombreDeBasesDuSite());
            else
                PbINoInstance = 0;
            return Suite::Continuer;
        },
        [this, &abandonDemarrage] {
            Lib_Look::InitGeneralLook(-1);

            try {
                InitGeneral(abandonDemarrage);
            } catch (const std::bad_alloc&) {
                platform::dialogs::MsgBox("Mémoire insuffisante, programme stoppé", platform::dialogs::vbCritical,
                                          Caption());
                abandonDemarrage = true;
            }
            if (!abandonDemarrage) return Suite::Continuer;
            Unload(platform::forms::vbFormCode);
            return Suite::Arreter;
        },
        [this] {
            Lib_Systeme::RemoveLeftoverTemporaries(dossiersEcrits(), kCaller);

            AfficherEtape("Skyplate: Init: Create Object");
            CreationDesObjets();
            AfficherEtape("Skyplate: Init: Tableur");
            Lib_Tableur::InitGeneralTableur(true, true);
            AfficherEtape("Skyplate: Init: Display");
            PlacementFenetre();

            if (PbBFrmMsgDemarrage) {
                TheFrmMsg().Unload();
                PbBFrmMsgDemarrage = false;
            }
            Show(platform::forms::vbModeless);
            QCoreApplication::processEvents();
            return Suite::Continuer;
        },
        [this, &demarrage, &debut, &abandonDemarrage] {
            PbBFeuilleChargee = true;
            Lib_Public::TraceLogEncadre(-1, -1, -1,
                                        "----- Init: Duration: " +
                                            std::to_string(Lib_Systeme::GetTickCountEx() - debut) + " ms",
                                        "=", false);

            if (contientSansCasse(PbSLigneCommande, "/Veille=True")) {
                MiseEnVeilleDemandee = true;
                TimerVeille.setEnabled(true);
            }
            if (CheckIncidentsFeuilleNonChargee->Value() == platform::forms::vbChecked) {
                CheckIncidentsFeuilleNonChargee->SetValue(platform::forms::vbUnchecked);
                CheckIncidents[0]->SetValue(platform::forms::vbChecked);
            }

            Lib_Resize::ResizeCurrentOngletMain();
            if (Lib_Tableur::ImportClasseurGlobal()) Lib_Resize::ResizeCurrentOngletMain();
            TableurInitDemarrage(PbINoBase, "Début Redémarrage");
            Lib_Public::TraceLogEncadre(-1, -1, -1, "Traitement des données non encore traitées: Start", "=", false);
            Lib_Public::SablierOn(*this);
            TraitementDonneesNonTraitees(abandonDemarrage);
            Lib_Public::TraceLogEncadre(-1, -1, -1, "Traitement des données non encore traitées: End", "=", false);
            Lib_Public::SablierOff(*this);
            TableurInitDemarrage(PbINoBase, "Fin Redémarrage");
            demarrage.release();
            return Suite::Continuer;
        },
        [this] {
            const std::string lanceur = PbSDossierApplication + "AL3_Relaytone_Launcher.exe";
            if (!Lib_Systeme::File_Exist(platform::process::Executable(lanceur), kCaller, true))
                TraceLog(-1, -1, -1, "Err: Application not found: " + lanceur, true);

            auto& moteur = Frm_MainBis::get();
            for (const auto& file : moteur.ListeDataArrival) {
                if (file.ListCount() == 0) continue;
                moteur.TimerDataArrival.setEnabled(true);
                TraceLog(-1, -1, -1,
                         std::string("UDP: TimerDataArrival.Enabled : ") +
                             (moteur.TimerDataArrival.Enabled() ? "True" : "False") + " |Sub: Frm_Main:Form_Load:A");
                break;
            }

            // The user check, and after it the start mail and the standby option, run only when the
            // site requires a user.
            if (!Lib_Utilisateurs::UserObligatoire()) return Suite::Continuer;
            if (!ControleUtilisateurDemarrage()) {
                PbBQuitter = true;
                if (!Abandon) Unload(platform::forms::vbFormCode);
                return Suite::Arreter;
            }
            if (Lib_Email::MailsAvisActifs())
                Lib_Email::EnvoiDuMail(0, mailconfig::kAdresseSupport, "Relaytone lancé", 0, false, false, true,
                                       false);
            if (neighbours::FrmSetup().CheckMiseEnVeille() == platform::forms::vbChecked) MiseEnVeilleForcee();
            return Suite::Continuer;
        },
    };
    // Every step lets events run: a close that came meanwhile has already shut the program down,
    // so the start-up stops there.
    for (const auto& etape : etapes)
        if (etape() == Suite::Arreter || Abandon) break;
    demarrage.release();
    PbBDemarrageTermine = true;
}

void Frm_Main::TraitementDonneesNonTraitees(bool& abandonDemarrage) {
    if (!PbBFRADx55Ouvert || PbBCheckFRADx55EnCours) return;
    const platform::ScopedFlag parcours(PbBCheckFRADx55EnCours);
    PbDCheckFRADx55 = platform::clock::now();
    for (int16_t station = 1; station <= PbINbStations && !abandonDemarrage && !Abandon; ++station) {
        FRADx55::ParcoursStation(PbINoBase, station, kCaller, abandonDemarrage,
                                 FRADx55::Moment::ApresSuppression, [&](const EnregFRADx55& enreg) {
            const std::string texte = VBA::Trim(FRADx55::Texte(enreg));
            if (!FRADx55::ARejouer(texte)) return;
            Frm_MainBis::get().UDPDataArrival(station, texte, true, abandonDemarrage, kCaller);
        });
    }
}
