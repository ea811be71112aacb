// The engine window's unload: receivers disconnected (logged for SocketWrench), timers off,
// every port free again.
#include "foundation/SystemQueries.h"
#include "tests/engine/EngineFixture.h"

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
