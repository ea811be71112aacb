// FrmMsg: topmost, centred at the top edge of the screen, with rounded corners.
#include "shell/FrmMsg.h"

#include <utility>

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>

#include "foundation/RunState.h"

namespace {

FrmMsg*& theWindow() {
    static FrmMsg* window = nullptr;
    return window;
}

}  // namespace

FrmMsg& TheFrmMsg() {
    // Lives for the whole run, as the program's windows do.
    if (!theWindow()) theWindow() = new FrmMsg;
    return *theWindow();
}

void releaseFrmMsg() { delete std::exchange(theWindow(), nullptr); }

FrmMsg::FrmMsg() : Form("FrmMsg") {
    setWindowFlag(Qt::FramelessWindowHint);
    Move(0, 0, 5400, 1125);
    const struct {
        const char* colour;
        double left, top;
    } pleaseWait[] = {{"white", 630, 60}, {"black", 675, 105}};
    for (int i = 0; i < 2; ++i) {
        LabelPatientez[i] = new platform::forms::Label(this, i);
        LabelPatientez[i]->SetCaption("Patientez S.V.P.");
        QFont font("Arial");
        font.setPointSizeF(27.75);
        font.setBold(true);
        LabelPatientez[i]->setFont(font);
        LabelPatientez[i]->setStyleSheet(QString("color: %1").arg(pleaseWait[i].colour));
        LabelPatientez[i]->Move(pleaseWait[i].left, pleaseWait[i].top, 4170, 660);
    }
    LabelMsgInit = new platform::forms::Label(this);
    QFont small("Arial");
    small.setPointSizeF(8.25);
    LabelMsgInit->setFont(small);
    LabelMsgInit->SetCaption("Aerolune");
    LabelMsgInit->Move(120, 795, 5160, 270);
}

void FrmMsg::Form_Load() {
    SetTopmost(true);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().width() / 2 - width() / 2, 0);
    QPainterPath rounded;
    rounded.addRoundedRect(QRectF(0, 0, width(), height()), 12, 12);
    setMask(QRegion(rounded.toFillPolygon().toPolygon()));
    PbBFrmMsgAffichee = true;
}

void FrmMsg::Form_Unload(int&) { PbBFrmMsgAffichee = false; }

void FrmMsg::LoadAndShow() {
    Show(platform::forms::vbModeless);
    QCoreApplication::processEvents();
}
