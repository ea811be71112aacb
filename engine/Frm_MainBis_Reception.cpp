// UDP reception: the read, the monitor, the split between time requests and messages, recovery.
#include "engine/Frm_MainBis.h"

#include "engine/ErrorTrap.h"
#include "engine/TimeReply.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/LogText.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "settings/FrmSetupPeripherique.h"
#include "settings/SettingsFlags.h"

namespace {

const std::string kForm = "Frm_MainBis";
constexpr int32_t kMaxRead = 1024;

void Log(int16_t column1, const std::string& text, bool incident = false) {
    Lib_Public::TraceLog(column1, -1, -1, text, incident);
}

bool Blank(const std::string& text) { return VBA::Trim(text).empty(); }

bool StartsWithDigit(const std::string& text) { return !text.empty() && text[0] >= '0' && text[0] <= '9'; }

bool BeginsWith(const std::string& text, const std::string& literal) {
    return VBA::InStr(1, text, literal, true) == 1;
}

}  // namespace

void Frm_MainBis::SocketWrenchUDPIn_OnRead(int16_t index) {
    const std::string caller = kForm + ":" + "SocketWrenchUDPIn_OnRead";
    engine::Trap(caller, [&] {
        if (Abandon) return;
        std::string data;
        const int32_t n = SocketWrenchUDPIn.at(size_t(index)).Read(data, kMaxRead);
        if (n == -1)
            RecoverAfterReadError(index, caller);
        else if (n > 0)
            DispatchReceived(data, index, caller);
    });
}

void Frm_MainBis::RecoverAfterReadError(int16_t index, const std::string& caller) {
    platform::net::SocketWrench& receiver = SocketWrenchUDPIn.at(size_t(index));
    const int32_t e = receiver.LastError();
    const std::string onRead = "Err: UDP: SocketWrenchUDPIn_OnRead: ";
    if (e == platform::net::wsaConnectionReset) {
        Log(index,
            onRead +
                "There is no server running on the specified host address and/or port "
                "number |Remote: " +
                receiver.RemoteAddress() + ":" + std::to_string(receiver.RemotePort()),
            true);
        Log(index, onRead + std::to_string(e) + ": " + receiver.LastErrorString());
    } else if (e == platform::net::wsaWouldBlock) {
        Log(index, onRead + "The specified operation would block the current thread");
    } else {
        Log(index, onRead + std::to_string(e) + ": " + receiver.LastErrorString() + " |Sub" + caller, true);
        return;
    }
    // Both errors rebind the row: a receiver left closed would keep its station deaf while
    // the row still shows it bound.
    if (receiver.IsClosed()) return;
    DisconnectAfterReadError(index, caller);
    const std::string ip = neighbours::FrmSetup().TexteUDPIPSource(index);
    const int32_t port = VBA::ValLong(neighbours::FrmSetup().TexteUDPPortSource(index));
    if (!Blank(ip)) BindSocketWrenchUDPIn(index, ip, port, caller);
    // A rebind that did not happen leaves the row editable, as a failed binding click does,
    // so that it no longer shows a receiver that is closed as bound.
    if (receiver.IsClosed()) {
        FrmSetupPeripherique& page = FrmSetupPeripherique::get();
        page.TexteUDPIPSource.at(size_t(index))->SetEnabled(true);
        page.TexteUDPPortSource.at(size_t(index))->SetEnabled(true);
    }
}

void Frm_MainBis::DisconnectAfterReadError(int16_t index, const std::string& caller) {
    platform::net::SocketWrench& receiver = SocketWrenchUDPIn.at(size_t(index));
    if (receiver.Disconnect() != 0)
        Log(index, "Err: UDP: SocketWrenchUDPIn.Disconnect: " + std::to_string(receiver.LastError()) + ": " +
                       receiver.LastErrorString() + " |Sub" + caller);
    else
        Log(index, "UDP: SocketWrenchUDPIn.Disconnect: True");
}

void Frm_MainBis::BindSocketWrenchUDPIn(int16_t index, std::string ip, int32_t port,
                                        const std::string& callerSub) {
    if (StartsWithDigit(ip)) {
        BindResolvedSocketWrenchUDPIn(index, ip, port, callerSub);
        return;
    }
    platform::net::SocketWrench& receiver = SocketWrenchUDPIn.at(size_t(index));
    // The receiver stays closed while the name is looked up; a disconnect (the row unticked,
    // the window unloaded) drops the answer.
    receiver.Resolve(ip, [this, index, ip, port, callerSub](int32_t result, const std::string& address) {
        engine::Trap(kForm + ":" + "BindSocketWrenchUDPIn", [&] {
            platform::net::SocketWrench& resolved = SocketWrenchUDPIn.at(size_t(index));
            if (result != 0) {
                Log(-1, "Warning: UDP: SocketWrenchUDPIn.Resolve: " + std::to_string(result) + ": " +
                            resolved.LastErrorString() + " |Sub: " + callerSub);
                BindResolvedSocketWrenchUDPIn(index, ip, port, callerSub);
            } else {
                Log(-1, "UDP: SocketWrenchUDPIn.Resolve: HostName changed to HostAddress: " +
                            logtext::visible(ip) + " to " + address);
                BindResolvedSocketWrenchUDPIn(index, address, port, callerSub);
            }
        });
    });
}

