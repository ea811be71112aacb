// The one UDP sender (the time reply's road) and the events of its sockets.
#include "engine/Frm_MainBis.h"

#include "engine/ErrorTrap.h"
#include "engine/EventPass.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/LogText.h"
#include "foundation/Timing.h"
#include "platform/net/HostLookup.h"
#include "platform/net/WinsockErrors.h"

namespace {

const std::string kTag = "Frm_MainBis:SendDataUDPSocketWrench";
constexpr int32_t kMaxWrite = 1024;

bool StartsWithDigit(const std::string& text) { return !text.empty() && text[0] >= '0' && text[0] <= '9'; }

// The sender's events are only logged.
void LogSenderEvent(const std::string& event, int16_t index) {
    Lib_Public::TraceLog(-1, -1, -1,
                         "UDP: SocketWrenchUDPOut_" + event + ": Index: " + std::to_string(index));
}

}  // namespace

void Frm_MainBis::SendDataUDPSocketWrench(int16_t Index, const std::string& AdresseIP, int32_t NoPort,
                                          const std::string& Message, int32_t WaitingDuration) {
    SendDataUDPSocketWrenchThen(Index, AdresseIP, NoPort, Message, WaitingDuration, {});
}

void Frm_MainBis::SendDataUDPSocketWrenchThen(int16_t Index, const std::string& AdresseIP, int32_t NoPort,
                                              const std::string& Message, int32_t WaitingDuration,
                                              std::function<void()> then) {
    const auto finish = [&then] {
        if (then) then();
    };
    engine::Trap(kTag, [&] {
        const auto Log = [Index](const std::string& text) { Lib_Public::TraceLog(Index, -1, -1, text); };
        // A port from the wire that does not fit is refused, never wrapped onto another.
        if (NoPort < 1 || NoPort > 65535) {
            Log("Err: UDP: SocketWrenchUDPOut: Port out of range: " + std::to_string(NoPort) + " |Sub" +
                kTag);
            return;
        }
        const std::string addr = VBA::Trim(AdresseIP);
        if (addr.empty() || StartsWithDigit(addr)) {
            SendOnSocket(Index, addr, NoPort, Message, WaitingDuration);
            return;
        }
        // A name is looked up off the event loop: other datagrams and time queries are
        // handled meanwhile, and this one goes out when the answer comes.
        platform::net::HostLookup::instance().lookup(
            addr, this,
            [this, epoch = sendEpoch_, Index, addr, NoPort, Message, WaitingDuration, Log,
             then = std::move(then)](int32_t error, const QHostAddress& address) {
                if (epoch != sendEpoch_) return;  // the window was unloaded meanwhile
                engine::Trap(kTag, [&] {
                    std::string target = addr;
                    if (error != 0) {
                        Log("Warning: UDP: SocketWrenchUDPOut.Resolve: " + std::to_string(error) + ": " +
                            platform::net::errorText(error) + " |Sub: " + kTag);
                    } else {
                        target = address.toString().toStdString();
                        Log("UDP: SocketWrenchUDPOut.Resolve: HostName changed to HostAddress: " +
                            logtext::visible(addr) + " to " + target);
                    }
                    SendOnSocket(Index, target, NoPort, Message, WaitingDuration);
                });
                if (then) then();
            });
        then = nullptr;  // runs with the answer
    });
    finish();
}

void Frm_MainBis::SendOnSocket(int16_t Index, const std::string& addr, int32_t NoPort,
                               const std::string& Message, int32_t WaitingDuration) {
    const auto Log = [Index](const std::string& text, bool incident = false) {
        Lib_Public::TraceLog(Index, -1, -1, text, incident);
    };
    platform::net::SocketWrench& socket = SocketWrenchUDPOut.at(size_t(Index));
    const auto lastError = [&socket] {
        return std::to_string(socket.LastError()) + ": " + socket.LastErrorString();
    };
    const std::string shown = logtext::visible(addr) + ":" + std::to_string(NoPort);
    int32_t r = 0;
    // From here to the write nothing lets events run, so no other request can retarget
    // the socket; an open socket is kept only for the very same loopback endpoint.
    const bool sameEndpoint =
        addr == "127.0.0.1" && socket.RemoteAddress() == addr && socket.RemotePort() == NoPort;
    if (!socket.IsClosed() && !sameEndpoint) {
        r = socket.Disconnect();
        if (r != 0)
            Log("Err: UDP: SocketWrenchUDPOut.Disconnect: " + lastError() + " |Sub" + kTag);
        else
            Log("UDP: SocketWrenchUDPOut.Disconnected");
    }
    if (socket.IsClosed()) {
        r = socket.Connect(addr, NoPort, platform::net::SocketWrench::kProtocolUdp);
        if (r != 0)
            Log("Err: UDP: SocketWrenchUDPOut.Connect: " + lastError() + " |Sub" + kTag);
        else
            Log("UDP: SocketWrenchUDPOut.Connected to: " + shown);
    }
    if (r != 0) return;
    const std::string data = VBA::Left(VBA::Trim(Message), kMaxWrite);
    if (socket.Write(data, VBA::Len(data)) != -1) {
        Log("UDP: SocketWrenchUDPOut.Write: Data Sent to: " + shown + " |Data: " + logtext::visible(Message));
        const int64_t start = Lib_Systeme::GetTickCountEx();
        for (int64_t waited; (waited = std::llabs(Lib_Systeme::GetTickCountEx() - start)) <= WaitingDuration;)
            if (!engine::passEvents(int32_t(WaitingDuration - waited) + 1)) break;
    } else {
        Log("Err: UDP: SocketWrenchUDPOut.Write: " + lastError(), true);
    }
    // No event pass here: inside a receiving handler it would hold that socket's next
    // datagrams; the handler returns at once and the event loop runs them in turn.
}

void Frm_MainBis::SocketWrenchUDPOut_OnError(int16_t index, int32_t errorCode,
                                             const std::string& description) {
    Lib_Public::TraceLog(-1, -1, -1,
                         "Err: UDP: SocketWrenchUDPOut_OnError: Index: " + std::to_string(index) +
                             " ErrorCode: " + std::to_string(errorCode) + " Description: " + description);
}

void Frm_MainBis::SocketWrenchUDPOut_OnAccept(int16_t index) { LogSenderEvent("OnAccept", index); }
void Frm_MainBis::SocketWrenchUDPOut_OnCancel(int16_t index) { LogSenderEvent("OnCancel", index); }
void Frm_MainBis::SocketWrenchUDPOut_OnConnect(int16_t index) { LogSenderEvent("OnConnect", index); }
void Frm_MainBis::SocketWrenchUDPOut_OnDisconnect(int16_t index) { LogSenderEvent("OnDisconnect", index); }
void Frm_MainBis::SocketWrenchUDPOut_OnProgress(int16_t index) { LogSenderEvent("OnProgress", index); }
void Frm_MainBis::SocketWrenchUDPOut_OnTimeout(int16_t index) { LogSenderEvent("OnTimeout", index); }
void Frm_MainBis::SocketWrenchUDPOut_OnWrite(int16_t index) { LogSenderEvent("OnWrite", index); }
