// Standby: the program's windows hidden behind one icon in the notification area, whose
// right-button press opens the tray menu; where the desktop has no tray, the main window is
// minimised instead, and restoring it leaves standby.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QIcon>
#include <QSystemTrayIcon>

class QWidget;

// The tray record as it was last given to the notification area; deleting the icon uses it as it is.
struct NOTIFYICONDATA {
    int32_t cbSize = 88;
    int32_t hWnd = 0;    // the window the icon's notifications go to
    int64_t uID = 0;     // the icon's own key, as the icon handle was used
    int32_t uFlags = 7;  // message, icon and tip
    int32_t uCallbackMessage = 0x205;
    QIcon hIcon;
    std::string szTip;  // at most 63 characters (the field holds 64 with its NUL)
};

namespace Lib_SysTray {

inline NOTIFYICONDATA TrayIconData;
inline bool Hooked = false;
inline QWidget* HookedWindow = nullptr;
inline bool EnVeille = false;
// The main window's state when standby hid or minimised it: the state its place is saved with.
inline Qt::WindowStates stateBeforeStandby = Qt::WindowNoState;

// Whether the desktop has a notification area; tests set the override.
inline std::optional<bool> forcedTrayAvailability;
bool taskbarAvailable();

// The handle a window is listed under (its native window id).
int32_t Handle(QWidget& win);

// Enters standby with that window as the icon's; toHide hides every visible window of the
// program first (listing them, the main window first, for the way back).
void MiseEnVeille(QWidget& win, bool toHide, const std::string& tip);
void AddIconToTray(QWidget& win, const QIcon& iconImage, const std::string& tip);
void RemoveIconFromTray();
// One window at a time receives the icon's notifications; a second Hook does nothing.
void Hook(QWidget& win);
void UnHook();
// The icon's notifications while hooked: a right-button press opens the tray menu (-1);
// everything else is left alone (0).
int32_t WindowProc(QSystemTrayIcon::ActivationReason reason);
// The incident alert during standby: the icon becomes FrmError's, with its own tip.
void incidentIcon();

QSystemTrayIcon& systemTrayIcon();

// Back to the start of the process: out of standby, no icon and no incidents window made, the
// desktop's own answer about its notification area.
void resetSysTray();

}  // namespace Lib_SysTray
