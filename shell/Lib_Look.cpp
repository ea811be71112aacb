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
    const QColor gris(182, 182, 182);
    for (const auto role : {QPalette::Window, QPalette::Button, QPalette::AlternateBase})
        palette.setColor(role, gris);
    palette.setColor(QPalette::Highlight, kOngletActifFin);
    return palette;
}

std::string lire(const std::string& nom) {
    std::string valeur;
    Lib_Systeme::Reg_GetValue(Lib_Systeme::HKEY_LOCAL_MACHINE, kCleLook, nom, valeur);
    return valeur;
}

void ecrire(const std::string& nom, const std::string& valeur) {
    Lib_Systeme::Reg_SetValue(Lib_Systeme::HKEY_LOCAL_MACHINE, kCleLook, nom, valeur);
}

int32_t styleDuRegistre() {
    std::string style = lire("Style");
    if (VBA::Val(style) == 17 && VBA::Trim(lire("StyleBis")).empty()) {
        ecrire("StyleBis", "Ok");
        ecrire("Style", "15");
        style = lire("Style");
    }
    if (VBA::Trim(style).empty()) {
        ecrire("Style", "15");
        return 15;
    }
    return VBA::CLng(VBA::Val(style));
}

}  // namespace

void SkinFramework::LoadSkin(const std::string& dossier, const std::string& fichierIni) {
    dossier_ = dossier;
    fichierIni_ = fichierIni;
}

void SkinFramework::ApplyWindow(QWidget& fenetre) {
    if (!SkinCharge()) return;
    fenetre.setPalette(paletteSkin());
    fenetre.setAutoFillBackground(true);
}

void SkinFramework::SetApplyOptions(int32_t options) {
    options_ = options;
    if (SkinCharge() && (options_ & 1)) QApplication::setPalette(paletteSkin());
}

SkinFramework& Skin() {
    static SkinFramework skin;
    return skin;
}

void resetLook() {
    if (Skin().SkinCharge() && (Skin().ApplyOptions() & 1)) QApplication::setPalette(QPalette());
    Skin() = {};
    StyleLook = 20;
    SkinSansTheme = 1;
}

void InitGeneralLook(int32_t style) {
    if (style == -1) style = styleDuRegistre();
    StyleLook = style == 15 ? 15 : 20;

    const std::string dossierSkins = PbSDossierApplication + "Settings\\Skins\\Styles";
    if (StyleLook == 15) {
        Skin().LoadSkin(dossierSkins + "\\iTunes", "Normalitunes.ini");
        SkinSansTheme = 0;
    } else {
        Skin().LoadSkin("", "");
        SkinSansTheme = 1;
    }
    if (Frm_Main* principale = TheFrm_Main()) Skin().ApplyWindow(*principale);
    Skin().SetApplyOptions(Skin().ApplyOptions() | 1);

    // Qt scales a large-font screen down to 96 dots per inch with a device pixel ratio; the
    // screen's own figure is their product.
    const QScreen* ecran = QGuiApplication::primaryScreen();
    const int pointsParPouce = ecran ? qRound(ecran->logicalDotsPerInchX() * ecran->devicePixelRatio()) : 96;
    PbFCoefPolice = pointsParPouce == 120 ? 1.25f : 1.0f;
}

}  // namespace Lib_Look
