// Starting and waiting for outside programs, with the shell's refusals reported in French.
#include "foundation/ExternalPrograms.h"

#include <chrono>

#include <QCoreApplication>

#include "foundation/DailyLog.h"
#include "foundation/ErrorReporter.h"
#include "foundation/RunState.h"
#include "foundation/Timing.h"
#include "platform/VbErrors.h"
#include "platform/process/CommandLine.h"
#include "platform/process/Process.h"

namespace Lib_Systeme {
namespace {

namespace vb = platform::vb;

// The statement that raises the shell's refusal, as its report names it.
constexpr int32_t kRefusalLine = 20;

}  // namespace

ShellRefusal shellRefusalForCode(int32_t code) {
    const int32_t application = vb::kObjectError + 1048 + code;
    switch (code) {
        case 0:
        case 8:
            return {vb::kOutOfMemory, "Dépassement de mémoire"};
        case 2:
            return {vb::kFileNotFound, "Chemin d'accès non trouvé"};
        case 3:
            return {vb::kPathNotFound, "Chemin d'accès non trouvé"};
        case 5:
        case 26:
            return {vb::kPathFileAccessError, "Violation de partage: Erreur d'accès au Dossier/Fichier"};
        case 11:
            return {application, "Cet exécutable est invalide ou corrompu"};
        case 27:
        case 31:
            return {application, "Il n'y a aucune application associée à ce type de fichier"};
        case 28:
            return {vb::kDdeTimeout,
                    "Le fichier ne peut être ouvert car le délai d'attente est dépassé. Réessayez plus tard"};
        case 29:
            return {vb::kDdeRefused,
                    "Le fichier ne peut être ouvert car la transaction DDE a échoué. Réessayez plus tard"};
        case 30:
            return {vb::kDdeRefused,
                    "Le fichier ne peut être ouvert car l'application est occupée. Réessayez plus tard"};
        case 32:
            return {vb::kErrorLoadingDll, "Le fichier dll ne peut être trouvé"};
        default:
            return {application, "Erreur à l'ouverture ou l'impression du fichier sélectionné"};
    }
}

int32_t ExecuterProgrammeExterne(const std::string& /*verb*/, const std::string& file,
                                 const std::string& parameters, const std::string& folder,
                                 int32_t /*showCommand*/) {
    // Every caller opens ("Open") in a normal window (1): the starter has no other verb or
    // window state to give a program or document.
    platform::process::reapFinished();
    const platform::process::Started started =
        platform::process::start({file, platform::process::splitCommandLine(parameters), folder});
    const int32_t code = platform::process::shellCode(started);
    if (code > 32) return code;
    const ShellRefusal refusal = shellRefusalForCode(code);
    if (refusal.number == vb::kFileNotFound) {
        Lib_Public::TraceLog(
            -1, -1, -1,
            "Err: 53: " + refusal.description + ": " + file +
                " |Source: Lib_Systeme:ExecuterProgrammeExterne:" + std::to_string(kRefusalLine));
    } else {
        Lib_Public::ReportError(refusal.number, refusal.description, "Lib_Systeme:ExecuterProgrammeExterne",
                                "AL3_Relaytone.ExecuterProgrammeExterne", kRefusalLine);
    }
    return code;
}

int32_t AttenteFinProcessusExterne(int32_t processId, int32_t& timeoutMs) {
    using namespace std::chrono;
    const int64_t start = GetTickCountEx();
    int32_t code = platform::process::exitCode(processId);
    while (code == platform::process::StillActive) {
        code = platform::process::waitForExit(processId, milliseconds(20));
        if (code != platform::process::StillActive) break;
        if (timeoutMs > 0) {
            if (GetTickCountEx() - start > timeoutMs) break;
        } else if (Abandon || PbBQuitter) {
            break;
        }
        QCoreApplication::processEvents();
    }
    return code;
}

}  // namespace Lib_Systeme
