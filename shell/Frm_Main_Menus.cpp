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

const std::string kObjet = "Frm_Main:";

QAction* entree(QMenu* menu, const char* nom, const QString& texte, const QKeySequence& raccourci = {}) {
    QAction* action = menu->addAction(texte);
    action->setObjectName(nom);
    action->setShortcut(raccourci);
    return action;
}

}  // namespace

void Frm_Main::CreerMenus() {
    auto* barre = new QMenuBar(this);
    layout()->setMenuBar(barre);

    Mnu01 = barre->addMenu("Fichier");
    Mnu01CurrentUser = entree(Mnu01, "Mnu01CurrentUser", "Utilisateur en cours");  // no command
    Mnu01User = entree(Mnu01, "Mnu01User", "Changer d'utilisateur...");
    Mnu01->addSeparator();
    Mnu01Refresh = entree(Mnu01, "Mnu01Refresh", "Refresh des données...");
    Mnu01->addSeparator();
    Mnu01Veille = entree(Mnu01, "Mnu01Veille", "Mise en veille");
    Mnu01->addSeparator();
    Mnu01Options = entree(Mnu01, "Mnu01Options", "Options...", QKeySequence("Ctrl+O"));
    Mnu01->addSeparator();
    Mnu01Log = entree(Mnu01, "Mnu01Log", "Log technique...", QKeySequence("Ctrl+F2"));
    Mnu01->addSeparator();
    MnuQuitter = entree(Mnu01, "MnuQuitter", "Quitter", QKeySequence("Ctrl+Q"));

    Mnu99 = barre->addMenu("?");
    for (const char* texte : {"Historique des révisions...", "Vérifier la dernière version disponible...",
                              "Liste des composants Aerolune installés..."})
        MnuWhatNews.push_back(entree(Mnu99, "MnuWhatNews", texte));
    Mnu99->addSeparator();
    Mnu99APropos = entree(Mnu99, "Mnu99APropos", "A propos...");

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
    engine::Trap(kObjet + "Mnu01Refresh_Click", [this] {
        using namespace platform::dialogs;
        MsgBox("Voulez-vous réinitialiser les données ?", vbYesNo + vbQuestion, Caption());
    });
}

void Frm_Main::Mnu01Veille_Click() {
    engine::Trap(kObjet + "Mnu01Veille_Click", [this] { MiseEnVeilleForcee(); });
}

void Frm_Main::MiseEnVeilleForcee() {
    engine::Trap(kObjet + "MiseEnVeilleForcee",
                 [this] { Lib_SysTray::MiseEnVeille(*this, true, "Aerolune: Skyplate"); });
}

void Frm_Main::Mnu01Options_Click() {
    engine::Trap(kObjet + "Mnu01Options_Click", [this] {
        if (PbBQuitter) return;
        FrmSetup& reglages = FrmSetup::get();
        // A window the operator minimised is visible but out of sight: it comes back.
        if (reglages.Visible() && !reglages.isMinimized()) {
            reglages.Hide();
            return;
        }
        if (reglages.isMinimized()) reglages.setWindowState(reglages.windowState() & ~Qt::WindowMinimized);
        reglages.Show(platform::forms::vbModeless, this);
    });
}

void Frm_Main::Mnu01Log_Click() {
    engine::Trap(kObjet + "Mnu01Log_Click", [] { Lib_Public::LectureLog(PbSDossierLog, ""); });
}

void Frm_Main::MnuQuitter_Click() {
    engine::Trap(kObjet + "MnuQuitter_Click", [this] { Quitter(false); });
}

// The about box is a courtesy: whatever fails here is not worth a report.
void Frm_Main::Mnu99APropos_Click() {
    try {
        AfficherAPropos();
    } catch (const std::exception&) {
    }
}

namespace {

FrmAbout*& aboutBox() {
    static FrmAbout* boite = nullptr;
    return boite;
}

}  // namespace

void Frm_Main::AfficherAPropos() {
    if (!aboutBox()) aboutBox() = new FrmAbout;  // kept for the run, as every window of the program
    aboutBox()->Show(platform::forms::vbModeless, this);
}

void releaseFrmAbout() { delete std::exchange(aboutBox(), nullptr); }
