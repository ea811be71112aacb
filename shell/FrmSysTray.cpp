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
        if (Frm_Main* mainForm = TheFrm_Main()) mainForm->showAbout();
    });
}

// A copy: showing or hiding a window may load or unload another one meanwhile.
std::vector<platform::forms::Form*> FrmSysTray::loadedForms() { return platform::forms::Form::LoadedForms(); }

void FrmSysTray::SysTrayMouseEventHandler() { MnuFlottant->popup(QCursor::pos()); }

void FrmSysTray::showIfListed(platform::forms::Form& form) {
    const std::string handle = std::to_string(Lib_SysTray::Handle(form));
    for (int i = 0; i < ListeFrm->ListCount(); ++i) {
        if (ListeFrm->List(i) != handle) continue;
        if (form.isMinimized()) form.setWindowState(form.windowState() & ~Qt::WindowMinimized);
        form.show();
        form.activateWindow();
        form.setFocus();
        ListeFrm->RemoveItem(i);
        return;
    }
}

void FrmSysTray::AfficherFeuille() {
    Lib_SysTray::UnHook();
    if (Frm_Main* mainForm = TheFrm_Main()) showIfListed(*mainForm);
    const auto openForms = loadedForms();
    for (auto form = openForms.rbegin(); form != openForms.rend(); ++form) showIfListed(**form);
    Lib_SysTray::RemoveIconFromTray();
    Lib_SysTray::EnVeille = false;
}

void FrmSysTray::Form_Unload(int&) {
    if (ListeFrm->ListCount() >= 1) AfficherFeuille();
}
