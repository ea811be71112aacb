// The reception check box over real loopback sockets, in both receiver personalities.
#include <QUdpSocket>

#include <gtest/gtest.h>

#include "foundation/DailyLog.h"
#include "foundation/SystemQueries.h"
#include "platform/Dialogs.h"
#include "platform/SystemInfo.h"
#include "settings/FrmSetupPeripherique.h"
#include "settings/SettingsFlags.h"
#include "tests/platform/net/HeldNameServer.h"
#include "tests/platform/net/LoopbackPeer.h"
#include "tests/settings/SettingsSite.h"

namespace settings_test {
namespace {

using platform::forms::vbChecked;
using platform::forms::vbUnchecked;

// The OS codes that pick each receiver: SocketWrench (10 to 13) or the Winsock control.
enum class Personality { SocketWrench, Winsock };

class Binding : public SettingsSite, public ::testing::WithParamInterface<Personality> {
protected:
    void SetUp() override {
        SettingsSite::SetUp();
        if (GetParam() == Personality::Winsock) {
            // Windows 7: the log header's system line sets the generation code from this.
            platform::system::OsStandIn seven;
            seven.version = {6, 1, 7601, 2, "Service Pack 1", 0x0100, 1};
            platform::system::setOsStandIn(seven);
            PbLVersionOS = 7;
        }
        loadWindows();
        // The first line after the load brings the day's header into the file.
        Lib_Public::TraceLog(-1, -1, -1, "Binding test");
        port = freeUdpPort();
    }
    FrmSetupPeripherique& page() { return FrmSetupPeripherique::get(); }
    void setRow(const std::string& ip, const std::string& portText) {
        page().TexteUDPIPSource[0]->SetText(ip);
        page().TexteUDPPortSource[0]->SetText(portText);
    }
    bool boxesEnabled() {
        return page().TexteUDPIPSource[0]->Enabled() && page().TexteUDPPortSource[0]->Enabled();
    }
    // True when nothing else holds the port on any address.
    bool portFree() {
        QUdpSocket probe;
        return probe.bind(QHostAddress::AnyIPv4, port, QUdpSocket::DontShareAddress);
    }
    bool sw() const { return GetParam() == Personality::SocketWrench; }
    std::string p() const { return std::to_string(port); }

