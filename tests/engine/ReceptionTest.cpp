// Reception on real loopback sockets: the monitor, the 1024-character cut, the two receiver
// kinds, and the rebind after a failed read.
#include "foundation/RunState.h"
#include "foundation/SystemQueries.h"
#include "platform/Clock.h"
#include "tests/engine/EngineFixture.h"
#include "tests/platform/net/HeldNameServer.h"

using enginetest::EngineTest;
using nettest::LoopbackPeer;
using nettest::waitUntil;

TEST_F(EngineTest, AReceivedMessageIsShownAndQueued) {
    platform::LocalClockTime t;
    ASSERT_TRUE(platform::parseInstant("2026-12-09 09:17:26", t));
    platform::clock::setManual(t, 1000000);
    const quint16 port = bindRow(1);
    LoopbackPeer peer;
    peer.send("<NoStation:3><Title:Caf\xe9>", port);  // Windows-1252 on the wire
    ASSERT_TRUE(waitUntil([&] { return arrived("<NoStation:3><Title:Caf\xc3\xa9>", 3); }));
    EXPECT_EQ(page().TexteUDPDonneeRecues->Text(), "09/12/2026 09:17:26: <NoStation:3><Title:Caf\xc3\xa9>");
    EXPECT_EQ(
        logCount(
            "UDP: Data arrival: <NoStation:3><Title:Caf\xc3\xa9> |Sub: Frm_MainBis:SocketWrenchUDPIn_OnRead"),
        1);
}

TEST_F(EngineTest, BlanksAreNeitherShownNorPassedOn) {
    const quint16 port = bindRow(0);
    LoopbackPeer peer;
    peer.send("    ", port);
    peer.send("", port);
    peer.send("after", port);
    ASSERT_TRUE(waitUntil([&] { return arrived("after", 1); }));
    EXPECT_EQ(logCount("UDP: Data arrival Bis: "), 1);
    EXPECT_EQ(logCount("|Sub: Frm_MainBis:SocketWrenchUDPIn_OnRead"), 2);  // the frame, the timer
    EXPECT_NE(page().TexteUDPDonneeRecues->Text().find(": after"), std::string::npos);
}

TEST_F(EngineTest, SocketWrenchCutsAt1024AndWinsockTakesTheDatagramWhole) {
    const std::string big = "<NoStation:2>" + std::string(1500 - 13, 'x');
    const quint16 port = bindRow(0);
    LoopbackPeer peer;
    peer.send(big, port);
    ASSERT_TRUE(waitUntil([&] { return arrived(big.substr(0, 1024), 2); }));

    auto& winsock = engine().SocketUDP[3];
    ASSERT_FALSE(winsock.Bind());
    peer.send(big, quint16(winsock.BoundPort()));
    ASSERT_TRUE(waitUntil([&] { return arrived(big, 2); }));
    EXPECT_EQ(logCount("UDP: Data arrival: " + big + " |Sub: Frm_MainBis:SocketUDP_DataArrival"), 1);
}

TEST_F(EngineTest, DuringShutDownOnlyTheWinsockReceiverStillReads) {
    const quint16 port = bindRow(0);
    auto& winsock = engine().SocketUDP[0];
    ASSERT_FALSE(winsock.Bind());
    Abandon = true;
    LoopbackPeer peer;
    peer.send("<NoStation:1>wrench", port);
    peer.send("<NoStation:2>winsock", quint16(winsock.BoundPort()));
    // The log takes no lines now, and a tick only switches the dispatcher off: count the queues.
    ASSERT_TRUE(waitUntil([&] { return queued(2) == 1; }));
    nettest::settle();
    EXPECT_EQ(queued(1), 0);
}

TEST_F(EngineTest, ReadErrorsRebindTheRowFromItsBoxes) {
    struct Case {
        int32_t error;
        std::vector<std::string> lines;
        bool incident;
    };
    const Case cases[] = {
        {10035,
         {"Err: UDP: SocketWrenchUDPIn_OnRead: The specified operation would block the current thread"},
         false},
        {10054,
         {"Err: UDP: SocketWrenchUDPIn_OnRead: There is no server running on the specified host "
          "address and/or port number |Remote: ",
          "Err: UDP: SocketWrenchUDPIn_OnRead: 10054: "},
         true},
    };
    for (const Case& c : cases) {
        const quint16 port = bindRow(0);
        const std::string row = "127.0.0.1:" + std::to_string(port) + " (Index: 0)";
        clearLog();
        const int32_t incidentsBefore = neighbours::Frm_Main().ListeIncidents_ListCount(0);
        engine().SocketWrenchUDPIn[0].failNextRead(c.error);
        LoopbackPeer peer;
        peer.send("lost in the failure", port);
        ASSERT_TRUE(waitUntil([&] { return logCount("UDP: SocketWrenchUDPIn.Binded to: " + row) == 1; }))
            << c.error;
        for (const std::string& line : c.lines) EXPECT_EQ(logCount(line), 1) << line;
        EXPECT_EQ(logCount("UDP: SocketWrenchUDPIn.Disconnect: True"), 1);
        EXPECT_EQ(logCount("UDP: SocketWrenchUDPIn: Try to Bind: " + row), 1);
        EXPECT_EQ(neighbours::Frm_Main().ListeIncidents_ListCount(0) > incidentsBefore, c.incident);
        EXPECT_FALSE(page().TexteUDPIPSource[0]->Enabled());
        EXPECT_FALSE(page().TexteUDPPortSource[0]->Enabled());
        // The station hears again on the same port.
        peer.send("<NoStation:6>heard again", port);
        ASSERT_TRUE(waitUntil([&] { return arrived("<NoStation:6>heard again", 6); })) << c.error;
        engine().SocketWrenchUDPIn[0].Disconnect();
    }
}

