// The reception check box: ticking binds the row's UDP receiver, unticking closes it.
#include "settings/FrmSetupPeripherique.h"

#include <QCoreApplication>

#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/ErrorReporter.h"
#include "foundation/NeighbourServices.h"
#include "foundation/SystemQueries.h"
#include "platform/Dialogs.h"
#include "platform/net/SocketWrench.h"
#include "platform/net/WinsockUdp.h"
#include "settings/SettingsFlags.h"

namespace {

const std::string kTag = "FrmSetupPeripherique:CheckUDPInActif_Click";
// Statement numbers of the failure prefix.
constexpr int32_t kBindLine = 40;

void log(const std::string& text) { Lib_Public::TraceLog(-1, -1, -1, text); }

bool socketWrenchPersonality() { return PbLVersionOS >= 10 && PbLVersionOS <= 13; }

}  // namespace

void FrmSetupPeripherique::reportBindFailure(int32_t number, const std::string& description,
                                             const std::string& ip, int32_t port, int16_t index,
                                             int32_t line) {
    DerniereErreur = {number, line, description, "AL3_Relaytone"};
    const std::string prefix = ip + ":" + std::to_string(port) + " |Idx: " + std::to_string(index) + " |" +
                               kTag + ":" + std::to_string(line);
    if (number == 126) {
        log("Warning: 126: " + prefix);
    } else if (number == platform::net::wsaAddressNotAvailable && Visible()) {
        platform::dialogs::MsgBox("Adresse d'écoute non valide.",
                                  platform::dialogs::vbOKOnly | platform::dialogs::vbExclamation,
                                  neighbours::Frm_Main().Caption());
    } else if (const std::string name = LibSockectErr(number); !name.empty()) {
        Lib_Public::TraceLog(-1, -1, -1, "Err: " + name + ": " + prefix, true);
    } else {
        Lib_Public::GestionDesErreurs(kTag);
    }
    QCoreApplication::processEvents();
}

void FrmSetupPeripherique::disconnectSocketWrench(int16_t index) {
    platform::net::SocketWrench* found = neighbours::Frm_MainBis().SocketWrenchUDPIn_Item(index);
    if (!found) return;  // no engine window: no receiver
    platform::net::SocketWrench& receiver = *found;
    const std::string row = " (Index: " + std::to_string(index) + ")";
    if (receiver.Disconnect() != 0)
        log("Err: UDP: SocketWrenchUDPIn.Disconnect: " + std::to_string(receiver.LastError()) + ": " +
            receiver.LastErrorString() + row + " |Sub" + kTag);
    else
        log("UDP: SocketWrenchUDPIn.Disconnected" + row);
}

void FrmSetupPeripherique::CheckUDPInActif_Click(int16_t index) {
    neighbours::Frm_MainBisServices& engine = neighbours::Frm_MainBis();
    platform::net::SocketWrench* wrench = engine.SocketWrenchUDPIn_Item(index);
    platform::net::WinsockUdp* udp = engine.SocketUDP_Item(index);
    // The engine window is loaded before the settings; without it there is nothing to bind.
    if (!wrench || !udp) return;
    if (CheckUDPInActif[index]->Value() != platform::forms::vbChecked) {
        if (socketWrenchPersonality())
            disconnectSocketWrench(index);
        else
            udp->Close();
        TexteUDPIPSource[index]->SetEnabled(true);
        TexteUDPPortSource[index]->SetEnabled(true);
        markModified(OptionsPeripheriquesModifiees);
        return;
    }

    const std::string ip = TexteUDPIPSource[index]->Text();
    const std::string portText = TexteUDPPortSource[index]->Text();
    const int32_t port = VBA::ValLong(portText);
    if (VBA::Trim(ip).empty()) {
        log("Err: Unable to Check CheckUDPInActif due to IP source is empty");
        // The address repair at the end of the load may give the row an address.
        if (FrmSetupEnChargement) pendingLines_.push_back(index);
    } else if (port < 1 || port > 65535) {
        // Port 0 would bind a port of the system's choosing and look like a success.
        log("Err: UDP: Port source not valid: " + portText + " (Index: " + std::to_string(index) +
            ") |Sub: " + kTag);
    } else if (socketWrenchPersonality()) {
        DerniereErreur.number = 0;
        disconnectSocketWrench(index);
        if (wrench->IsClosed()) engine.BindSocketWrenchUDPIn(index, ip, port, kTag);
    } else {
        DerniereErreur.number = 0;
        platform::net::WinsockUdp& receiver = *udp;
        receiver.Close();
        receiver.LocalPort = port;
        if (const auto raised = receiver.Bind())
            reportBindFailure(raised.number, raised.description, ip, port, index, kBindLine);
        const int32_t err = DerniereErreur.number;
        log("Local IP: " + TexteComputerNameAdresse[1]->Text() + " Listen IP: " + ip + ":" +
            std::to_string(port));
        if (err != 0) {
            std::string text = DerniereErreur.description;
            if (err == platform::net::wsaAddressNotAvailable)
                text += "\r\n\r\nAdresse non valide: " + ip + ":" + std::to_string(port);
            log("Err: SocketUDP # " + std::to_string(index) + ": Err: " + std::to_string(err) + " " + text);
        } else {
            TexteUDPIPSource[index]->SetEnabled(false);
            TexteUDPPortSource[index]->SetEnabled(false);
            log("UDP: Connected: " + receiver.LocalIP() + ":" + std::to_string(receiver.BoundPort()));
        }
    }
    markModified(OptionsPeripheriquesModifiees);
}

void FrmSetupPeripherique::attachPendingLines() {
    const auto lineList = std::exchange(pendingLines_, {});
    for (const int16_t index : lineList)
        if (CheckUDPInActif[index]->Value() == platform::forms::vbChecked &&
            !VBA::Trim(TexteUDPIPSource[index]->Text()).empty())
            CheckUDPInActif_Click(index);
}
