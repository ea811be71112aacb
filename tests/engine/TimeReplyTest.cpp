// Time requests over real loopback UDP: answered at once to the Response endpoint, never queued.
#include "engine/TimeReply.h"
#include "platform/Clock.h"
#include "tests/engine/EngineFixture.h"
#include "tests/platform/net/HeldNameServer.h"

using enginetest::EngineTest;
using nettest::LoopbackPeer;

namespace {

platform::LocalTimeFields at(const char* instant, int millisecond) {
    platform::LocalClockTime t;
    EXPECT_TRUE(platform::parseInstant(instant, t)) << instant;
    return platform::fieldsOf(t + std::chrono::milliseconds{millisecond});
}

void setClock(const char* instant, int millisecond) {
    platform::LocalClockTime t;
    ASSERT_TRUE(platform::parseInstant(instant, t));
    platform::clock::setManual(t + std::chrono::milliseconds{millisecond}, 1000000);
}

}  // namespace

TEST(TimeReply, RoundsOneReadingToTheNearestSecond) {
    struct Case {
        const char* instant;
        int ms;
        const char* reply;
    };
    const Case cases[] = {
        {"2026-12-09 09:17:26", 0, "<Relaytone_Time:09/12/2026 09:17:26>"},
        {"2026-06-01 12:00:00", 501, "<Relaytone_Time:01/06/2026 12:00:01>"},
        {"2026-06-01 12:00:00", 500, "<Relaytone_Time:01/06/2026 12:00:00>"},
        {"2026-12-31 23:59:59", 600, "<Relaytone_Time:01/01/2027 00:00:00>"},
        {"2024-02-28 23:59:59", 999, "<Relaytone_Time:29/02/2024 00:00:00>"},
    };
    for (const Case& c : cases) {
        const std::string reply = engine::timeReply(at(c.instant, c.ms));
        EXPECT_EQ(reply, c.reply) << c.instant << "." << c.ms;
        EXPECT_EQ(reply.size(), 36u);
    }
}

TEST_F(EngineTest, TimeRequestIsAnsweredAtOnceAndNeverQueued) {
    const quint16 port = bindRow(0);
    setClock("2026-12-31 23:59:59", 600);
    LoopbackPeer requester;
    requester.send("what TIME is it ?<Response:127.0.0.1:" + std::to_string(requester.port()) + ">", port);
    EXPECT_EQ(requester.receive(), "<Relaytone_Time:01/01/2027 00:00:00>");
    EXPECT_EQ(totalQueued(), 0);
    EXPECT_EQ(logCount("UDP: Data arrival"), 0);
    EXPECT_EQ(logCount("DataArrival_WhatTimeIsIt: Start: what TIME is it ?<Response:127.0.0.1:"), 1);
    EXPECT_EQ(logCount("DataArrival_WhatTimeIsIt: Data sended: <Relaytone_Time:01/01/2027 00:00:00>"), 1);
    EXPECT_EQ(logCount("DataArrival_WhatTimeIsIt: End"), 1);
    EXPECT_EQ(page().TexteUDPDonneeRecues->Text(),
              "31/12/2026 23:59:59: what TIME is it ?<Response:127.0.0.1:" +
                  std::to_string(requester.port()) + ">");
}

TEST_F(EngineTest, TwoRequestersOnTwoPortsEachGetTheirOwnReply) {
    const quint16 port = bindRow(0);
    LoopbackPeer a, b;
    for (int round = 0; round < 2; ++round) {
        for (LoopbackPeer* peer : {&a, &b}) {
            // A blank before the host: the host is trimmed.
            peer->send("What time is it ?<Response: 127.0.0.1:" + std::to_string(peer->port()) + ">", port);
            EXPECT_EQ(peer->receive().substr(0, 16), "<Relaytone_Time:") << "round " << round;
        }
    }
    EXPECT_EQ(a.receive(std::chrono::milliseconds{100}), "");
    EXPECT_EQ(b.receive(std::chrono::milliseconds{100}), "");
}

TEST_F(EngineTest, TimeRequestWithoutUsableEndpointIsLoggedAndNotAnswered) {
    const quint16 port = bindRow(0);
    LoopbackPeer requester;
    const std::string self = std::to_string(requester.port());
    for (const std::string& text : std::vector<std::string>{
             "What time is it ?", "What time is it ?<Response::" + self + ">",
             "What time is it ?<Response:127.0.0.1:>", "What time is it ?<Response:127.0.0.1:70000>",
             "What time is it ?<Response:127.0.0.1:" + std::to_string(65536 + requester.port()) + ">"}) {
        clearLog();
        requester.send(text, port);
        ASSERT_TRUE(nettest::waitUntil([&] { return logCount("DataArrival_WhatTimeIsIt: End") == 1; }))
            << text;
    }
    EXPECT_EQ(requester.receive(std::chrono::milliseconds{200}), "");
    EXPECT_EQ(totalQueued(), 0);
}

