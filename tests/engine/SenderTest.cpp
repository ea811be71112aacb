// The UDP sender on real loopback peers: endpoint reuse, reconnects, refusals, the cut.
#include "tests/engine/EngineFixture.h"
#include "tests/platform/net/HeldNameServer.h"

using enginetest::EngineTest;
using nettest::LoopbackPeer;

TEST_F(EngineTest, SenderKeepsItsSocketOnlyForTheSameLoopbackEndpoint) {
    LoopbackPeer a, b;
    const std::string toA = std::to_string(a.port()), toB = std::to_string(b.port());
    engine().SendDataUDPSocketWrench(1, "127.0.0.1", a.port(), "one");
    engine().SendDataUDPSocketWrench(1, "127.0.0.1", a.port(), "two");
    engine().SendDataUDPSocketWrench(1, "127.0.0.1", b.port(), "three");
    EXPECT_EQ(a.receive(), "one");
    EXPECT_EQ(a.receive(), "two");
    EXPECT_EQ(b.receive(), "three");
    EXPECT_EQ(logCount("UDP: SocketWrenchUDPOut.Connected to: 127.0.0.1:" + toA), 1);
    EXPECT_EQ(logCount("UDP: SocketWrenchUDPOut.Disconnected"), 1);
    EXPECT_EQ(logCount("UDP: SocketWrenchUDPOut.Connected to: 127.0.0.1:" + toB), 1);
    EXPECT_EQ(logCount("UDP: SocketWrenchUDPOut.Write: Data Sent to: 127.0.0.1:" + toB + " |Data: three"), 1);
}

TEST_F(EngineTest, SenderReconnectsBeforeEverySendToAnyOtherAddress) {
    LoopbackPeer peer(QHostAddress("127.0.0.2"));
    ASSERT_NE(peer.port(), 0);
    engine().SendDataUDPSocketWrench(1, "127.0.0.2", peer.port(), "first");
    engine().SendDataUDPSocketWrench(1, "127.0.0.2", peer.port(), "second");
    EXPECT_EQ(peer.receive(), "first");
    EXPECT_EQ(peer.receive(), "second");
    EXPECT_EQ(logCount("UDP: SocketWrenchUDPOut.Connected to: 127.0.0.2:"), 2);
    EXPECT_EQ(logCount("UDP: SocketWrenchUDPOut.Disconnected"), 1);
}

TEST_F(EngineTest, SenderResolvesNamesTrimsAndCutsButLogsTheWholeMessage) {
    LoopbackPeer peer;
    const std::string port = std::to_string(peer.port());
    const std::string message = "  " + std::string(1500, 'q') + "  ";
    engine().SendDataUDPSocketWrench(1, " localhost ", peer.port(), message, 0);
    EXPECT_EQ(peer.receive(), std::string(1024, 'q'));
    EXPECT_EQ(
        logCount("UDP: SocketWrenchUDPOut.Resolve: HostName changed to HostAddress: localhost to 127.0.0.1"),
        1);
    EXPECT_EQ(logCount("UDP: SocketWrenchUDPOut.Connected to: 127.0.0.1:" + port), 1);
    EXPECT_EQ(logCount("|Data: " + message), 1);
}

TEST_F(EngineTest, SenderRefusesPortsThatDoNotFitAndUnknownHosts) {
    LoopbackPeer peer;
    for (const int32_t port : {0, -1, 65536 + peer.port(), 70000}) {
        clearLog();
        engine().SendDataUDPSocketWrench(1, "127.0.0.1", port, "never");
        EXPECT_EQ(logCount("Err: UDP: SocketWrenchUDPOut: Port out of range: " + std::to_string(port)), 1);
        EXPECT_EQ(logCount("Write"), 0);
    }
    clearLog();
    engine().SendDataUDPSocketWrench(1, "no-such-host.invalid", peer.port(), "never");
    ASSERT_TRUE(nettest::waitUntil([&] { return logCount("Err: UDP: SocketWrenchUDPOut.Connect: ") == 1; }));
    EXPECT_EQ(logCount("Warning: UDP: SocketWrenchUDPOut.Resolve: 11001: "), 1);
    EXPECT_EQ(logCount("Err: UDP: SocketWrenchUDPOut.Connect: 11001: "), 1);
    engine().SendDataUDPSocketWrench(1, "", peer.port(), "never");
    EXPECT_EQ(logCount("Err: UDP: SocketWrenchUDPOut.Connect: "), 2);
    EXPECT_EQ(logCount("Write"), 0);
    EXPECT_EQ(peer.receive(std::chrono::milliseconds{200}), "");
}

TEST_F(EngineTest, TheSendersOtherEventsAreLoggedWithTheirIndex) {
    auto& sender = engine().SocketWrenchUDPOut[2];
    for (const auto& event : {sender.OnAccept, sender.OnCancel, sender.OnConnect, sender.OnDisconnect,
                              sender.OnProgress, sender.OnTimeout, sender.OnWrite})
        event();
    for (const char* name :
         {"OnAccept", "OnCancel", "OnConnect", "OnDisconnect", "OnProgress", "OnTimeout", "OnWrite"})
        EXPECT_EQ(logCount(std::string("UDP: SocketWrenchUDPOut_") + name + ": Index: 2"), 1) << name;
}

// A text that begins with a digit is an address or nothing: no name server hears of it.
TEST_F(EngineTest, SenderRefusesAMalformedAddressAtOnce) {
    nettest::HeldNameServer server;
    LoopbackPeer peer;
    for (const std::string addr : {"300.1.1.1", "1.2.3", "1..2.3", "1.2.3.4.5", "127.0.0.1x", "010.0.0.1"}) {
        clearLog();
        engine().SendDataUDPSocketWrench(1, addr, peer.port(), "never");
        EXPECT_EQ(logCount("Err: UDP: SocketWrenchUDPOut.Connect: 11001: "), 1) << addr;
    }
    EXPECT_TRUE(server.started.empty());
    EXPECT_EQ(peer.receive(std::chrono::milliseconds{200}), "");
}
