// The previous-instance test: tell the user, or ask the older copy to quit and make sure it goes.
#include <chrono>

#include <QCoreApplication>

#include "foundation/DailyLog.h"
#include "foundation/ExternalPrograms.h"
#include "foundation/NeighbourServices.h"
#include "foundation/Timing.h"
#include "platform/Dialogs.h"
#include "platform/process/Process.h"
#include "platform/process/WindowLookup.h"

namespace Lib_Public {
namespace {

const std::string kCaller = "Lib_Public:TesterPrevInstance";
constexpr int kPasses = 10;
constexpr int32_t kPassWaitMs = 5000;
constexpr std::chrono::milliseconds kGrace{2000};

bool previousCopyRunning() { return platform::process::findWindow(PbSTitreApplication).has_value(); }

}  // namespace

bool TesterPrevInstance(bool& endingMode, int32_t& waitMs) {
    bool found = previousCopyRunning();
    if (found && waitMs > 0) {
        Lib_Systeme::WaitOnDuration(waitMs);
        found = previousCopyRunning();
    }
    if (!found) return true;

    if (!endingMode) {
        platform::dialogs::MsgBox(
            "Application encore chargée en mémoire.\r\n\r\n"
            "Veuillez la quitter avant de relancer une autre instance de cette application.",
            platform::dialogs::vbCritical, neighbours::Frm_Main().Caption());
        return false;
    }

    // Start-up waits 5000 ms between passes; a caller's own wait sets the pace otherwise.
    const int32_t passWait = waitMs > 0 ? waitMs : kPassWaitMs;
    std::optional<platform::process::FoundWindow> window;
    for (int pass = 0; pass < kPasses; ++pass) {
        QCoreApplication::processEvents();
        window = platform::process::findWindow(PbSTitreApplication);
        if (!window) return true;
        TraceLogEncadre(-1, -1, -1,
                        "Err: PrevInstance found in Windows memory. Prev-Instance try to kill |Hwnd:" +
                            std::to_string(window->handle),
                        "=", false);
        TraceLogForce(kCaller);
        platform::process::postQuit(*window);
        Lib_Systeme::WaitOnDuration(passWait);
    }
    window = platform::process::findWindow(PbSTitreApplication);
    if (!window) return true;
    // Two copies must never drain and delete the same records: the survivor is ended.
    TraceLog(-1, -1, -1,
             "Err: PrevInstance still running: ended by its process id |Pid:" + std::to_string(window->pid) +
                 " |Sub: " + kCaller);
    platform::process::endProcess(window->pid, kGrace);
    return true;
}

}  // namespace Lib_Public
