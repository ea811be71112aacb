// The log reader: the user picks a day's file and it opens in the desktop's opener.
#include "foundation/Conversions.h"
#include "foundation/DailyLog.h"
#include "foundation/ErrorReporter.h"
#include "foundation/NeighbourServices.h"
#include "platform/Clock.h"
#include "platform/VbErrors.h"
#include "platform/WinPath.h"
#include "platform/process/Process.h"

namespace Lib_Public {
namespace {

// The desktop's opener first, then graphical editors: VISUAL and EDITOR name terminal editors,
// which show nothing when a desktop program starts them.
const char* const kOpeners[] = {"xdg-open", "gnome-text-editor", "gedit", "kate",
                                "kwrite",   "mousepad",          "pluma", "xed"};

// True once one of them started with the file; each is tried once.
bool open(const std::string& hostFile) {
    for (const char* name : kOpeners) {
        const std::string program = platform::process::programOnPath(name);
        if (!program.empty() && platform::process::start({program, {hostFile}, {}}).ok()) return true;
    }
    return false;
}

}  // namespace

void LectureLog(const std::string& folder, const std::string& prefix) {
    const std::string caller = "Lib_Public:LectureLog";
    TraceLogForce(caller);

    neighbours::OpenFileRequest request;
    request.initialFolder = folder;
    request.filter = "Logs|*.log";
    request.filterIndex = 1;
    request.fileName = folder + prefix + D2S(platform::clock::now()) + ".Log";
    AfficherMessageBoxOuInputBox(-1);
    const auto chosen = neighbours::Frm_MainBis().CMDialog_ShowOpen(request);
    AfficherMessageBoxOuInputBox(0);
    // A cancel closes quietly.
    if (!chosen || chosen->empty()) return;

    const auto host = platform::winpath::toHost(*chosen);
    // The file goes to the program as one argument: no shell ever reads its name.
    if (!open(host.empty() ? *chosen : host.string()))
        ReportError(platform::vb::kFileNotFound, "File not found: xdg-open or a graphical text editor",
                    caller);
}

}  // namespace Lib_Public
