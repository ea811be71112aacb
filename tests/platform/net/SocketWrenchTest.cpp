// The SocketWrench stand-in on real loopback sockets: bind, read events, cuts, errors, sends.
#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "platform/net/SocketWrench.h"
#include "platform/net/WinsockErrors.h"
#include "tests/platform/net/HeldNameServer.h"
#include "tests/platform/net/LoopbackPeer.h"

using nettest::LoopbackPeer;
using nettest::waitUntil;
using platform::net::SocketWrench;

namespace {

constexpr int kUdp = SocketWrench::kProtocolUdp;

struct BoundReceiver {
    SocketWrench socket;
    BoundReceiver() {
        socket.setBlocking(false);
        EXPECT_EQ(socket.Bind("127.0.0.1", 0, kUdp), 0);
    }
    quint16 port() const { return quint16(socket.LocalPort()); }
};

}  // namespace

TEST(SocketWrench, RaisesOneReadPerDatagramAndCutsLongOnes) {
    BoundReceiver r;
    std::vector<std::string> seen;
    r.socket.OnRead = [&] {
        std::string data;
        const int32_t n = r.socket.Read(data, 1024);
        seen.push_back(std::to_string(n) + ":" + data.substr(0, 8));
    };
    LoopbackPeer peer;
    peer.send("first", r.port());
    peer.send(std::string(1500, 'x'), r.port());
    peer.send("caf\xe9", r.port());  // Windows-1252 on the wire
    ASSERT_TRUE(waitUntil([&] { return seen.size() == 3; }));
    EXPECT_EQ(seen, (std::vector<std::string>{"5:first", "1024:xxxxxxxx", "4:caf\xc3\xa9"}));
    EXPECT_EQ(r.socket.RemoteAddress(), "127.0.0.1");
    EXPECT_EQ(r.socket.RemotePort(), peer.port());
    nettest::settle();
    EXPECT_EQ(seen.size(), 3u);
}

TEST(SocketWrench, NeverEntersAHandlerThatLetsNoEventsRunTwice) {
    BoundReceiver r;
    int depth = 0, deepest = 0, reads = 0;
    r.socket.OnRead = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        std::string data;
        r.socket.Read(data, 1024);
        ++reads;
        std::this_thread::sleep_for(std::chrono::milliseconds{30});  // busy, no events
        --depth;
    };
    LoopbackPeer peer;
    for (int i = 0; i < 4; ++i) peer.send("m" + std::to_string(i), r.port());
    // Arriving while the first handler is busy; only returning lets the next in.
    waitUntil([&] { return reads == 1; });
    for (int i = 4; i < 8; ++i) peer.send("m" + std::to_string(i), r.port());
    ASSERT_TRUE(waitUntil([&] { return reads == 8; }));
    EXPECT_EQ(deepest, 1);
}

TEST(SocketWrench, AWaitInsideTheReadHandlerLetsTheDatagramsThatComeMeanwhileIn) {
    BoundReceiver r;
    LoopbackPeer peer;
    int depth = 0, deepest = 0;
    std::vector<std::string> seen;
    size_t seenWhenFirstReturned = 0;
    r.socket.OnRead = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        std::string data;
        r.socket.Read(data, 1024);
        seen.push_back(data);
        if (data == "first") {
            for (const char* next : {"second", "third", "fourth"}) peer.send(next, r.port());
            nettest::settle(std::chrono::milliseconds{300});  // a mail, a lookup, a box...
            seenWhenFirstReturned = seen.size();
        }
        --depth;
    };
    peer.send("first", r.port());
    ASSERT_TRUE(waitUntil([&] { return seen.size() == 4; }));
    EXPECT_EQ(seenWhenFirstReturned, 4u) << "the datagrams waited for the handler's wait to end";
    EXPECT_EQ(seen, (std::vector<std::string>{"first", "second", "third", "fourth"}));
    EXPECT_EQ(deepest, 2);
}

TEST(SocketWrench, HandlersThatEachWaitAreNestedOnlyDownToTheBound) {
    BoundReceiver r;
    LoopbackPeer peer;
    int depth = 0, deepest = 0, reads = 0;
    r.socket.OnRead = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        std::string data;
        r.socket.Read(data, 1024);
        if (++reads < 12) peer.send("next", r.port());
        nettest::settle(std::chrono::milliseconds{40});
        --depth;
    };
    peer.send("first", r.port());
    ASSERT_TRUE(waitUntil([&] { return reads == 12; }));
    nettest::settle();
    EXPECT_EQ(reads, 12);
    EXPECT_EQ(deepest, platform::net::kMaxNestedReads);
}

TEST(SocketWrench, AHandlerThatReadsNothingIsNotRaisedInALoop) {
    BoundReceiver r;
    int raised = 0;
    r.socket.OnRead = [&] { ++raised; };
    LoopbackPeer peer;
    peer.send("left alone", r.port());
    ASSERT_TRUE(waitUntil([&] { return raised == 1; }));
    nettest::settle();
    EXPECT_EQ(raised, 1);
}

