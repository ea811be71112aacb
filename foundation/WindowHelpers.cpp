// Window helpers over the neighbour windows and the platform window interface.
#include "foundation/WindowHelpers.h"

#include <new>

#include <QCoreApplication>

#include "foundation/DailyLog.h"
#include "foundation/ErrorReporter.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "platform/VbErrors.h"

namespace Lib_Main {
namespace {

const std::string kCaller = "Lib_Main:AfficherFrmMsg";
// Statement numbers, as the failure lines name them.
constexpr int32_t kShowLine = 10;
constexpr int32_t kDrawLine = 20;
constexpr int32_t kClosingLine = 30;

// One statement: out of memory is a log line of its own, any other failure goes to the
// reporter; either way the next statement runs, so a start-up never ends on its progress window.
template <class Statement>
void stage(int32_t lineText, const std::string& caller, Statement&& statement) {
    try {
        statement();
    } catch (const std::bad_alloc&) {
        Lib_Public::TraceLog(
            -1, -1, -1,
            "Err: 7: Mémoire insuffisante |Sub: " + caller + ":" + kCaller + ":" + std::to_string(lineText));
    } catch (const std::exception& e) {
        Lib_Public::ReportError(platform::vb::kInvalidProcedureCall, e.what(), kCaller, "AL3_Relaytone",
                                lineText);
    }
}

}  // namespace

void AfficherFrmMsg(int16_t mode, const std::string& caller) {
    neighbours::FrmMsgServices& frmMsg = neighbours::Frm_Main().FrmMsg();
    if (mode == -1) {
        if (PbBFrmMsgAffichee) return;
        stage(kShowLine, caller, [&] { frmMsg.LoadAndShow(); });
        stage(kDrawLine, caller, [] { QCoreApplication::processEvents(); });
    } else if (PbBFrmMsgAffichee) {
        stage(kClosingLine, caller, [&] { frmMsg.Unload(); });
    }
}

}  // namespace Lib_Main

namespace Lib_Public {

void AfficherAuDessus(platform::Window& window, int16_t flag) {
    if (flag != -1 && flag != 0) return;
    window.SetTopmost(flag == -1);
    window.Tag.assign(1, flag == -1 ? '1' : '0');
}

void SablierOn(platform::Window& window) {
    window.SetMousePointer(11);
    QCoreApplication::processEvents();
}

void SablierOff(platform::Window& window) { window.SetMousePointer(0); }

void AfficherBarreDeTache(int16_t show) {
    TraceLog(-1, -1, -1,
             std::string("Warning: No taskbar to ") + (show == -1 ? "show" : "hide") +
                 " |Sub: Lib_Public:AfficherBarreDeTache");
}

void AfficherBureau(int16_t show) {
    TraceLog(-1, -1, -1,
             std::string("Warning: No desktop to ") + (show == -1 ? "show" : "hide") +
                 " |Sub: Lib_Public:AfficherBureau");
}

void CloseSoundRessource() {
    const PipeOut& pipe = PbTPipesOut[0];
    if (!pipe.initialised) return;
    neighbours::Frm_MainBisServices& engine = neighbours::Frm_MainBis();
    for (int16_t player = 0; player < 4; ++player)
        engine.DirectXOutStopSound(0, player, 0, "Lib_Public:CloseSoundRessource:B");
    engine.Amp3dj1_Release(0);
    int16_t device1 = pipe.selectedDevice, device2 = device1, device3 = device1, device4 = device1;
    engine.Amp3dj1_SystemStart(0, 4, neighbours::Frm_Main().hWnd(), device1, device2, device3, device4);
}

}  // namespace Lib_Public
