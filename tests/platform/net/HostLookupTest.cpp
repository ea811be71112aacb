// Name lookups off the event loop: dotted quads, the system's resolver, a held name server's
// time limit, shared lookups, the memory of failures and the bound on waiting requests.
#include <gtest/gtest.h>

#include <optional>

#include "platform/Clock.h"
#include "platform/net/HostLookup.h"
#include "platform/net/WinsockErrors.h"
#include "tests/platform/net/HeldNameServer.h"
#include "tests/platform/net/LoopbackPeer.h"

using nettest::HeldNameServer;
using nettest::waitUntil;
using platform::net::HostLookup;

namespace {

struct Answer {
    int32_t error = -1;
    std::string address;
};

// Asks for the name; the answer lands in the optional once it comes.
void ask(const std::string& name, QObject* context, std::optional<Answer>& into) {
    HostLookup::instance().lookup(name, context, [&into](int32_t error, const QHostAddress& a) {
        into = Answer{error, a.toString().toStdString()};
    });
}

}  // namespace

TEST(HostLookup, OnlyPlainDottedQuadsAreAddresses) {
    const struct {
        const char* text;
        const char* address;
    } cases[] = {
        {"127.0.0.1", "127.0.0.1"},
        {"0.0.0.0", "0.0.0.0"},
        {"255.255.255.255", "255.255.255.255"},
        {"192.168.10.200", "192.168.10.200"},
        {"300.1.1.1", nullptr},
        {"1.2.3", nullptr},
        {"1..2.3", nullptr},
        {"1.2.3.4.", nullptr},
        {".1.2.3.4", nullptr},
        {"1.2.3.4.5", nullptr},
        {"1.2.3.256", nullptr},
        {"010.0.0.1", nullptr},
        {"1.2.3.-4", nullptr},
        {"1.2.3.4a", nullptr},
        {" 1.2.3.4", nullptr},
        {"1234.1.1.1", nullptr},
        {"0x7f.0.0.1", nullptr},
        {"2130706433", nullptr},
        {"", nullptr},
        {"localhost", nullptr},
    };
    for (const auto& c : cases) {
        QHostAddress address;
        EXPECT_EQ(platform::net::parseDottedQuad(c.text, address), c.address != nullptr) << c.text;
        if (c.address) {
            EXPECT_EQ(address.toString().toStdString(), c.address) << c.text;
        }
    }
}

TEST(HostLookup, TheSystemsResolverAnswersLaterNeverInsideTheCall) {
    HostLookup::instance().reset();
    QObject context;
    struct Case {
        std::string name;
        int32_t error;
        std::string address;
    };
    const Case cases[] = {
        {"localhost", 0, "127.0.0.1"},
        {"LocalHost", 0, "127.0.0.1"},
        {"no-such-host.invalid", 11001, ""},
        {"10.1.2.3", 0, "10.1.2.3"},
        {"300.1.1.1", 11001, ""},             // not an address, and no name either
        {"bad name\r\n.invalid", 11001, ""},  // never sent to a name server
        {std::string(254, 'a'), 11001, ""},
    };
    for (const Case& c : cases) {
        std::optional<Answer> answer;
        ask(c.name, &context, answer);
        EXPECT_FALSE(answer) << c.name;
        ASSERT_TRUE(waitUntil([&] { return answer.has_value(); })) << c.name;
        EXPECT_EQ(answer->error, c.error) << c.name;
        if (c.error == 0) {
            EXPECT_EQ(answer->address, c.address) << c.name;
        }
    }
}

TEST(HostLookup, ANameServerThatDoesNotAnswerIsGivenUpAndItsNameRemembered) {
    HeldNameServer server(std::chrono::milliseconds{100});
    QObject context;
    std::optional<Answer> first, second, third;
    ask("slow.example", &context, first);
    ask("SLOW.example", &context, second);  // shares the lookup under way
    ASSERT_TRUE(waitUntil([&] { return first && second; }));
    EXPECT_EQ(first->error, platform::net::wsaTryAgain);
    EXPECT_EQ(second->error, platform::net::wsaTryAgain);
    EXPECT_EQ(server.started, std::vector<std::string>{"slow.example"});
    EXPECT_EQ(server.cancelled, std::vector<int>{1});
    // The late answer changes nothing; the name fails at once for a while, without a lookup.
    EXPECT_TRUE(server.answer("slow.example", 0));
    ask("slow.example", &context, third);
    ASSERT_TRUE(waitUntil([&] { return third.has_value(); }, std::chrono::milliseconds{50}));
    EXPECT_EQ(third->error, platform::net::wsaTryAgain);
    EXPECT_EQ(server.started.size(), 1u);
    EXPECT_EQ(HostLookup::instance().waiting(), 0u);
}

TEST(HostLookup, AFailureIsRememberedOnlyForAWhile) {
    HeldNameServer server;
    platform::clock::setManual(platform::clock::now(), 1000000);
    QObject context;
    std::optional<Answer> answer;
    ask("gone.example", &context, answer);
    ASSERT_TRUE(server.answer("gone.example", platform::net::wsaHostNotFound));
    ASSERT_TRUE(answer && answer->error == platform::net::wsaHostNotFound);

    platform::clock::advance(HostLookup::kFailureMemory - std::chrono::milliseconds{1});
    answer.reset();
    ask("gone.example", &context, answer);
    ASSERT_TRUE(waitUntil([&] { return answer.has_value(); }));
    EXPECT_EQ(server.started.size(), 1u);

    platform::clock::advance(std::chrono::milliseconds{1});
    answer.reset();
    ask("gone.example", &context, answer);
    EXPECT_EQ(server.started.size(), 2u);  // asked again
    ASSERT_TRUE(server.answer("gone.example", 0, QHostAddress("10.0.0.7")));
    EXPECT_EQ(answer->address, "10.0.0.7");
    platform::clock::useSystem();
}

TEST(HostLookup, AnAnswerReachesOnlyTheRequestersStillThere) {
    HeldNameServer server;
    std::optional<Answer> kept, dropped;
    QObject stays;
    auto leaves = std::make_unique<QObject>();
    ask("shared.example", &stays, kept);
    ask("shared.example", leaves.get(), dropped);
    leaves.reset();
    ASSERT_TRUE(server.answer("shared.example", 0, QHostAddress("192.0.2.5")));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->address, "192.0.2.5");
    EXPECT_FALSE(dropped);
}

TEST(HostLookup, TooManyWaitingRequestsAreRefusedAtOnce) {
    HeldNameServer server;
    QObject context;
    int answered = 0;
    for (size_t k = 0; k < HostLookup::kMaxWaiting; ++k)
        HostLookup::instance().lookup("n" + std::to_string(k) + ".example", &context,
                                      [&](int32_t, const QHostAddress&) { ++answered; });
    std::optional<Answer> refused;
    ask("one-more.example", &context, refused);
    ASSERT_TRUE(waitUntil([&] { return refused.has_value(); }));
    EXPECT_EQ(refused->error, platform::net::wsaTryAgain);
    EXPECT_EQ(server.started.size(), HostLookup::kMaxWaiting);
    EXPECT_EQ(answered, 0);
    // An answer frees a place.
    ASSERT_TRUE(server.answer("n0.example", 0));
    refused.reset();
    ask("one-more.example", &context, refused);
    EXPECT_EQ(server.started.back(), "one-more.example");
}
