// The main window's menu bar and the commands that only hand over to their modules.
#include <exception>
#include <string>
#include <utility>

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>

#include "engine/ErrorTrap.h"
#include "foundation/DailyLog.h"
#include "foundation/RunState.h"
#include "platform/Dialogs.h"
#include "settings/FrmSetup.h"
#include "shell/FrmAbout.h"
#include "shell/Frm_Main.h"
#include "shell/Lib_SysTray.h"

namespace {

const std::string kSubject = "Frm_Main:";

QAction* entry(QMenu* menu, const char* nameText, const QString& textValue,
               const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(textValue);
    action->setObjectName(nameText);
    action->setShortcut(shortcut);
    return action;
}

}  // namespace

void Frm_Main::createMenus() {
    auto* menuStrip = new QMenuBar(this);
    layout()->setMenuBar(menuStrip);

    Mnu01 = menuStrip->addMenu("Fichier");
    Mnu01CurrentUser = entry(Mnu01, "Mnu01CurrentUser", "Utilisateur en cours");  // no command
    Mnu01User = entry(Mnu01, "Mnu01User", "Changer d'utilisateur...");
    Mnu01->addSeparator();
    Mnu01Refresh = entry(Mnu01, "Mnu01Refresh", "Refresh des données...");
    Mnu01->addSeparator();
    Mnu01Veille = entry(Mnu01, "Mnu01Veille", "Mise en veille");
    Mnu01->addSeparator();
    Mnu01Options = entry(Mnu01, "Mnu01Options", "Options...", QKeySequence("Ctrl+O"));
    Mnu01->addSeparator();
    Mnu01Log = entry(Mnu01, "Mnu01Log", "Log technique...", QKeySequence("Ctrl+F2"));
    Mnu01->addSeparator();
    MnuQuitter = entry(Mnu01, "MnuQuitter", "Quitter", QKeySequence("Ctrl+Q"));

    Mnu99 = menuStrip->addMenu("?");
    for (const char* textValue : {"Historique des révisions...", "Vérifier la dernière version disponible...",
                                  "Liste des composants Aerolune installés..."})
        MnuWhatNews.push_back(entry(Mnu99, "MnuWhatNews", textValue));
    Mnu99->addSeparator();
    Mnu99APropos = entry(Mnu99, "Mnu99APropos", "A propos...");

    connect(Mnu01User, &QAction::triggered, this, [this] { Mnu01User_Click(); });
    connect(Mnu01Refresh, &QAction::triggered, this, [this] { Mnu01Refresh_Click(); });
    connect(Mnu01Veille, &QAction::triggered, this, [this] { Mnu01Veille_Click(); });
    connect(Mnu01Options, &QAction::triggered, this, [this] { Mnu01Options_Click(); });
    connect(Mnu01Log, &QAction::triggered, this, [this] { Mnu01Log_Click(); });
    connect(MnuQuitter, &QAction::triggered, this, [this] { MnuQuitter_Click(); });
    for (int i = 0; i < int(MnuWhatNews.size()); ++i)
        connect(MnuWhatNews[i], &QAction::triggered, this, [this, i] { MnuWhatNews_Click(i); });
    connect(Mnu99APropos, &QAction::triggered, this, [this] { Mnu99APropos_Click(); });
}

void Frm_Main::Mnu01Refresh_Click() {
    engine::Trap(kSubject + "Mnu01Refresh_Click", [this] {
        using namespace platform::dialogs;
        MsgBox("Voulez-vous réinitialiser les données ?", vbYesNo + vbQuestion, Caption());
    });
}

void Frm_Main::Mnu01Veille_Click() {
    engine::Trap(kSubject + "Mnu01Veille_Click", [this] { MiseEnVeilleForcee(); });
}

void Frm_Main::MiseEnVeilleForcee() {
    engine::Trap(kSubject + "MiseEnVeilleForcee",
                 [this] { Lib_SysTray::MiseEnVeille(*this, true, "Aerolune: Skyplate"); });
}

void Frm_Main::Mnu01Options_Click() {
    engine::Trap(kSubject + "Mnu01Options_Click", [this] {
        if (PbBQuitter) return;
        FrmSetup& settings = FrmSetup::get();
        // A window the operator minimised is visible but out of sight: it comes back.
        if (settings.Visible() && !settings.isMinimized()) {
            settings.Hide();
            return;
        }
        if (settings.isMinimized()) settings.setWindowState(settings.windowState() & ~Qt::WindowMinimized);
        settings.Show(platform::forms::vbModeless, this);
    });
}

void Frm_Main::Mnu01Log_Click() {
    engine::Trap(kSubject + "Mnu01Log_Click", [] { Lib_Public::LectureLog(PbSDossierLog, ""); });
}

void Frm_Main::MnuQuitter_Click() {
    engine::Trap(kSubject + "MnuQuitter_Click", [this] { Quitter(false); });
}

// The about box is a courtesy: whatever fails here is not worth a report.
void Frm_Main::Mnu99APropos_Click() {
    try {
        showAbout();
    } catch (const std::exception&) {}
}

namespace {

FrmAbout*& aboutBox() {
    static FrmAbout* boite = nullptr;
    return boite;
}

}  // namespace

void Frm_Main::showAbout() {
    if (!aboutBox()) aboutBox() = new FrmAbout;  // kept for the run, as every window of the program
    aboutBox()->Show(platform::forms::vbModeless, this);
}

void releaseFrmAbout() { delete std::exchange(aboutBox(), nullptr); }
