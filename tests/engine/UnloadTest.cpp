// The engine window's unload: receivers disconnected (logged for SocketWrench), timers off,
// every port free again.
#include "foundation/SystemQueries.h"
#include "tests/engine/EngineFixture.h"
#include "tests/platform/net/HeldNameServer.h"

using enginetest::EngineTest;

namespace {

bool portIsFree(quint16 port) {
    QUdpSocket probe;
    return probe.bind(QHostAddress::AnyIPv4, port);
}

}  // namespace

TEST_F(EngineTest, UnloadDisconnectsEveryBoundReceiverAndStopsEveryTimer) {
    const std::vector<quint16> ports = {bindRow(0), bindRow(2), bindRow(5)};
    engine().UDPDataArrival_00_Pre(0, 0, "queued", "S");
    ASSERT_TRUE(engine().TimerDataArrival.Enabled());
    clearLog();
    Frm_MainBis& window = engine();
    ASSERT_TRUE(window.Unload());
    EXPECT_EQ(logCount("UDP: SocketWrenchUDPIn.Disconnect: True"), 3);
    for (platform::forms::Timer* timer : platform::forms::timersOf(window))
        EXPECT_FALSE(timer->Enabled()) << timer->Name();
    EXPECT_EQ(platform::forms::timersOf(window).size(), 6u);
    for (quint16 port : ports) EXPECT_TRUE(portIsFree(port)) << port;
}

TEST_F(EngineTest, UnloadOnAnOlderWindowsClosesTheWinsockReceiversSilently) {
    PbLVersionOS = 6;
    std::vector<quint16> ports;
    for (size_t i : {0u, 1u}) {
        ASSERT_FALSE(engine().SocketUDP[i].Bind());
        ports.push_back(quint16(engine().SocketUDP[i].BoundPort()));
    }
    clearLog();
    Frm_MainBis& window = engine();
    ASSERT_TRUE(window.Unload());
    EXPECT_EQ(logCount("Disconnect"), 0);
    for (quint16 port : ports) EXPECT_TRUE(portIsFree(port)) << port;
    EXPECT_EQ(window.SocketUDP[0].state(), platform::net::WinsockUdp::sckClosed);
}

// Nothing that waited for a name opens a socket once the window is gone.
TEST_F(EngineTest, UnloadDropsWhatWaitsForANameServer) {
    nettest::HeldNameServer server;
    nettest::LoopbackPeer peer;
    const quint16 port = nettest::LoopbackPeer().port();
    Frm_MainBis& window = engine();
    window.SendDataUDPSocketWrench(1, "reply.example", peer.port(), "never");
    window.BindSocketWrenchUDPIn(3, "row.example", port, "test");
    ASSERT_EQ(server.started.size(), 2u);
    ASSERT_TRUE(window.Unload());
    clearLog();
    EXPECT_TRUE(server.answer("reply.example", 0));
    EXPECT_TRUE(server.answer("row.example", 0));
    nettest::settle();
    EXPECT_EQ(peer.receive(std::chrono::milliseconds{100}), "");
    EXPECT_TRUE(window.SocketWrenchUDPOut[1].IsClosed());
    EXPECT_TRUE(window.SocketWrenchUDPIn[3].IsClosed());
    EXPECT_EQ(logCount("UDP: "), 0);
}
