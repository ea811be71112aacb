// The main window's layout: the indicators at the right of the tab strip, the incidents tab
// placed by Lib_Resize, the resize and key handlers, and the look it lends the other windows.
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTabWidget>

#include "foundation/Timing.h"
#include "shell/Frm_Main.h"
#include "shell/Lib_Look.h"
#include "shell/Lib_Resize.h"

namespace {

int16_t shiftMask(const QKeyEvent& event) {
    const auto m = event.modifiers();
    return int16_t((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                   (m & Qt::AltModifier ? 4 : 0));
}

}  // namespace

void Frm_Main::InitDisposition() {
    // The memory figure, then the activity shape, at the right edge of the tab strip. The shape
    // keeps its room while it is off, so the figure stays put when a drain lights it.
    auto* flags = new QWidget(SftTabsMain);
    auto* row = new QHBoxLayout(flags);
    row->setContentsMargins(0, 0, 4, 0);
    row->setSpacing(8);
    LabelAffichageMemory->setParent(flags);
    ShapeActivite->setParent(flags);
    QSizePolicy keptPlace = ShapeActivite->sizePolicy();
    keptPlace.setRetainSizeWhenHidden(true);
    ShapeActivite->setSizePolicy(keptPlace);
    row->addWidget(LabelAffichageMemory);
    row->addWidget(ShapeActivite);
    SftTabsMain->setCornerWidget(flags, Qt::TopRightCorner);
    // The figure shows while the memory is measured: the settings' load shows it when it is.
    LabelAffichageMemory->hide();
    ShapeActivite->hide();

    // The incidents tab is placed in twips by the tab layout, not by a layout manager; the list
    // keeps its design place.
    ListeIncidents[0]->Move(60, 60, 6000, 3000);
    CommandIncidentsPurge[0]->Move(0, 3140, 1215, 375);
}

// The window's layout fills its client area with the tab control; the old frame allowances
// (its borders, caption and menu) are the window system's here. What is left is the tab.
void Frm_Main::Form_Resize() {
    if (isMinimized()) return;
    Lib_Resize::ResizeCurrentOngletMain();
}

void Frm_Main::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    Form_Resize();
}

// A restore brings no resize when the size stayed; the resizes skipped while minimised are
// laid out now.
void Frm_Main::changeEvent(QEvent* event) {
    Form::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    if (static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized) Form_Resize();
}

void Frm_Main::Form_KeyDown(int, int shift) { Lib_Systeme::TouchesEnfoncees(int16_t(shift)); }
void Frm_Main::Form_KeyUp(int, int shift) { Lib_Systeme::TouchesEnfoncees(int16_t(shift)); }

void Frm_Main::keyPressEvent(QKeyEvent* event) { Form_KeyDown(event->key(), shiftMask(*event)); }
void Frm_Main::keyReleaseEvent(QKeyEvent* event) { Form_KeyUp(event->key(), shiftMask(*event)); }

void Frm_Main::LookFenetre(QWidget& win) { Lib_Look::LookFenetre(win); }
