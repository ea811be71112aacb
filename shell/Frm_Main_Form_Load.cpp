// The start-up sequence: every step in its order, each shown in FrmMsg and logged.
#include <filesystem>
#include <functional>
#include <new>
#include <vector>

#include <QCoreApplication>

#include "engine/FRADx55Drain.h"
#include "engine/Frm_MainBis.h"
#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/ErrorReporter.h"
#include "foundation/ExternalPrograms.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "foundation/StatusMails.h"
#include "foundation/Timing.h"
#include "foundation/WindowHelpers.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "platform/ScopedFlag.h"
#include "platform/WinPath.h"
#include "platform/process/Executable.h"
#include "platform/process/NamedMutex.h"
#include "platform/process/WindowLookup.h"
#include "shell/AnalyseChaineCommand.h"
#include "shell/FrmMsg.h"
#include "shell/Frm_Main.h"
#include "shell/Lib_Look.h"
#include "shell/Lib_Resize.h"
#include "shell/Lib_Tableur.h"
#include "shell/Lib_Utilisateurs.h"

namespace {

const char* const kCaller = "Frm_Main:Form_Load";

bool containsNoCase(const std::string& textValue, const std::string& sought) {
    return VBA::InStr(1, textValue, sought, true) > 0;
}

// The folders where the program replaces files whole or copies them: settings, configuration,
// log, the global workbook's and the registry's.
std::vector<std::string> writtenFolders() {
    std::vector<std::string> folderList{PbSDossierSettings, PbSDossierLog,
                                        Lib_Tableur::globalWorkbookFolder()};
    if (const size_t fin = PbSDossierConfigSite.rfind('\\'); fin != std::string::npos)
        folderList.push_back(PbSDossierConfigSite.substr(0, fin + 1));
    for (const std::string& base : PbSDossierConfigBase) folderList.push_back(base);
    const std::filesystem::path hive = platform::registry::hiveFile(platform::registry::HKEY_CURRENT_USER);
    folderList.push_back(platform::winpath::fromHost(hive.parent_path()));
    return folderList;
}

}  // namespace

void Frm_Main::showStep(const std::string& textValue) {
    if (!PbBFrmMsgDemarrage) return;
    TheFrmMsg().LabelMsgInit_SetCaption(textValue);
    QCoreApplication::processEvents();
    Lib_Public::TraceLog(-1, -1, -1, "----- " + TheFrmMsg().LabelMsgInit->Caption() + " -----");
}

