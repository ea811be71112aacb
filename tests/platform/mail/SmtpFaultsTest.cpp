// The SMTP control against a real server that is slow, silent or drops the connection at one
// step: the bound ends the wait, a dropped connection fails at once, and the calling thread
// runs its events all along.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include <QElapsedTimer>
#include <QTimer>

#include "platform/mail/Smtp.h"
#include "tests/platform/mail/SmtpPeer.h"
#include "tests/support/TempSite.h"

namespace {

using namespace std::chrono_literals;
using platform::mail::Failure;
using platform::mail::SmtpControl;

constexpr int32_t kTimedOut = 10060;

class SmtpFaults : public support::SiteTest {
protected:
    struct Outcome {
        Failure failure;
        qint64 elapsedMs = 0;
        int ticks = 0;  // of a 20 ms timer of the calling thread, during the send
        size_t delivered = 0;
    };

    // One message to a server with the fault, the control bounded to `bound` seconds.
    Outcome send(const std::string& fault, int bound, std::function<bool()> keepWaiting = {}) {
        mailtest::SmtpPeer peer(drive.root() / ("smtp-" + std::to_string(++servers_)), "station@example.test",
                                "s3cretpass", fault);
        SmtpControl smtp;
        smtp.HostName = peer.server();
        smtp.UserName = "station@example.test";
        smtp.Password = "s3cretpass";
        smtp.TimeoutSeconds = bound;
        smtp.KeepWaiting = std::move(keepWaiting);
        platform::mail::Message m;
        m.subject = "Relaytone actif";
        m.body = "Message: Relaytone actif\r\n";
        m.from = {"Aerolune", "no-reply@example.test"};
        m.to = {{"ops@example.test", "ops@example.test"}};

        Outcome o;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&o] { ++o.ticks; });
        ticker.start(20);
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(smtp.Connect());
        o.failure = smtp.Send(m);
        o.elapsedMs = clock.elapsed();
        ticker.stop();
        std::this_thread::sleep_for(200ms);  // a message the server saves late is counted too
        o.delivered = peer.received().size();
        return o;
    }

private:
    int servers_ = 0;
};

TEST_F(SmtpFaults, ASlowServerAtAnyStepGetsTheMessageWhileTheCallerRunsItsEvents) {
    for (const char* fault : {"greeting:1", "MAIL:1", "DATA:1"}) {
        const Outcome o = send(fault, 10);
        EXPECT_FALSE(o.failure) << fault << ": " << o.failure.number << " " << o.failure.description;
        EXPECT_EQ(o.delivered, 1u) << fault;
        EXPECT_GE(o.elapsedMs, 900) << fault;
        EXPECT_GE(o.ticks, 20) << fault << ": the calling thread did not run its timers";
    }
}

TEST_F(SmtpFaults, AMessageTheServerTookIsSentWhateverBecomesOfTheQuit) {
    for (const char* fault : {"QUIT:3", "QUIT:silent", "QUIT:drop"}) {
        const Outcome o = send(fault, 2);
        EXPECT_FALSE(o.failure) << fault << ": " << o.failure.number << " " << o.failure.description;
        EXPECT_EQ(o.delivered, 1u) << fault;
        EXPECT_LT(o.elapsedMs, 1500) << fault << ": the send waited for the QUIT";
    }
}

TEST_F(SmtpFaults, ASilentServerFailsAtTheBoundAndThereIsNoMessage) {
    for (const char* fault : {"greeting:silent", "MAIL:silent", "DATA:silent"}) {
        const Outcome o = send(fault, 2);
        EXPECT_EQ(o.failure.number, kTimedOut) << fault << ": " << o.failure.description;
        EXPECT_NE(o.failure.description.find("2 s"), std::string::npos) << o.failure.description;
        EXPECT_GE(o.elapsedMs, 1900) << fault;
        EXPECT_LT(o.elapsedMs, 4000) << fault;
        EXPECT_GE(o.ticks, 40) << fault << ": the calling thread did not run its timers";
        EXPECT_EQ(o.delivered, 0u) << fault;
    }
}

TEST_F(SmtpFaults, ADroppedConnectionFailsAtOnce) {
    for (const char* fault : {"greeting:drop", "MAIL:drop", "DATA:drop"}) {
        const Outcome o = send(fault, 30);
        EXPECT_TRUE(o.failure) << fault;
        EXPECT_NE(o.failure.number, kTimedOut) << fault << ": " << o.failure.description;
        EXPECT_LT(o.elapsedMs, 5000) << fault;
        EXPECT_EQ(o.delivered, 0u) << fault;
    }
}

TEST_F(SmtpFaults, TheProgramsEndCutsTheWaitShort) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    const Outcome o = send("DATA:silent", 30, [&] { return sinceStart.elapsed() < 500; });
    EXPECT_EQ(o.failure.number, platform::net::wsaInterrupted) << o.failure.description;
    EXPECT_LT(o.elapsedMs, 5000);
}

TEST_F(SmtpFaults, AScopedLimitShortensEverySendWhileItLives) {
    {
        const platform::mail::ScopedSendLimit limit(2s);
        const platform::mail::ScopedSendLimit looser(20s);  // never lengthens a shorter one
        const Outcome o = send("DATA:silent", 60);
        EXPECT_EQ(o.failure.number, kTimedOut) << o.failure.description;
        EXPECT_LT(o.elapsedMs, 4000);
    }
    const Outcome after = send("DATA:1", 60);
    EXPECT_FALSE(after.failure) << after.failure.description;
}

}  // namespace