TEST(SocketWrench, BlockingModeRaisesNoReadEvents) {
    SocketWrench s;
    ASSERT_EQ(s.Bind("127.0.0.1", 0, kUdp), 0);
    int raised = 0;
    s.OnRead = [&] { ++raised; };
    LoopbackPeer peer;
    peer.send("x", quint16(s.LocalPort()));
    nettest::settle();
    EXPECT_EQ(raised, 0);
    std::string data;
    EXPECT_EQ(s.Read(data, 1024), 1);
}

TEST(SocketWrench, InjectedReadErrorFailsOnlyTheNextRead) {
    for (const int32_t injected : {10054, 10035}) {
        BoundReceiver r;
        LoopbackPeer peer;
        peer.send("after", r.port());
        r.socket.failNextRead(injected);
        std::string data = "stale";
        EXPECT_EQ(r.socket.Read(data, 1024), -1);
        EXPECT_EQ(r.socket.LastError(), injected);
        EXPECT_FALSE(r.socket.LastErrorString().empty());
        EXPECT_TRUE(data.empty());
        ASSERT_TRUE(waitUntil([&] { return r.socket.Read(data, 1024) == 5; }));
        EXPECT_EQ(data, "after");
        EXPECT_EQ(r.socket.LastError(), 0);
    }
}

TEST(SocketWrench, ReadWithNothingPendingWouldBlock) {
    BoundReceiver r;
    std::string data;
    EXPECT_EQ(r.socket.Read(data, 1024), -1);
    EXPECT_EQ(r.socket.LastError(), 10035);
}

TEST(SocketWrench, BindFailuresGiveWinsockNumbers) {
    BoundReceiver busy;
    struct Case {
        std::string address;
        int64_t port;
        int32_t error;
    };
    const Case cases[] = {
        {"127.0.0.1", busy.port(), 10048},  // port in use
        {"192.0.2.1", 0, 10049},            // not an address of this machine
        {"localhost", 0, 11001},            // a name: resolved first, never here
        {"no-such-host.invalid", 0, 11001},
        {"300.1.1.1", 0, 11001},  // not an address
        {"127.1", 0, 11001},
        {"::1", 0, 10049},
        {"127.0.0.1", 65536 + busy.port(), 10049},  // never wrapped onto the busy port
        {"127.0.0.1", -1, 10049},
        {"", 0, 11001},
    };
    for (const Case& c : cases) {
        SocketWrench s;
        EXPECT_EQ(s.Bind(c.address, c.port, kUdp), c.error) << c.address << ":" << c.port;
        EXPECT_EQ(s.LastError(), c.error);
        EXPECT_TRUE(s.IsClosed());
    }
}

TEST(SocketWrench, KeepsAMegabyteOfReceiveBuffer) {
    SocketWrench s;
    ASSERT_EQ(s.Bind(" 127.0.0.1 ", 0, kUdp), 0);
    EXPECT_EQ(s.LocalAddress(), "127.0.0.1");
    EXPECT_GE(s.ReceiveBufferSize(), 1 << 20);
}

TEST(SocketWrench, DisconnectFreesThePortAtOnce) {
    BoundReceiver r;
    const quint16 port = r.port();
    EXPECT_FALSE(r.socket.IsClosed());
    EXPECT_EQ(r.socket.Disconnect(), 0);
    EXPECT_TRUE(r.socket.IsClosed());
    EXPECT_EQ(r.socket.Disconnect(), 0);
    SocketWrench again;
    EXPECT_EQ(again.Bind("127.0.0.1", port, kUdp), 0);
}

TEST(SocketWrench, ResolvesNamesLaterToDottedAddresses) {
    SocketWrench s;
    struct Case {
        std::string name;
        int32_t result;
        std::string address;
    };
    const Case cases[] = {{" localhost ", 0, "127.0.0.1"}, {"no-such-host.invalid", 11001, ""}};
    for (const Case& c : cases) {
        std::optional<std::pair<int32_t, std::string>> answer;
        s.Resolve(c.name,
                  [&](int32_t result, const std::string& address) { answer.emplace(result, address); });
        EXPECT_FALSE(answer) << c.name;
        ASSERT_TRUE(waitUntil([&] { return answer.has_value(); })) << c.name;
        EXPECT_EQ(answer->first, c.result);
        EXPECT_EQ(answer->second, c.address);
        EXPECT_EQ(s.LastError(), c.result);
    }
}