TEST_F(EngineTest, RebindResolvesAHostNameFromTheBox) {
    const quint16 port = bindRow(0);
    setRow(0, "localhost", std::to_string(port) + " (automation)");
    engine().SocketWrenchUDPIn[0].failNextRead(10035);
    LoopbackPeer peer;
    peer.send("x", port);
    ASSERT_TRUE(waitUntil([&] { return logCount("UDP: SocketWrenchUDPIn.Binded to: ") == 2; }));
    EXPECT_EQ(
        logCount("UDP: SocketWrenchUDPIn.Resolve: HostName changed to HostAddress: localhost to 127.0.0.1"),
        1);
    EXPECT_EQ(logCount("UDP: SocketWrenchUDPIn.Binded to: 127.0.0.1:" + std::to_string(port) + " (Index: 0)"),
              1);
}

// The rebind does not wait for the name server: the row is editable until the answer binds it.
TEST_F(EngineTest, ARebindOnANameWaitsForItsAnswerWithTheRowEditable) {
    nettest::HeldNameServer server;
    const quint16 port = bindRow(0);
    setRow(0, "automation.example", std::to_string(port));
    engine().SocketWrenchUDPIn[0].failNextRead(10035);
    LoopbackPeer peer;
    peer.send("x", port);
    ASSERT_TRUE(waitUntil([&] { return server.started.size() == 1; }));
    EXPECT_TRUE(engine().SocketWrenchUDPIn[0].IsClosed());
    EXPECT_TRUE(page().TexteUDPIPSource[0]->Enabled());
    ASSERT_TRUE(server.answer("automation.example", 0));
    EXPECT_EQ(logCount("UDP: SocketWrenchUDPIn.Binded to: 127.0.0.1:" + std::to_string(port) + " (Index: 0)"),
              1);
    EXPECT_FALSE(page().TexteUDPIPSource[0]->Enabled());
    peer.send("<NoStation:4>heard again", port);
    ASSERT_TRUE(waitUntil([&] { return arrived("<NoStation:4>heard again", 4); }));
}

