// The tray menu ("Afficher", "A propos...") and the way out of standby.
#include "shell/FrmSysTray.h"

#include <QAction>
#include <QApplication>
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

std::vector<platform::forms::Form*> FrmSysTray::FormesChargees() {
    std::vector<platform::forms::Form*> formes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* forme = dynamic_cast<platform::forms::Form*>(w); forme && forme->Loaded()) formes.push_back(forme);
    return formes;
}

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
    for (platform::forms::Form* forme : FormesChargees()) montrerSiListee(*forme);
    Lib_SysTray::RemoveIconFromTray();
    Lib_SysTray::EnVeille = false;
}

void FrmSysTray::Form_Unload(int&) {
    if (ListeFrm->ListCount() >= 1) AfficherFeuille();
}