TEST(SocketWrench, ADisconnectOrAnotherResolveDropsTheAnswerOfALookupUnderWay) {
    nettest::HeldNameServer server;
    SocketWrench s;
    std::vector<std::string> answers;
    const auto note = [&](int32_t, const std::string& address) { answers.push_back(address); };
    s.Resolve("first.example", note);
    s.Resolve("second.example", note);
    EXPECT_TRUE(server.answer("first.example", 0, QHostAddress("192.0.2.1")));
    EXPECT_TRUE(server.answer("second.example", 0, QHostAddress("192.0.2.2")));
    s.Resolve("third.example", note);
    s.Disconnect();
    EXPECT_TRUE(server.answer("third.example", 0, QHostAddress("192.0.2.3")));
    EXPECT_EQ(answers, std::vector<std::string>{"192.0.2.2"});
}

TEST(SocketWrench, ConnectedSocketWritesTheFirstCharactersToItsPeer) {
    LoopbackPeer peer;
    SocketWrench out;
    ASSERT_EQ(out.Connect("127.0.0.1", peer.port(), kUdp), 0);
    EXPECT_FALSE(out.IsClosed());
    EXPECT_EQ(out.Write("d\xc3\xa9j\xc3\xa0 vu", 4), 4);  // UTF-8 inside, 1252 on the wire
    EXPECT_EQ(peer.receive(), "d\xe9j\xe0");
    EXPECT_EQ(out.Write(std::string(1500, 'y'), 1024), 1024);
    EXPECT_EQ(peer.receive().size(), 1024u);
}

TEST(SocketWrench, ConnectRefusesPortsItCannotReach) {
    for (const int64_t port : {int64_t(0), int64_t(-5), int64_t(65536), int64_t(70000)}) {
        SocketWrench out;
        EXPECT_EQ(out.Connect("127.0.0.1", port, kUdp), 10049) << port;
        EXPECT_TRUE(out.IsClosed());
        EXPECT_EQ(out.Write("x", 1), -1);
        EXPECT_EQ(out.LastError(), 10057);
    }
    SocketWrench named;
    EXPECT_EQ(named.Connect("", 5000, kUdp), 11001);
}

TEST(SocketWrench, APeerThatRefusesIsAResetConnectionNotAnInvalidArgument) {
    QUdpSocket probe;
    ASSERT_TRUE(probe.bind(QHostAddress::LocalHost, 0));
    const quint16 port = probe.localPort();
    probe.close();  // nobody listens there any more: the kernel answers port unreachable
    platform::net::SocketWrench sender;
    std::vector<int32_t> events;
    sender.OnError = [&](int32_t code, const std::string&) { events.push_back(code); };
    ASSERT_EQ(sender.Connect("127.0.0.1", port, platform::net::SocketWrench::kProtocolUdp), 0);
    // The refusal comes back on the next write or, when the receive side read it first, as the
    // error event: either way as Winsock's reset, never as an invalid argument.
    int32_t written = 0;
    for (int attempt = 0; attempt < 50 && written != -1 && events.empty(); ++attempt) {
        written = sender.Write("What time is it ?", 17);
        waitUntil([] { return false; }, std::chrono::milliseconds(20));
    }
    if (written == -1) {
        EXPECT_EQ(sender.LastError(), 10054);
        EXPECT_EQ(sender.LastErrorString(), "Connection reset by peer");
    } else {
        ASSERT_FALSE(events.empty()) << "the refusal was never reported";
        EXPECT_EQ(events.front(), 10054);
    }
    for (const int32_t code : events) EXPECT_NE(code, 10022);
}

TEST(SocketWrench, ASenderMovedToAnotherPeerForgetsWhatTheOldOneSentOrRefused) {
    QUdpSocket gone;
    ASSERT_TRUE(gone.bind(QHostAddress::LocalHost, 0));
    const quint16 closedPort = gone.localPort();
    gone.close();
    LoopbackPeer talker, next;
    SocketWrench out;
    for (int round = 0; round < 3; ++round) {
        // A peer that refuses (its port unreachable comes back to this socket)...
        ASSERT_EQ(out.Connect("127.0.0.1", closedPort, kUdp), 0);
        out.Write("What time is it ?", 17);
        nettest::settle(std::chrono::milliseconds{30});
        ASSERT_EQ(out.Disconnect(), 0);
        // ...then one that talks back and is left unread...
        ASSERT_EQ(out.Connect("127.0.0.1", talker.port(), kUdp), 0);
        talker.send("stale", quint16(out.LocalPort()));
        nettest::settle(std::chrono::milliseconds{30});
        ASSERT_EQ(out.Disconnect(), 0);
        // ...and the next peer gets its datagram, and nothing of theirs is read as its own.
        ASSERT_EQ(out.Connect("127.0.0.1", next.port(), kUdp), 0) << round;
        EXPECT_EQ(out.Write("<Relaytone_Time:x>", 18), 18) << round << ": " << out.LastError();
        EXPECT_EQ(next.receive(), "<Relaytone_Time:x>") << round;
        std::string data;
        EXPECT_EQ(out.Read(data, 1024), -1) << round << ": " << data;
        EXPECT_EQ(out.LastError(), 10035);
        ASSERT_EQ(out.Disconnect(), 0);
    }
}
