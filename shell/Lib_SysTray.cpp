// The tray icon, its notifications and the entry into standby.
#include "shell/Lib_SysTray.h"

#include <utility>

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QStyle>
#include <QTimer>
#include <QWidget>

#include "foundation/ConversionsVba.h"
#include "shell/FrmError.h"
#include "shell/FrmSysTray.h"
#include "shell/Frm_Main.h"

namespace Lib_SysTray {
namespace {

// The standby window, loaded at its first use: loaded, it ends standby when the program shuts down.
FrmSysTray& fenetreVeille() {
    FrmSysTray& fenetre = FrmSysTray::get();
    fenetre.Load();
    return fenetre;
}

// Without a notification area the minimised main window is the way back: restoring it
// leaves standby, once the restore itself is over.
class RetourSansBarre : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* objet, QEvent* evenement) override {
        auto* fenetre = static_cast<QWidget*>(objet);
        if (evenement->type() == QEvent::WindowStateChange && EnVeille && !BarreDesTachesDisponible() &&
            !(fenetre->windowState() & Qt::WindowMinimized) && fenetre->isVisible())
            QTimer::singleShot(0, [] {
                if (EnVeille) fenetreVeille().AfficherFeuille();
            });
        return false;
    }
};

void surveillerRetour(QWidget& principale) {
    // Goes with the window it watches; a later main window gets its own.
    static QPointer<RetourSansBarre> surveillance;
    if (surveillance && surveillance->parent() == &principale) return;
    surveillance = new RetourSansBarre(&principale);
    principale.installEventFilter(surveillance);
}

QIcon iconeDe(QWidget& fenetre) {
    if (!fenetre.windowIcon().isNull()) return fenetre.windowIcon();
    return QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
}

FrmError*& incidentsWindow() {
    static FrmError* fenetre = nullptr;
    return fenetre;
}

FrmError& frmError() {
    if (!incidentsWindow()) incidentsWindow() = new FrmError;  // made on first use and kept
    return *incidentsWindow();
}

QSystemTrayIcon*& trayIcon() {
    static QSystemTrayIcon* tray = nullptr;
    return tray;
}

}  // namespace

bool BarreDesTachesDisponible() {
    return BarreDisponibleForcee ? *BarreDisponibleForcee : QSystemTrayIcon::isSystemTrayAvailable();
}

int32_t Handle(QWidget& fenetre) { return int32_t(fenetre.winId()); }

QSystemTrayIcon& IconeTray() {
    if (!trayIcon()) {
        trayIcon() = new QSystemTrayIcon;
        QObject::connect(trayIcon(), &QSystemTrayIcon::activated,
                         [](QSystemTrayIcon::ActivationReason r) { WindowProc(r); });
    }
    return *trayIcon();
}

void resetSysTray() {
    delete std::exchange(incidentsWindow(), nullptr);
    delete std::exchange(trayIcon(), nullptr);
    TrayIconData = {};
    Hooked = false;
    HookedWindow = nullptr;
    EnVeille = false;
    EtatAvantVeille = Qt::WindowNoState;
    BarreDisponibleForcee.reset();
}

void MiseEnVeille(QWidget& fenetre, bool masquer, const std::string& tip) {
    Hook(fenetre);
    AddIconToTray(fenetre, iconeDe(fenetre), tip);
    if (masquer) {
        const bool barre = BarreDesTachesDisponible();
        Frm_Main* principale = TheFrm_Main();
        if (principale) EtatAvantVeille = principale->windowState();
        auto& liste = *fenetreVeille().ListeFrm;
        liste.Clear();
        if (principale) liste.AddItem(std::to_string(Handle(*principale)));
        const auto formes = FrmSysTray::FormesChargees();
        for (auto forme = formes.rbegin(); forme != formes.rend(); ++forme) {
            if (!(*forme)->isVisible()) continue;
            if (*forme == principale && !barre)
                principale->showMinimized();
            else
                (*forme)->hide();
            liste.AddItem(std::to_string(Handle(**forme)));
        }
        if (principale && !barre) {
            if (!principale->isVisible()) principale->showMinimized();
            surveillerRetour(*principale);
        }
    }
    EnVeille = true;
}

void AddIconToTray(QWidget& fenetre, const QIcon& icone, const std::string& tip) {
    TrayIconData.hWnd = Handle(fenetre);
    TrayIconData.uID = icone.cacheKey();
    TrayIconData.hIcon = icone;
    TrayIconData.szTip = VBA::Left(tip, 63);
    QSystemTrayIcon& tray = IconeTray();
    tray.setIcon(icone);
    tray.setToolTip(QString::fromStdString(TrayIconData.szTip));
    if (BarreDesTachesDisponible()) tray.show();
}

void RemoveIconFromTray() { IconeTray().hide(); }

void Hook(QWidget& fenetre) {
    if (Hooked) return;
    HookedWindow = &fenetre;
    Hooked = true;
}

void UnHook() {
    if (!Hooked) return;
    HookedWindow = nullptr;
    Hooked = false;
}

int32_t WindowProc(QSystemTrayIcon::ActivationReason raison) {
    if (!Hooked || raison != QSystemTrayIcon::Context) return 0;
    fenetreVeille().SysTrayMouseEventHandler();
    return -1;
}

void IconeIncident() {
    UnHook();
    RemoveIconFromTray();
    MiseEnVeille(frmError(), false, "Aerolune: Skyplate (Incidents...)");
}

}  // namespace Lib_SysTray
