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

// Without a notification area the minimised main window is the way back: restoring it
// leaves standby, once the restore itself is over.
class ReturnWithoutTray : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* subject, QEvent* event) override {
        auto* win = static_cast<QWidget*>(subject);
        if (event->type() == QEvent::WindowStateChange && EnVeille && !taskbarAvailable() &&
            !(win->windowState() & Qt::WindowMinimized) && win->isVisible())
            QTimer::singleShot(0, [] {
                if (EnVeille) FrmSysTray::get().AfficherFeuille();
            });
        return false;
    }
};

void watchReturn(QWidget& mainForm) {
    // Goes with the window it watches; a later main window gets its own.
    static QPointer<ReturnWithoutTray> watch;
    if (watch && watch->parent() == &mainForm) return;
    watch = new ReturnWithoutTray(&mainForm);
    mainForm.installEventFilter(watch);
}

QIcon iconOf(QWidget& win) {
    if (!win.windowIcon().isNull()) return win.windowIcon();
    return QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
}

FrmError*& incidentsWindow() {
    static FrmError* win = nullptr;
    return win;
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

bool taskbarAvailable() {
    return forcedTrayAvailability ? *forcedTrayAvailability : QSystemTrayIcon::isSystemTrayAvailable();
}

int32_t Handle(QWidget& win) { return int32_t(win.winId()); }

QSystemTrayIcon& systemTrayIcon() {
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
    stateBeforeStandby = Qt::WindowNoState;
    forcedTrayAvailability.reset();
}

void MiseEnVeille(QWidget& win, bool toHide, const std::string& tip) {
    Hook(win);
    AddIconToTray(win, iconOf(win), tip);
    if (toHide) {
        const bool menuStrip = taskbarAvailable();
        Frm_Main* mainForm = TheFrm_Main();
        if (mainForm) stateBeforeStandby = mainForm->windowState();
        auto& listBox = *FrmSysTray::get().ListeFrm;
        listBox.Clear();
        if (mainForm) listBox.AddItem(std::to_string(Handle(*mainForm)));
        const auto openForms = FrmSysTray::loadedForms();
        for (auto form = openForms.rbegin(); form != openForms.rend(); ++form) {
            if (!(*form)->isVisible()) continue;
            if (*form == mainForm && !menuStrip)
                mainForm->showMinimized();
            else
                (*form)->hide();
            listBox.AddItem(std::to_string(Handle(**form)));
        }
        if (mainForm && !menuStrip) {
            if (!mainForm->isVisible()) mainForm->showMinimized();
            watchReturn(*mainForm);
        }
    }
    EnVeille = true;
}

void AddIconToTray(QWidget& win, const QIcon& iconImage, const std::string& tip) {
    TrayIconData.hWnd = Handle(win);
    TrayIconData.uID = iconImage.cacheKey();
    TrayIconData.hIcon = iconImage;
    TrayIconData.szTip = VBA::Left(tip, 63);
    QSystemTrayIcon& tray = systemTrayIcon();
    tray.setIcon(iconImage);
    tray.setToolTip(QString::fromStdString(TrayIconData.szTip));
    if (taskbarAvailable()) tray.show();
}

void RemoveIconFromTray() { systemTrayIcon().hide(); }

void Hook(QWidget& win) {
    if (Hooked) return;
    HookedWindow = &win;
    Hooked = true;
}

void UnHook() {
    if (!Hooked) return;
    HookedWindow = nullptr;
    Hooked = false;
}

int32_t WindowProc(QSystemTrayIcon::ActivationReason reason) {
    if (!Hooked || reason != QSystemTrayIcon::Context) return 0;
    FrmSysTray::get().SysTrayMouseEventHandler();
    return -1;
}

void incidentIcon() {
    UnHook();
    RemoveIconFromTray();
    MiseEnVeille(frmError(), false, "Aerolune: Skyplate (Incidents...)");
}

}  // namespace Lib_SysTray
