// Window positions of the settings windows, in twips.
#include "settings/FormPosition.h"

#include <QGuiApplication>
#include <QScreen>

namespace settings {

int16_t FormPosition::WindowStateOf(Qt::WindowStates states) {
    if (states & Qt::WindowMinimized) return 1;
    if (states & Qt::WindowMaximized) return 2;
    return 0;
}

int16_t FormPosition::WindowState() const { return WindowStateOf(form_.windowState()); }

double FormPosition::ScreenHeight() const {
    const QScreen* screen = form_.screen() ? form_.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() * double(platform::forms::kTwipsPerPixel) : 0;
}

void restorePosition(platform::forms::Form& form) {
    FormPosition position(form);
    Lib_Public::PositionFeuille(position);
}

void savePosition(platform::forms::Form& form) {
    const FormPosition position(form);
    Lib_Public::PositionFeuilleSauvegarde(position);
}

}  // namespace settings