void Frm_Main::Form_Load() {
    using Lib_Public::TraceLog;
    platform::ScopedFlag startup(PbBDemarrageEnCours);
    PbIDefaultNoBase = -1;
    bool abortStartup = false;
    int64_t beginning = 0;
    // What a step leaves the start-up to do.
    enum class StepEnd { Proceed, Halt };
    const std::function<StepEnd()> stages[] = {
        [this] {
            if (!Abandon && !PbBComposantsManquants) return StepEnd::Proceed;
            TraceLog(-1, -1, -1, std::string("Abandon = True |Sub: ") + kCaller);
            Unload(platform::forms::vbFormCode);
            return StepEnd::Halt;
        },
        [this] {
            mutex_ = std::make_unique<platform::process::NamedMutex>("Aerolune 3.4");
            bool endMode = true;
            int32_t attente = 5000;
            if (Lib_Public::TesterPrevInstance(endMode, attente)) return StepEnd::Proceed;
            PbBInstancePrecedente = true;
            TraceLog(-1, -1, -1, std::string("Abandon = True |Sub: ") + kCaller);
            Unload(platform::forms::vbFormCode);
            return StepEnd::Halt;
        },
        [this, &beginning] {
            // Published only now, so that the test above never finds this copy; a newer copy's
            // request to quit is an orderly shut-down.
            title_ = std::make_unique<platform::process::TitledWindow>(
                PbSTitreApplication, [this] { Unload(platform::forms::vbAppTaskManager); });
            Frm_MainBis::get().Load();
            beginning = Lib_Systeme::GetTickCountEx();

            PbSLigneCommande = QCoreApplication::arguments().mid(1).join(' ').toStdString();
            if (!VBA::Trim(PbSLigneCommande).empty())
                shell::AnalyseChaineCommand(PbSLigneCommande, shell::siteBaseCount());
            else
                PbINoInstance = 0;
            return StepEnd::Proceed;
        },
        [this, &abortStartup] {
            Lib_Look::InitGeneralLook(-1);

            try {
                InitGeneral(abortStartup);
            } catch (const std::bad_alloc&) {
                platform::dialogs::MsgBox("Mémoire insuffisante, programme stoppé",
                                          platform::dialogs::vbCritical, Caption());
                abortStartup = true;
            }
            if (!abortStartup) return StepEnd::Proceed;
            Unload(platform::forms::vbFormCode);
            return StepEnd::Halt;
        },
        [this] {
            Lib_Systeme::RemoveLeftoverTemporaries(writtenFolders(), kCaller);

            showStep("Skyplate: Init: Create Object");
            CreationDesObjets();
            showStep("Skyplate: Init: Tableur");
            Lib_Tableur::InitGeneralTableur(true, true);
            showStep("Skyplate: Init: Display");
            windowPlacement();

            if (PbBFrmMsgDemarrage) {
                TheFrmMsg().Unload();
                PbBFrmMsgDemarrage = false;
            }
            Show(platform::forms::vbModeless);
            QCoreApplication::processEvents();
            return StepEnd::Proceed;
        },
        [this, &startup, &beginning, &abortStartup] {
            PbBFeuilleChargee = true;
            Lib_Public::TraceLogEncadre(
                -1, -1, -1,
                "----- Init: Duration: " + std::to_string(Lib_Systeme::GetTickCountEx() - beginning) + " ms",
                "=", false);

            if (containsNoCase(PbSLigneCommande, "/Veille=True")) {
                MiseEnVeilleDemandee = true;
                TimerVeille.setEnabled(true);
            }
            if (CheckIncidentsFeuilleNonChargee->Value() == platform::forms::vbChecked) {
                CheckIncidentsFeuilleNonChargee->SetValue(platform::forms::vbUnchecked);
                CheckIncidents[0]->SetValue(platform::forms::vbChecked);
            }

            Lib_Resize::ResizeCurrentOngletMain();
            if (Lib_Tableur::importGlobalWorkbook()) Lib_Resize::ResizeCurrentOngletMain();
            TableurInitDemarrage(PbINoBase, "Début Redémarrage");
            Lib_Public::TraceLogEncadre(-1, -1, -1, "Traitement des données non encore traitées: Start", "=",
                                        false);
            Lib_Public::SablierOn(*this);
            processUnprocessedData(abortStartup);
            Lib_Public::TraceLogEncadre(-1, -1, -1, "Traitement des données non encore traitées: End", "=",
                                        false);
            Lib_Public::SablierOff(*this);
            TableurInitDemarrage(PbINoBase, "Fin Redémarrage");
            startup.release();
            return StepEnd::Proceed;
        },
        [this] {
            const std::string launcherPath = PbSDossierApplication + "AL3_Relaytone_Launcher.exe";
            if (!Lib_Systeme::File_Exist(platform::process::Executable(launcherPath), kCaller, true))
                TraceLog(-1, -1, -1, "Err: Application not found: " + launcherPath, true);

            auto& engine = Frm_MainBis::get();
            for (const auto& file : engine.ListeDataArrival) {
                if (file.ListCount() == 0) continue;
                engine.TimerDataArrival.setEnabled(true);
                TraceLog(-1, -1, -1,
                         std::string("UDP: TimerDataArrival.Enabled : ") +
                             (engine.TimerDataArrival.Enabled() ? "True" : "False") +
                             " |Sub: Frm_Main:Form_Load:A");
                break;
            }

            // The user check, and after it the start mail and the standby option, run only when the
            // site requires a user.
            if (!Lib_Utilisateurs::UserObligatoire()) return StepEnd::Proceed;
            if (!checkUserAtStartup()) {
                PbBQuitter = true;
                if (!Abandon) Unload(platform::forms::vbFormCode);
                return StepEnd::Halt;
            }
            if (Lib_Email::noticeMailsActive())
                Lib_Email::EnvoiDuMail(0, mailconfig::kSupportAddress, "Relaytone lancé", 0, false, false,
                                       true, false);
            if (neighbours::FrmSetup().CheckMiseEnVeille() == platform::forms::vbChecked)
                MiseEnVeilleForcee();
            return StepEnd::Proceed;
        },
    };
    // Every step lets events run: a close that came meanwhile has already shut the program down,
    // so the start-up stops there.
    for (const auto& stage : stages)
        if (stage() == StepEnd::Halt || Abandon) break;
    startup.release();
    PbBDemarrageTermine = true;
}

void Frm_Main::processUnprocessedData(bool& abortStartup) {
    if (!PbBFRADx55Ouvert || PbBCheckFRADx55EnCours) return;
    const platform::ScopedFlag walker(PbBCheckFRADx55EnCours);
    PbDCheckFRADx55 = platform::clock::now();
    for (int16_t station = 1; station <= PbINbStations && !abortStartup && !Abandon; ++station) {
        FRADx55::StationWalk(PbINoBase, station, kCaller, abortStartup, FRADx55::Moment::AfterDelete,
                             [&](const EnregFRADx55& enreg) {
                                 const std::string textValue = VBA::Trim(FRADx55::Texte(enreg));
                                 if (!FRADx55::needsReplay(textValue)) return;
                                 Frm_MainBis::get().UDPDataArrival(station, textValue, true, abortStartup,
                                                                   kCaller);
                             });
    }
}
