// Web_VerificationDerniereVersion: request, bounded wait, verdict or message, answer file removed.
#include "engine/UpdateCheck.h"

#include <cstdlib>
#include <exception>
#include <functional>

#include "engine/ErrorTrap.h"
#include "engine/EventPass.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/ErrorReporter.h"
#include "foundation/FileVersions.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/LogText.h"
#include "foundation/NeighbourServices.h"
#include "foundation/Timing.h"
#include "platform/Dialogs.h"
#include "platform/ScopedFlag.h"
#include "platform/VbErrors.h"

namespace engine {
namespace {

const std::string kCaller = "Frm_MainBis:Web_VerificationDerniereVersion";
const std::string kDefaultService = "http://services.vantremo.fr";

void message(const std::string& text) {
    platform::dialogs::MsgBox(text,
                              platform::dialogs::vbExclamation | platform::dialogs::vbMsgBoxSetForeground,
                              neighbours::Frm_Main().Caption());
}

// The lines carry the service's texts (version, status line): shown on one line each.
void log(const std::string& text) {
    Lib_Public::TraceLog(-1, -1, -1, logtext::visible(text) + " |Sub: " + kCaller);
}

}  // namespace

std::string versionServiceAddress() {
    const char* address = std::getenv("AL3_VERSION_SERVICE");
    return address && *address ? address : kDefaultService;
}

UpdateCheckHost::UpdateCheckHost(TaskDialogControl& taskDialog) : taskDialog_(taskDialog) {
    clHttp.OnReceiveResponse = [this](const std::vector<std::string>& header) {
        clHttp_OnReceiveResponse(header);
    };
    clHttpRK.OnReceiveResponse = [this](const std::vector<std::string>& header) {
        clHttpRK_OnReceiveResponse(header);
    };
    clHttpBWBroadcast.OnReceiveResponse = [this](const std::vector<std::string>& header) {
        clHttpBWBroadcast_OnReceiveResponse(header);
    };
}

void UpdateCheckHost::Web_VerificationDerniereVersion() {
    // A nested check would drop the running request and leave its wait a spurious error.
    if (checkUnderWay_) {
        log("Warning: Web: Last version: a check is already under way, this one is refused");
        return;
    }
    const platform::ScopedFlag underWay(checkUnderWay_);
    std::string fichier = kVersionReplyFile;
    int64_t beginning = 0;
    Trap(kCaller, [&] {
        HttpRequeteEnCours = true;
        HttpReponseRecue = false;
        HttpReponseOK = false;
        HttpMessageErreur.clear();
        beginning = Lib_Systeme::GetTickCountEx();
    });
    const std::function<void()> stages[] = {
        [&] {
            clHttp.Get(versionServiceAddress() + kVersionServicePath + "?_method=" + "getByIdLocal" +
                           "&IdLocal=" + kApplicationKey,
                       fichier);
        },
        [&] { awaitReply(beginning); },
        [&] { clHttp.Close(); },
        [&] {
            if (HttpReponseOK) {
                const VersionAnswer reply = readVersionReply(fichier);
                if (!reply.ok) {
                    log("Err: Web: Last version: answer not readable: " + reply.reason);
                    message("Erreur sur la requête lancée: " + HttpMessageErreur);
                    return;
                }
                const std::string current = VBA::Left(Lib_Systeme::VersionApplication(), 9);
                log("Web: Last version: " + reply.version + " |Running: " + current);
                showVerdict(reply.version, current);
                return;
            }
            if (Lib_Systeme::File_Exist(fichier, kCaller, true)) Lib_Systeme::File_Delete(fichier, kCaller);
            if (!HttpMessageErreur.empty()) {
                log("Err: Web: Last version: " + HttpMessageErreur);
                message("Erreur sur la requête lancée: " + HttpMessageErreur);
            }
        },
    };
    // Each step reports its own failure and the next one runs, as after "Resume Next"; a lost
    // connection skips to removing the answer file.
    for (const auto& stage : stages)
        if (runHttpStage(stage) == StageEnd::ConnectionLost) break;
    Trap(kCaller, [&] {
        if (Lib_Systeme::File_Exist(fichier, kCaller)) Lib_Systeme::File_Delete(fichier, kCaller);
    });
}

UpdateCheckHost::StageEnd UpdateCheckHost::runHttpStage(const std::function<void()>& body) {
    try {
        body();
    } catch (const platform::http::HttpError& errorText) {
        if (errorText.number() != platform::vb::kUnexpectedFailure) {
            Lib_Public::ReportError(errorText.number(), errorText.what(), kCaller);
            return StageEnd::NextStage;
        }
        log("Err: Web: Last version: Connection lost: " + std::string(errorText.what()));
        message("Connexion perdue ou délai TimeOut dépassé.");
        clHttp.Close();
        return StageEnd::ConnectionLost;
    } catch (const std::exception& errorText) {
        Lib_Public::ReportError(platform::vb::kInvalidProcedureCall, errorText.what(), kCaller);
    }
    return StageEnd::NextStage;
}

void UpdateCheckHost::awaitReply(int64_t beginning) {
    for (;;) {
        if (!passEvents(10)) {
            // Nobody is left to read a box; the answer file still goes.
            log("Err: Web: Last version: the program ended before the answer");
            return;
        }
        if (std::llabs(Lib_Systeme::GetTickCountEx() - beginning) > kReplyWaitMs) {
            log("Err: Web: Last version: no answer within " + std::to_string(kReplyWaitMs) + " ms");
            message("Délai d'attente trop long. Veuillez vérifier votre connexion Internet.");
            return;
        }
        if (HttpReponseRecue) return;
        if (const auto failureText = clHttp.Failure()) throw *failureText;
    }
}

void UpdateCheckHost::showVerdict(const std::string& latestVersion, const std::string& current) {
    TaskDialogControl& dialog = taskDialog_;
    dialog.Reset();
    dialog.SetProperty(24, true);
    dialog.SetProperty(6, 280);
    dialog.WindowTitle = neighbours::Frm_Main().Caption();
    dialog.MainInstruction = "Dernière version disponible: " + latestVersion;
    dialog.Content = "Votre version: " + current;
    dialog.Footer = latestVersion > current ? "Vous n'êtes pas à jour" : "Vous êtes à jour";
    dialog.CommonButtons = tdbOk;
    dialog.SetProperty(16, false);
    dialog.SetProperty(30, true);
    dialog.DefaultButton = IDOK;
    dialog.SetProperty(25, 1);
    dialog.hWndParent = neighbours::Frm_Main().hWnd();
    dialog.ShowDialog();
}

}  // namespace engine