void Frm_MainBis::BindResolvedSocketWrenchUDPIn(int16_t index, const std::string& ip, int32_t port,
                                                const std::string& callerSub) {
    platform::net::SocketWrench& receiver = SocketWrenchUDPIn.at(size_t(index));
    const std::string row = " (Index: " + std::to_string(index) + ")";
    const std::string shown = logtext::visible(ip) + ":" + std::to_string(port);
    receiver.setBlocking(false);
    Log(-1, "UDP: SocketWrenchUDPIn: Try to Bind: " + shown + row);
    if (receiver.Bind(ip, port, platform::net::SocketWrench::kProtocolUdp) != 0) {
        const int32_t e = receiver.LastError();
        Log(-1, std::string(e == platform::net::wsaHostNotFound ? "Warning" : "Err") +
                    ": UDP: SocketWrenchUDPIn.Bind: " + std::to_string(e) + ": " +
                    receiver.LastErrorString() + row + " |Sub" + callerSub);
        return;
    }
    Log(-1, "UDP: SocketWrenchUDPIn.Binded to: " + shown + row);
    FrmSetupPeripherique& page = FrmSetupPeripherique::get();
    page.TexteUDPIPSource.at(size_t(index))->SetEnabled(false);
    page.TexteUDPPortSource.at(size_t(index))->SetEnabled(false);
}

void Frm_MainBis::SocketUDP_DataArrival(int16_t index, int32_t /*bytesTotal*/) {
    const std::string caller = kForm + ":" + "SocketUDP_DataArrival";
    engine::Trap(caller, [&] {
        std::string data;
        SocketUDP.at(size_t(index)).GetData(data);  // a failed read leaves the text empty
        DispatchReceived(data, index, caller);
    });
}

void Frm_MainBis::DispatchReceived(std::string data, int16_t index, const std::string& caller) {
    if (!Blank(data))
        FrmSetupPeripherique::get().TexteUDPDonneeRecues->SetText(
            engine::dateTimeText(platform::clock::localNow()) + ": " + data);
    if (!Blank(data) && BeginsWith(data, "What time is it ?")) {
        DataArrival_WhatTimeIsIt(data, caller);
        data.clear();
    }
    if (!Blank(data)) UDPDataArrival_00_Pre(PbINoBase, index, data, caller);
}

void Frm_MainBis::SocketWrenchUDPIn_OnError(int16_t index, int32_t errorCode,
                                            const std::string& description) {
    Log(-1, "Err: UDP: SocketWrenchUDPIn_OnError: Index: " + std::to_string(index) +
                " ErrorCode: " + std::to_string(errorCode) + " Description: " + description);
}

void Frm_MainBis::SocketWrenchUDPRDSUECP_OnError(int16_t index, int32_t errorCode,
                                                 const std::string& description) {
    Log(-1, "UDP: SocketWrenchUDPRDSUECP_OnError: Index: " + std::to_string(index) +
                " ErrorCode: " + std::to_string(errorCode) + " Description: " + description);
}

void Frm_MainBis::SocketUDP_Error(int16_t index, int32_t number, const std::string& description,
                                  const std::string& source) {
    Log(-1,
        "Err: SocketUDP # " + std::to_string(index) + ": Err: " + std::to_string(number) + " " + description +
            " Source: " + source,
        true);
    SocketUDP.at(size_t(index)).Close();
    // A closed receiver no longer shows as bound: the row is editable until it is ticked again.
    FrmSetupPeripherique& page = FrmSetupPeripherique::get();
    if (size_t(index) < page.TexteUDPIPSource.size()) {
        page.TexteUDPIPSource[size_t(index)]->SetEnabled(true);
        page.TexteUDPPortSource[size_t(index)]->SetEnabled(true);
    }
}

void Frm_MainBis::SocketUDP_Close(int16_t index) { Lib_Public::TraceLog(-1, index, -1, "UDP: Close"); }

void Frm_MainBis::SocketUDP_Connect(int16_t index) { Lib_Public::TraceLog(-1, index, -1, "UDP: Connect"); }

void Frm_MainBis::SocketUDP_ConnectionRequest(int16_t index, int32_t /*requestId*/) {
    // Neither accepted nor refused.
    const platform::net::WinsockUdp& receiver = SocketUDP.at(size_t(index));
    Lib_Public::TraceLog(
        -1, index, -1,
        "UDP: ConnectionRequest: " + receiver.RemoteHostIP() + ":" + std::to_string(receiver.RemotePort()));
}