    uint16_t port = 0;
};

TEST_P(Binding, ANumericAddressBindsAndLocksTheRow) {
    platform::system::setHostIPv4Address("192.0.2.7");
    setRow("127.0.0.1", p());
    page().CheckUDPInActif[0]->SetValue(vbChecked);
    EXPECT_FALSE(boxesEnabled());
    EXPECT_FALSE(portFree());
    if (sw()) {
        EXPECT_TRUE(logged("UDP: SocketWrenchUDPIn.Disconnected (Index: 0)"));
        EXPECT_TRUE(logged("UDP: SocketWrenchUDPIn: Try to Bind: 127.0.0.1:" + p() + " (Index: 0)"));
        EXPECT_TRUE(logged("UDP: SocketWrenchUDPIn.Binded to: 127.0.0.1:" + p() + " (Index: 0)"));
    } else {
        EXPECT_TRUE(logged(" Listen IP: 127.0.0.1:" + p()));
        // The Winsock control listens on every address, whatever the row says, and names the
        // machine's address.
        EXPECT_TRUE(logged("UDP: Connected: 192.0.2.7:" + p()));
    }
    EXPECT_TRUE(OptionsPeripheriquesModifiees);
}

TEST_P(Binding, AHostNameIsResolvedFirst) {
    setRow("localhost", p());
    page().CheckUDPInActif[0]->SetValue(vbChecked);
    if (sw()) {
        ASSERT_TRUE(nettest::waitUntil([&] { return !boxesEnabled(); }));
        EXPECT_TRUE(logged(
            "UDP: SocketWrenchUDPIn.Resolve: HostName changed to HostAddress: localhost to 127.0.0.1"));
        EXPECT_TRUE(logged("UDP: SocketWrenchUDPIn.Binded to: 127.0.0.1:" + p()));
    } else {
        EXPECT_FALSE(boxesEnabled());
        EXPECT_FALSE(logged("Resolve"));
        EXPECT_TRUE(logged("UDP: Connected: "));
    }
}

// The click does not wait for the name server; a row unticked meanwhile stays unbound. The
// Winsock control asks no name server at all.
TEST_P(Binding, ARowUntickedWhileItsNameIsLookedUpIsNotBoundByTheLateAnswer) {
    nettest::HeldNameServer server;
    setRow("automation.example", p());
    page().CheckUDPInActif[0]->SetValue(vbChecked);
    if (!sw()) {
        EXPECT_TRUE(server.started.empty());
        EXPECT_FALSE(boxesEnabled());
        return;
    }
    EXPECT_TRUE(boxesEnabled());
    EXPECT_EQ(server.started, std::vector<std::string>{"automation.example"});
    page().CheckUDPInActif[0]->SetValue(vbUnchecked);
    ASSERT_TRUE(server.answer("automation.example", 0));
    nettest::settle();
    EXPECT_FALSE(logged("Try to Bind"));
    EXPECT_TRUE(portFree());
    EXPECT_TRUE(boxesEnabled());
}

TEST_P(Binding, APortInUseGivesTheErrorAndLeavesTheRowEditable) {
    QUdpSocket holder;
    ASSERT_TRUE(holder.bind(QHostAddress::AnyIPv4, port, QUdpSocket::DontShareAddress));
    setRow("127.0.0.1", p());
    page().CheckUDPInActif[0]->SetValue(vbChecked);
    EXPECT_TRUE(boxesEnabled());
    EXPECT_EQ(page().CheckUDPInActif[0]->Value(), vbChecked);
    if (sw()) {
        EXPECT_TRUE(logged("Err: UDP: SocketWrenchUDPIn.Bind: 10048: "));
        EXPECT_TRUE(logged("(Index: 0) |SubFrmSetupPeripherique:CheckUDPInActif_Click"));
    } else {
        const auto lines = logLines();
        int handler = -1, local = -1, err = -1;
        for (int i = 0; i < int(lines.size()); ++i) {
            if (lines[i].find("Err: AddressInUse: 127.0.0.1:" + p() +
                              " |Idx: 0 |FrmSetupPeripherique:CheckUDPInActif_Click:") != std::string::npos)
                handler = i;
            if (lines[i].find("Local IP: ") != std::string::npos) local = i;
            if (lines[i].find("Err: SocketUDP # 0: Err: 10048 ") != std::string::npos) err = i;
        }
        ASSERT_GE(handler, 0);
        EXPECT_LT(handler, local);
        EXPECT_LT(local, err);
    }
}

TEST_P(Binding, UntickingReleasesThePort) {
    setRow("127.0.0.1", p());
    page().CheckUDPInActif[0]->SetValue(vbChecked);
    ASSERT_FALSE(portFree());
    page().CheckUDPInActif[0]->SetValue(vbUnchecked);
    EXPECT_TRUE(boxesEnabled());
    EXPECT_TRUE(portFree());
    EXPECT_EQ(countLogged("UDP: SocketWrenchUDPIn.Disconnected (Index: 0)"), sw() ? 2 : 0);
    // And the same port binds again.
    page().CheckUDPInActif[0]->SetValue(vbChecked);
    EXPECT_FALSE(boxesEnabled());
    EXPECT_FALSE(portFree());
}

TEST_P(Binding, ABlankAddressGivesOnlyItsErrorLine) {
    for (const char* blank : {"", "   "}) {
        setRow(blank, p());
        const int before = int(logLines().size());
        page().CheckUDPInActif[0]->SetValue(vbChecked);
        const auto lines = logLines();
        ASSERT_EQ(int(lines.size()), before + 1);
        EXPECT_NE(lines.back().find("Err: Unable to Check CheckUDPInActif due to IP source is empty"),
                  std::string::npos);
        EXPECT_TRUE(boxesEnabled());
        EXPECT_TRUE(portFree());
        page().CheckUDPInActif[0]->SetValue(vbUnchecked);
    }
}

TEST_P(Binding, APortThatIsNotFrom1To65535BindsNothing) {
    for (const char* text : {"abc", "0", "-5", "65536", "70000", ""}) {
        SCOPED_TRACE(text);
        setRow("127.0.0.1", text);
        page().CheckUDPInActif[0]->SetValue(vbChecked);
        EXPECT_TRUE(logged(std::string("Err: UDP: Port source not valid: ") + text + " (Index: 0)"));
        EXPECT_TRUE(boxesEnabled());
        page().CheckUDPInActif[0]->SetValue(vbUnchecked);
    }
    EXPECT_FALSE(logged("Try to Bind"));
    EXPECT_FALSE(logged("Connected: "));
}

INSTANTIATE_TEST_SUITE_P(BothReceivers, Binding,
                         ::testing::Values(Personality::SocketWrench, Personality::Winsock),
                         [](const auto& info) {
                             return info.param == Personality::SocketWrench ? "SocketWrench" : "Winsock";
                         });

TEST(SocketErrorNames, TableOfCodes) {
    const struct {
        int32_t code;
        const char* name;
    } cases[] = {{7, "OutOfMemory"},
                 {10048, "AddressInUse"},
                 {10049, "AddressNotAvailable"},
                 {11001, "HostNotFound"},
                 {40014, "InvalidArgument"},
                 {40026, "WrongProtocol"},
                 {10022, ""},
                 {0, ""}};
    for (const auto& c : cases) EXPECT_EQ(FrmSetupPeripherique::LibSockectErr(c.code), c.name);
}

}  // namespace
}  // namespace settings_test