TEST_F(EngineTest, ATextHoldingTheQuestionFurtherOnIsAMessage) {
    const quint16 port = bindRow(0);
    LoopbackPeer peer;
    peer.send("Hello. What time is it ?<Response:127.0.0.1:" + std::to_string(peer.port()) + ">", port);
    ASSERT_TRUE(nettest::waitUntil([&] { return queued(1) == 1; }));
    EXPECT_EQ(logCount("DataArrival_WhatTimeIsIt"), 0);
    EXPECT_EQ(peer.receive(std::chrono::milliseconds{200}), "");
}

// The name server takes its time: the reply waits for it, and the road stays open meanwhile.
TEST_F(EngineTest, AQueryForANamedHostIsAnsweredOnceTheNameIsKnownAndOthersAreServedMeanwhile) {
    nettest::HeldNameServer server;
    const quint16 port = bindRow(0);
    LoopbackPeer named, plain;
    named.send("What time is it ?<Response:automation.example:" + std::to_string(named.port()) + ">", port);
    ASSERT_TRUE(nettest::waitUntil([&] { return server.started.size() == 1; }));
    plain.send("What time is it ?<Response:127.0.0.1:" + std::to_string(plain.port()) + ">", port);
    EXPECT_EQ(plain.receive().substr(0, 16), "<Relaytone_Time:");
    plain.send("<NoStation:2>meanwhile", port);
    ASSERT_TRUE(nettest::waitUntil([&] { return arrived("<NoStation:2>meanwhile", 2); }));
    EXPECT_EQ(named.receive(std::chrono::milliseconds{100}), "");
    // Only the plain query has been sent: only it has closed its lines.
    EXPECT_EQ(logCount("DataArrival_WhatTimeIsIt: Data sended: "), 1);
    EXPECT_EQ(logCount("DataArrival_WhatTimeIsIt: End"), 1);

    ASSERT_TRUE(server.answer("automation.example", 0));
    EXPECT_EQ(named.receive().substr(0, 16), "<Relaytone_Time:");
    const std::string resolved =
        "UDP: SocketWrenchUDPOut.Resolve: HostName changed to HostAddress: "
        "automation.example to 127.0.0.1";
    const std::string toNamed = "127.0.0.1:" + std::to_string(named.port());
    EXPECT_EQ(logCount(resolved), 1);
    EXPECT_EQ(logCount("UDP: SocketWrenchUDPOut.Connected to: " + toNamed), 1);
    // The named query's lines in their order: lookup, connect, write, then its own close.
    const std::vector<std::string> all = logLines("");
    std::vector<std::string> order;
    for (const std::string& line : all)
        for (const std::string& step :
             {resolved, "Connected to: " + toNamed, "Data Sent to: " + toNamed,
              std::string("WhatTimeIsIt: Data sended: "), std::string("WhatTimeIsIt: End")})
            if (line.find(step) != std::string::npos) order.push_back(step);
    const std::vector<std::string> expected = {"WhatTimeIsIt: Data sended: ",
                                               "WhatTimeIsIt: End",
                                               resolved,
                                               "Connected to: " + toNamed,
                                               "Data Sent to: " + toNamed,
                                               "WhatTimeIsIt: Data sended: ",
                                               "WhatTimeIsIt: End"};
    EXPECT_EQ(order, expected);
}

// A name without an answer costs one lookup: its reply and the later ones are dropped with
// their lines, at once while the failure is remembered.
TEST_F(EngineTest, AQueryForANameThatGetsNoAnswerIsDroppedAndTheNameIsNotAskedAgainAtOnce) {
    nettest::HeldNameServer server(std::chrono::milliseconds{100});
    const quint16 port = bindRow(0);
    LoopbackPeer requester;
    const std::string query =
        "What time is it ?<Response:silent.example:" + std::to_string(requester.port()) + ">";
    requester.send(query, port);
    const std::string dropped = "Warning: UDP: SocketWrenchUDPOut.Resolve: 11002: ";
    ASSERT_TRUE(nettest::waitUntil([&] { return logCount(dropped) == 1; }));
    EXPECT_EQ(logCount("Err: UDP: SocketWrenchUDPOut.Connect: 11001: "), 1);
    for (int k = 0; k < 20; ++k) requester.send(query, port);
    ASSERT_TRUE(nettest::waitUntil([&] { return logCount(dropped) == 21; }));
    EXPECT_EQ(server.started.size(), 1u);
    EXPECT_EQ(logCount("Write"), 0);
    EXPECT_EQ(requester.receive(std::chrono::milliseconds{100}), "");
}
