// The plain look on the system colours (the skinned look comes with its component).
#include "shell/Lib_Look.h"

#include <QGuiApplication>
#include <QScreen>

#include "foundation/RunState.h"

namespace Lib_Look {

void InitGeneralLook(int32_t) {
    StyleLook = 20;
    SkinSansTheme = 1;
    const QScreen* ecran = QGuiApplication::primaryScreen();
    PbFCoefPolice = ecran && int(ecran->logicalDotsPerInchX()) == 120 ? 1.25f : 1.0f;
}

void LookFenetre(platform::forms::Form&) {}

}  // namespace Lib_Look
