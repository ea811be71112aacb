// The tray menu ("Afficher", "A propos...") and the way out of standby.
#include "shell/FrmSysTray.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

#include "shell/Frm_Main.h"
#include "shell/Lib_SysTray.h"

FrmSysTray::FrmSysTray() : Form("FrmSysTray") {
    ListeFrm = new platform::forms::ListBox(this);
    ListeFrm->hide();
    MnuFlottant = new QMenu("Flottant", this);
    MnuAfficher = MnuFlottant->addAction("Afficher");
    MnuSep01 = MnuFlottant->addSeparator();
    MnuAbout = MnuFlottant->addAction("A propos...");
    connect(MnuAfficher, &QAction::triggered, this, [this] { AfficherFeuille(); });
    connect(MnuAbout, &QAction::triggered, this, [] {
        if (Frm_Main* principale = TheFrm_Main()) principale->AfficherAPropos();
    });
}

// A copy: showing or hiding a window may load or unload another one meanwhile.
std::vector<platform::forms::Form*> FrmSysTray::FormesChargees() { return platform::forms::Form::LoadedForms(); }

void FrmSysTray::SysTrayMouseEventHandler() { MnuFlottant->popup(QCursor::pos()); }

void FrmSysTray::montrerSiListee(platform::forms::Form& forme) {
    const std::string handle = std::to_string(Lib_SysTray::Handle(forme));
    for (int i = 0; i < ListeFrm->ListCount(); ++i) {
        if (ListeFrm->List(i) != handle) continue;
        if (forme.isMinimized()) forme.setWindowState(forme.windowState() & ~Qt::WindowMinimized);
        forme.show();
        forme.activateWindow();
        forme.setFocus();
        ListeFrm->RemoveItem(i);
        return;
    }
}

void FrmSysTray::AfficherFeuille() {
    Lib_SysTray::UnHook();
    if (Frm_Main* principale = TheFrm_Main()) montrerSiListee(*principale);
    const auto formes = FormesChargees();
    for (auto forme = formes.rbegin(); forme != formes.rend(); ++forme) montrerSiListee(**forme);
    Lib_SysTray::RemoveIconFromTray();
    Lib_SysTray::EnVeille = false;
}

void FrmSysTray::Form_Unload(int&) {
    if (ListeFrm->ListCount() >= 1) AfficherFeuille();
}
