// Composing and showing the record-manager error report.
#include "btrieve/ErrorReport.h"

#include <filesystem>
#include <system_error>

#include "btrieve/BtrState.h"
#include "btrieve/History.h"
#include "btrieve/Seams.h"
#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/Timing.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/btrcall/Btrcall.h"
#include "platform/process/Process.h"

namespace Lib_Data_BTrieve_2 {
namespace {

namespace btr = platform::btrcall;
namespace dialogs = platform::dialogs;

std::string programName() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).stem().string();
}

std::string heading(int16_t file) {
    const std::string when =
        Lib_Public::Date2StringEx(platform::clock::now(), PbSFormatDate + " " + PbSFormatHeure);
    if (file < 0) return when + "\n";
    return "Fichier :  (" + programName() + ")  (" + when + ")\n";
}

std::string historyLines(int16_t base) {
    std::string lines;
    const auto& entries = BtrCallHistory[size_t(base)];
    for (size_t slot = 0; slot < entries.size(); ++slot)
        if (!VBA::Trim(entries[slot]).empty())
            lines += " " + std::to_string(slot) + ">" + entries[slot] + "\n";
    return lines;
}

bool damaging(int16_t status) {
    return status == btr::StatusIoError || status == btr::StatusPreImageOpenError ||
           status == btr::StatusPreImageIoError || status == btr::StatusUnrecoverable ||
           status == btr::StatusNotOurFile || (status == btr::StatusKeyNotFound && PbIBtrOp == btr::OpDelete);
}

int box(const std::string& text, bool informAndQuit) {
    const int style = informAndQuit ? dialogs::vbInformation | dialogs::vbOKOnly
                                    : dialogs::vbCritical | dialogs::vbAbortRetryIgnore;
    return dialogs::MsgBox(text, style, neighbours::Frm_Main().Caption());
}

// Asks the main window to quit; when it went ahead this process ends, and only this one.
void quit() {
    Lib_Public::TraceLogEncadre(-1, -1, -1, "Close Application ? ErreurBTrieve", "*", false);
    neighbours::Frm_Main().Quitter(true);
    if (PbBQuitter) Lib_Data_BTrieve::seams::endProcess();
}

void restart(const std::string& text, bool informAndQuit) {
    // "AL3_Relaytone_Launcher.exe" of the program folder: the executable has no extension here.
    const std::string launcher = PbSDossierApplication + "AL3_Relaytone_Launcher";
    if (!Lib_Systeme::File_Exist(launcher, "Lib_Data_BTrieve_2:ErreurBTrieve", true)) {
        box(text, informAndQuit);
        return;
    }
    platform::process::start({launcher, {}, {}});
    quit();
}

}  // namespace

std::string ErreurBTrieveLibelle(int16_t status, const std::string& fileName) {
    const std::string n = std::to_string(status);
    std::string text;
    switch (status) {
        case 1:
            text = "Err: 1: The operation parameter is invalid";
            break;
        case 2:
            text = "Err: 2: The application encountered an I/O error";
            break;
        case 3:
            text = "Err: 3: The file is not open";
            break;
        case 4:
            text = "Err: 4: The application cannot find the key value";
            break;
        case 5:
            text = "Err: 5: The record has a key field containing a duplicate key value";
            break;
        case 6:
            text = "Err: 6: The key number parameter is invalid";
            break;
        case 7:
            text = "Err: 7: The key number has changed";
            break;
        case 8:
            text = "Err: 8: The current positioning is invalid";
            break;
        case 11:
            text = "Err: 11: The specified filename is invalid (" + fileName + ")";
            break;
        case 12:
            text = "Err: 12: The MicroKernel cannot find the specified file (" + fileName + ")";
            break;
        case 18:
            text = "Err: 18: The disk is full";
            break;
        case 19:
            text = "Err: 19: The application encountered an unrecoverable error";
            break;
        case 30:
            text = "Err: 30: The file specified is not a MicroKernel file";
            break;
        case 46:
            text = "Err: 46: Access to the requested file is denied (File locked ?)";
            break;
        case 161:
            text = "Err: 161: The maximum number of user count licenses has been reached";
            break;
        case 2007:
            text = "Err: 2007: A pointer parameter is invalid";
            break;
        default:
            text = status >= 3103 && status <= 3132 ? "Err: " + n + ": Network error" : "Err: " + n;
    }
    return text + "\n";
}

void ErreurBTrieve(int16_t base, int16_t file, const std::string& fileName, const std::string& /*caller*/,
                   bool quiet, bool informAndQuit, bool showBox) {
    const int16_t status = PbIBtrStatus;
    if (status == btr::StatusOk) return;
    const bool baseKnown = base >= 0 && base < kNbBasesBTR;
    std::string text = heading(file) + ErreurBTrieveLibelle(status, fileName) + "\n";
    if (!quiet) {
        if (status != btr::StatusLicenseLimit && baseKnown) {
            Lib_Data_BTrieve::prefixHistoryStatus(base, status);
            text += historyLines(base);
        }
        if (damaging(status)) text += "\nFaîtes une restauration de ce fichier\n";
    }
    if (status == btr::StatusConflict) return;

    bool restartMode = false;
    if (status >= 3000 && status <= 3132) {
        if (Lib_Systeme::GetTickCountEx() > 300000) {
            Lib_Public::TraceLogEncadre(
                base, -1, -1, "Reboot the Computer because of Pervasive Err: " + std::to_string(status), "=",
                true);
            restartMode = true;
        } else {
            Lib_Public::TraceLogEncadre(
                base, -1, -1, "Err: Network Pervasive errors: " + std::to_string(status), "=", true);
            text =
                "Le programme a rencontré un problème de connexion au serveur.\n\n"
                "Veuillez vérifier la connectique de votre réseau.";
        }
    }
    Lib_Public::TraceLog(-1, -1, -1, "Err: " + text, false, -1, nullptr, true);

    if (restartMode) return restart(text, informAndQuit);
    if (!showBox) return;
    const int answer = box(text, informAndQuit);
    if (!informAndQuit && answer == dialogs::vbAbort) return;
    quit();
}

}  // namespace Lib_Data_BTrieve_2
