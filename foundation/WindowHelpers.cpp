// Window helpers over the neighbour windows and the platform window interface.
#include "foundation/WindowHelpers.h"

#include <QCoreApplication>

#include "foundation/DailyLog.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"

namespace Lib_Main {

void AfficherFrmMsg(int16_t mode, const std::string& /*caller*/) {
    neighbours::FrmMsgServices& frmMsg = neighbours::Frm_Main().FrmMsg();
    if (mode == -1) {
        if (PbBFrmMsgAffichee) return;
        frmMsg.LoadAndShow();
        QCoreApplication::processEvents();
    } else if (PbBFrmMsgAffichee) {
        frmMsg.Unload();
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
    TraceLog(-1, -1, -1, std::string("Warning: No taskbar to ") + (show == -1 ? "show" : "hide") +
                             " |Sub: Lib_Public:AfficherBarreDeTache");
}

void AfficherBureau(int16_t show) {
    TraceLog(-1, -1, -1, std::string("Warning: No desktop to ") + (show == -1 ? "show" : "hide") +
                             " |Sub: Lib_Public:AfficherBureau");
}

void CloseSoundRessource() {
    const PipeOut& pipe = PbTPipesOut[0];
    if (!pipe.Initialise) return;
    neighbours::Frm_MainBisServices& engine = neighbours::Frm_MainBis();
    for (int16_t player = 0; player < 4; ++player)
        engine.DirectXOutStopSound(0, player, 0, "Lib_Public:CloseSoundRessource:B");
    engine.Amp3dj1_Release(0);
    int16_t device1 = pipe.NoDeviceSelectionne, device2 = device1, device3 = device1,
            device4 = device1;
    engine.Amp3dj1_SystemStart(0, 4, neighbours::Frm_Main().hWnd(), device1, device2, device3,
                               device4);
}

}  // namespace Lib_Public
