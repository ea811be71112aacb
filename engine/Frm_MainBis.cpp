// The engine window's inventory, load and unload.
#include "engine/Frm_MainBis.h"

#include <QPainter>

#include "engine/ErrorTrap.h"
#include "foundation/DailyLog.h"
#include "foundation/SystemQueries.h"

namespace {

const std::string kForm = "Frm_MainBis";

bool usesSocketWrench() { return PbLVersionOS >= 10 && PbLVersionOS <= 13; }

// An arrow with a cell under its tip: the grid's pointer, drawn for this program.
QPixmap dragDropImage() {
    QPixmap image(24, 24);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(197, 206, 217));
    painter.drawRect(QRectF(9.5, 13.5, 13, 9));
    painter.setBrush(Qt::white);
    const QPointF arrowGlyph[] = {{0.5, 0.5}, {0.5, 15}, {4.5, 11.5}, {7.5, 18},
                                  {10, 17},   {7, 10.5}, {12, 10.5}};
    painter.drawPolygon(arrowGlyph, 7);
    return image;
}

}  // namespace

Frm_MainBis::Frm_MainBis()
    : Form(kForm),
      UpdateCheckHost(TaskDialog),
      Timer30s(this, "Timer30s", 1000, true),
      Timer60s(this, "Timer60s", 60000, true),
      TimerDataArrival(this, "TimerDataArrival", 100, false),
      TimerDelete(this, "TimerDelete", 10000, false),
      TimerConvert(this, "TimerConvert", 500, true),
      TimerFlash(this, "TimerFlash", 100, false),
      ImageDragAndDrop(dragDropImage()) {
    connectEvents();
}

void Frm_MainBis::connectEvents() {
    connectPlayerEvents();
    for (int16_t i = 0; i < kStations; ++i) {
        SocketWrenchUDPIn[i].OnRead = [this, i] { SocketWrenchUDPIn_OnRead(i); };
        SocketWrenchUDPIn[i].OnError = [this, i](int32_t code, const std::string& text) {
            SocketWrenchUDPIn_OnError(i, code, text);
        };
        SocketUDP[i].DataArrival = [this, i](int32_t bytes) { SocketUDP_DataArrival(i, bytes); };
        SocketUDP[i].Error = [this, i](int32_t number, const std::string& text) {
            SocketUDP_Error(i, number, text, "SocketUDP");
        };
        SocketUDP[i].Closed = [this, i] { SocketUDP_Close(i); };
        SocketUDP[i].Connected = [this, i] { SocketUDP_Connect(i); };
        SocketUDP[i].ConnectionRequest = [this, i](int32_t id) { SocketUDP_ConnectionRequest(i, id); };
        platform::net::SocketWrench& sender = SocketWrenchUDPOut[i];
        sender.OnError = [this, i](int32_t code, const std::string& text) {
            SocketWrenchUDPOut_OnError(i, code, text);
        };
        sender.OnAccept = [this, i] { SocketWrenchUDPOut_OnAccept(i); };
        sender.OnCancel = [this, i] { SocketWrenchUDPOut_OnCancel(i); };
        sender.OnConnect = [this, i] { SocketWrenchUDPOut_OnConnect(i); };
        sender.OnDisconnect = [this, i] { SocketWrenchUDPOut_OnDisconnect(i); };
        sender.OnProgress = [this, i] { SocketWrenchUDPOut_OnProgress(i); };
        sender.OnTimeout = [this, i] { SocketWrenchUDPOut_OnTimeout(i); };
        sender.OnWrite = [this, i] { SocketWrenchUDPOut_OnWrite(i); };
        SocketWrenchUDPRDSUECP[i].OnError = [this, i](int32_t code, const std::string& text) {
            SocketWrenchUDPRDSUECP_OnError(i, code, text);
        };
    }
    TimerDataArrival.OnTimer = [this] { TimerDataArrival_Timer(); };
    Timer30s.OnTimer = [this] { Timer30s_Timer(); };
    Timer60s.OnTimer = [this] { Timer60s_Timer(); };
    TimerDelete.OnTimer = [this] { TimerDelete_Timer(); };
}

void Frm_MainBis::Form_Load() {
    // The periodic jobs come with their own windows' work.
    neighbours::registerFrm_MainBis(this);
    InitPlanning();
}

void Frm_MainBis::Form_Unload(int& /*cancel*/) {
    engine::Trap(kForm + ":Form_Unload", [&] {
        if (usesSocketWrench()) {
            for (auto& receiver : SocketWrenchUDPIn) {
                if (receiver.IsClosed()) continue;
                if (receiver.Disconnect() != 0)
                    Lib_Public::TraceLog(
                        -1, -1, -1,
                        "Err: UDP: SocketWrenchUDPIn.Disconnect: " + std::to_string(receiver.LastError()) +
                            ": " + receiver.LastErrorString());
                else
                    Lib_Public::TraceLog(-1, -1, -1, "UDP: SocketWrenchUDPIn.Disconnect: True");
            }
        }
        // Whatever the OS code, no receiver may keep its port once the window is gone.
        for (auto& receiver : SocketUDP) receiver.Close();
        for (auto& receiver : SocketWrenchUDPIn) receiver.Disconnect();
        ++sendEpoch_;
        for (auto& sender : SocketWrenchUDPOut) sender.Disconnect();
        for (auto& sender : SocketWrenchUDPRDSUECP) sender.Disconnect();
        for (platform::forms::Timer* timer : platform::forms::timersOf(*this)) timer->setEnabled(false);
    });
    neighbours::registerFrm_MainBis(nullptr);
}
