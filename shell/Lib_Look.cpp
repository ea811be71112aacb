// The look's start-up: the style from the registry, the skin stand-in and the font scale.
#include "shell/Lib_Look.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

#include "foundation/ConversionsVba.h"
#include "foundation/Registry.h"
#include "foundation/RunState.h"
#include "shell/Frm_Main.h"

namespace Lib_Look {
namespace {

QPalette paletteSkin() {
    QPalette palette = QApplication::palette();
    const QColor grey(182, 182, 182);
    for (const auto role : {QPalette::Window, QPalette::Button, QPalette::AlternateBase})
        palette.setColor(role, grey);
    palette.setColor(QPalette::Highlight, kActiveTabEnd);
    return palette;
}

std::string readSetting(const std::string& nameText) {
    std::string valueText;
    Lib_Systeme::Reg_GetValue(Lib_Systeme::HKEY_LOCAL_MACHINE, kLookKey, nameText, valueText);
    return valueText;
}

void writeOut(const std::string& nameText, const std::string& valueText) {
    Lib_Systeme::Reg_SetValue(Lib_Systeme::HKEY_LOCAL_MACHINE, kLookKey, nameText, valueText);
}

int32_t registryStyle() {
    std::string style = readSetting("Style");
    if (VBA::Val(style) == 17 && VBA::Trim(readSetting("StyleBis")).empty()) {
        writeOut("StyleBis", "Ok");
        writeOut("Style", "15");
        style = readSetting("Style");
    }
    if (VBA::Trim(style).empty()) {
        writeOut("Style", "15");
        return 15;
    }
    return VBA::CLng(VBA::Val(style));
}

}  // namespace

void SkinFramework::LoadSkin(const std::string& dossier, const std::string& iniFile) {
    folder_ = dossier;
    iniFile_ = iniFile;
}

void SkinFramework::ApplyWindow(QWidget& win) {
    if (!skinLoaded()) return;
    win.setPalette(paletteSkin());
    win.setAutoFillBackground(true);
}

void SkinFramework::SetApplyOptions(int32_t options) {
    options_ = options;
    if (skinLoaded() && (options_ & 1)) QApplication::setPalette(paletteSkin());
}

SkinFramework& Skin() {
    static SkinFramework skin;
    return skin;
}

void resetLook() {
    if (Skin().skinLoaded() && (Skin().ApplyOptions() & 1)) QApplication::setPalette(QPalette());
    Skin() = {};
    StyleLook = 20;
    SkinSansTheme = 1;
}

void InitGeneralLook(int32_t style) {
    if (style == -1) style = registryStyle();
    StyleLook = style == 15 ? 15 : 20;

    const std::string skinsFolder = PbSDossierApplication + "Settings\\Skins\\Styles";
    if (StyleLook == 15) {
        Skin().LoadSkin(skinsFolder + "\\iTunes", "Normalitunes.ini");
        SkinSansTheme = 0;
    } else {
        Skin().LoadSkin("", "");
        SkinSansTheme = 1;
    }
    if (Frm_Main* mainForm = TheFrm_Main()) Skin().ApplyWindow(*mainForm);
    Skin().SetApplyOptions(Skin().ApplyOptions() | 1);

    // Qt scales a large-font screen down to 96 dots per inch with a device pixel ratio; the
    // screen's own figure is their product.
    const QScreen* display = QGuiApplication::primaryScreen();
    const int dotsPerInch =
        display ? qRound(display->logicalDotsPerInchX() * display->devicePixelRatio()) : 96;
    PbFCoefPolice = dotsPerInch == 120 ? 1.25f : 1.0f;
}

}  // namespace Lib_Look