TEST_F(EngineTest, ARebindThatCannotHappenLeavesTheRowUnboundAndEditable) {
    QUdpSocket squatter;
    ASSERT_TRUE(squatter.bind(QHostAddress::LocalHost, 0));
    const std::string taken = std::to_string(squatter.localPort());
    struct Case {
        int32_t error;
        std::string ip, port;
        int tries;
        const char* line;
    };
    const Case cases[] = {
        {10035, "  ", "", 0, nullptr},  // an empty address: no bind attempt, no line about it
        {10035, "127.0.0.1", taken, 1, "Err: UDP: SocketWrenchUDPIn.Bind: 10048: "},
        {10054, "127.0.0.1", taken, 1, "Err: UDP: SocketWrenchUDPIn.Bind: 10048: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        const quint16 port = bindRow(0);
        ASSERT_FALSE(page().TexteUDPIPSource[0]->Enabled());
        setRow(0, c.ip, c.port.empty() ? std::to_string(port) : c.port);
        clearLog();
        engine().SocketWrenchUDPIn[0].failNextRead(c.error);
        LoopbackPeer peer;
        peer.send("x", port);
        ASSERT_TRUE(waitUntil([&] { return engine().SocketWrenchUDPIn[0].IsClosed(); }));
        nettest::settle();
        EXPECT_EQ(logCount("Try to Bind"), c.tries);
        if (c.line) {
            EXPECT_EQ(logCount(c.line), 1);
        }
        // The closed receiver no longer looks bound: the row can be edited and ticked again.
        EXPECT_TRUE(page().TexteUDPIPSource[0]->Enabled());
        EXPECT_TRUE(page().TexteUDPPortSource[0]->Enabled());
    }
}

TEST_F(EngineTest, AFailedBindIsLoggedAndLeavesTheBoxesAsTheyWere) {
    QUdpSocket squatter;
    ASSERT_TRUE(squatter.bind(QHostAddress::LocalHost, 0));
    const int32_t port = squatter.localPort();
    engine().BindSocketWrenchUDPIn(0, "127.0.0.1", port, "S");
    EXPECT_EQ(logCount("Err: UDP: SocketWrenchUDPIn.Bind: 10048: "), 1);
    EXPECT_EQ(logCount("(Index: 0) |SubS"), 1);
    EXPECT_TRUE(page().TexteUDPIPSource[0]->Enabled());
    EXPECT_TRUE(page().TexteUDPPortSource[0]->Enabled());
    engine().BindSocketWrenchUDPIn(0, "no-such-host.invalid", port, "S");
    ASSERT_TRUE(waitUntil([&] { return logCount("Warning: UDP: SocketWrenchUDPIn.Bind: ") == 1; }));
    EXPECT_EQ(logCount("Warning: UDP: SocketWrenchUDPIn.Resolve: 11001: "), 1);
    EXPECT_EQ(logCount("Warning: UDP: SocketWrenchUDPIn.Bind: 11001: "), 1);
    EXPECT_TRUE(engine().SocketWrenchUDPIn[0].IsClosed());
}

TEST_F(EngineTest, OtherReadErrorsAreAnIncidentAndNothingMore) {
    const quint16 port = bindRow(0);
    clearLog();
    engine().SocketWrenchUDPIn[0].failNextRead(10040);
    LoopbackPeer peer;
    peer.send("x", port);
    ASSERT_TRUE(waitUntil([&] { return logCount("Err: UDP: SocketWrenchUDPIn_OnRead: 10040: ") == 1; }));
    EXPECT_EQ(logCount("|SubFrm_MainBis:SocketWrenchUDPIn_OnRead"), 1);
    EXPECT_FALSE(engine().SocketWrenchUDPIn[0].IsClosed());
    EXPECT_EQ(logCount("Disconnect"), 0);
}

TEST_F(EngineTest, AWinsockErrorClosesTheReceiverAndLeavesItsRowEditable) {
    auto& winsock = engine().SocketUDP[1];
    ASSERT_FALSE(winsock.Bind());
    page().TexteUDPIPSource[1]->SetEnabled(false);  // as a bound row shows
    page().TexteUDPPortSource[1]->SetEnabled(false);
    winsock.Error(10054, "Connection reset by peer");  // as the control raises it
    EXPECT_EQ(logCount("Err: SocketUDP # 1: Err: 10054 Connection reset by peer Source: SocketUDP"), 1);
    EXPECT_EQ(winsock.state(), platform::net::WinsockUdp::sckClosed);
    EXPECT_TRUE(page().TexteUDPIPSource[1]->Enabled());
    EXPECT_TRUE(page().TexteUDPPortSource[1]->Enabled());
}

TEST_F(EngineTest, ConnectionEventsOfAWinsockReceiverAreLoggedWithTheRowInColumnTwo) {
    auto& winsock = engine().SocketUDP[3];
    winsock.Closed();
    winsock.Connected();
    winsock.ConnectionRequest(7);
    // Nothing connected: the remote address is empty and its port 0.
    for (const std::string text : {"UDP: Close", "UDP: Connect", "UDP: ConnectionRequest: :0"}) {
        std::vector<std::string> lines;
        for (const std::string& line : logLines(text))
            if (line.ends_with(text)) lines.push_back(line);
        ASSERT_EQ(lines.size(), 1u) << text;
        EXPECT_EQ(lines[0].substr(12, 8), " : :3: :") << lines[0];  // after the time stamp
    }
}

// One datagram can never write a line that looks like the program's own.
TEST_F(EngineTest, ControlCharactersFromTheWireStayOnTheirOwnLogLine) {
    const quint16 port = bindRow(0);
    LoopbackPeer peer;
    const std::string forged = "\r\n15:00:00:000 : : : :    :Err: forged";
    const std::string shown = "<CRLF>15:00:00:000 : : : :    :Err: forged";
    peer.send("<NoStation:2>a" + forged + std::string("\0\t\n", 3), port);
    peer.send("What time is it ?<Response:127.0.0.1:" + std::to_string(peer.port()) + ">" + forged, port);
    peer.send("<NoStation:99" + forged + ">", port);
    ASSERT_TRUE(
        waitUntil([&] { return logCount("TimerDataArrival_Timer: Chaine: <NoStation:2>a" + shown) == 1; }));
    ASSERT_EQ(peer.receive().substr(0, 16), "<Relaytone_Time:");
    ASSERT_TRUE(waitUntil([&] { return logCount("NoStation out of range: 99" + shown) == 1; }));
    EXPECT_EQ(logCount("UDP: Data arrival Bis: <NoStation:2>a" + shown + "\\x00\\x09<LF> |NoStation: 2"), 1);
    EXPECT_EQ(logCount("DataArrival_WhatTimeIsIt: Start: What time is it ?<Response:127.0.0.1:" +
                       std::to_string(peer.port()) + ">" + shown + " |Sub: "),
              1);
    for (const std::string& line : logLines(""))
        EXPECT_EQ(line.find_first_of(std::string("\r\n\0", 3)), std::string::npos) << line;
}
