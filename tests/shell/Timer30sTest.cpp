// The daily notice mails over days on the manual clock, sent to a real SMTP server on loopback.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QJsonArray>

#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "foundation/StatusMails.h"
#include "tests/platform/mail/SmtpPeer.h"
#include "tests/shell/PeriodicFixture.h"
#include "tests/support/Programs.h"
#include "tests/support/WindowsFiles.h"

namespace {

using namespace std::chrono_literals;

class NoticeMails : public periodictest::PeriodicTest {
protected:
    NoticeMails() : peer(drive.root() / "smtp", mailconfig::kAccount, mailconfig::password()) {}

    void SetUp() override {
        ::setenv("AL3_SMTP_SERVER", peer.server().c_str(), 1);
        PbSDossierLog = "C:\\Logs\\";
        PbSDossierConfigSite = "C:\\Vantremo\\Aerolune\\Settings\\AL3_Config.ini";
        setOption(true);
        PeriodicTest::SetUp();
    }
    void TearDown() override {
        PeriodicTest::TearDown();
        ::unsetenv("AL3_SMTP_SERVER");
    }
    void setOption(bool on) const {
        support::writeWindowsFile(drive.host(PbSDossierConfigSite),
                                  std::string("[Site]\nMails_Avis=") + (on ? "1" : "0") + "\n");
    }
    void tickAt(const std::string& instant) {
        setClock(instant);
        engine().Timer30s_Timer();
    }
    // What each mail said on its last line, oldest first, with "+log" when the log came along.
    std::vector<std::string> sent() const {
        std::vector<std::string> messages;
        for (const QJsonObject& mail : peer.received()) {
            EXPECT_EQ(mailtest::strings(mail["rcpt_tos"]),
                      std::vector<std::string>{mailconfig::kSupportAddress});
            const std::string body = mailtest::text(mail["body"]);
            const size_t last = body.rfind("Message: ");
            std::string message = last == std::string::npos ? body : body.substr(last + 9);
            while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
            if (!mail["attachments"].toArray().isEmpty()) message += " +log";
            messages.push_back(message);
        }
        return messages;
    }

    mailtest::SmtpPeer peer;
};

using Sent = std::vector<std::string>;

TEST_F(NoticeMails, NothingBeforeTheMainWindowShowsAndTheTimerKeepsItsSecond) {
    PbBFeuilleChargee = false;
    tickAt("2026-03-10 10:00:00");
    tickAt("2026-03-11 01:20:00");
    EXPECT_EQ(engine().Timer30s.Interval(), 1000);
    EXPECT_TRUE(sent().empty());

    PbBFeuilleChargee = true;
    tickAt("2026-03-11 01:20:01");
    EXPECT_EQ(engine().Timer30s.Interval(), 30000);
    EXPECT_EQ(sent(), (Sent{"Relaytone actif", "Relaytone envoi du Log"}));
}

TEST_F(NoticeMails, AliveOnceADayAndTheLogOnceBetweenQuarterPastOneAndTwo) {
    support::writeWindowsFile(drive.host("C:\\Logs\\20260311.Log"), "line of the day\n");
    tickAt("2026-03-10 10:00:00");  // started in the morning: no log mail that day
    tickAt("2026-03-10 10:00:30");
    tickAt("2026-03-10 23:59:59");
    EXPECT_EQ(sent(), (Sent{"Relaytone actif"}));

    tickAt("2026-03-11 00:00:20");
    tickAt("2026-03-11 01:14:50");
    EXPECT_EQ(sent(), (Sent{"Relaytone actif", "Relaytone actif"}));
    tickAt("2026-03-11 01:15:20");
    tickAt("2026-03-11 01:15:50");
    tickAt("2026-03-11 01:59:50");
    tickAt("2026-03-11 02:00:20");
    EXPECT_EQ(sent(), (Sent{"Relaytone actif", "Relaytone actif", "Relaytone envoi du Log +log"}));

    // A day whose first tick comes after two o'clock gets its alive mail only.
    tickAt("2026-03-12 02:00:10");
    tickAt("2026-03-12 03:00:00");
    EXPECT_EQ(sent().size(), 4u);
    EXPECT_EQ(sent().back(), "Relaytone actif");
}

// The day's first tick at each edge of the log mail's hours (days no other test has ticked:
// the engine window remembers the days it decided).
TEST_F(NoticeMails, TheLogMailsHoursBeginAtQuarterPastOneExactlyAndEndBeforeTwo) {
    const struct {
        const char* firstTick;
        bool logMail;
    } cases[] = {
        {"2026-05-11 01:14:59", false},
        {"2026-05-12 01:15:00", true},
        {"2026-05-13 01:59:59", true},
        {"2026-05-14 02:00:00", false},
    };
    size_t before = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firstTick);
        tickAt(c.firstTick);
        const Sent all = sent();
        const Sent mails(all.begin() + long(before), all.end());
        EXPECT_EQ(mails, c.logMail ? (Sent{"Relaytone actif", "Relaytone envoi du Log"})
                                   : (Sent{"Relaytone actif"}));
        before = all.size();
    }
}

TEST_F(NoticeMails, ADayWithTheOptionOffIsMarkedDoneAllTheSame) {
    setOption(false);
    tickAt("2026-03-11 01:30:00");
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(engine().Timer30s.Interval(), 30000);

    setOption(true);
    tickAt("2026-03-11 01:30:30");
    EXPECT_TRUE(sent().empty());
    tickAt("2026-03-12 01:30:00");
    EXPECT_EQ(sent(), (Sent{"Relaytone actif", "Relaytone envoi du Log"}));
}

TEST_F(NoticeMails, ADayIsMarkedDoneBeforeItsMailSoAFailedSendIsNotTriedAgainThatDay) {
    support::writeWindowsFile(drive.host("C:\\Logs\\20260312.Log"), "line of the day\n");
    ::setenv("AL3_SMTP_SERVER", ("127.0.0.1:" + std::to_string(mailtest::closedPort())).c_str(), 1);
    tickAt("2026-03-11 01:20:00");  // both mails fail: nothing listens

    ::setenv("AL3_SMTP_SERVER", peer.server().c_str(), 1);
    tickAt("2026-03-11 01:20:30");
    tickAt("2026-03-11 01:50:00");
    EXPECT_TRUE(sent().empty());
    tickAt("2026-03-12 01:20:00");
    EXPECT_EQ(sent(), (Sent{"Relaytone actif", "Relaytone envoi du Log +log"}));
}

TEST_F(NoticeMails, TheEngineTimerSendsTheAliveMailWithinASecondOfTheWindowShowing) {
    ASSERT_TRUE(engine().Timer30s.Enabled());
    ASSERT_EQ(engine().Timer30s.Interval(), 1000);
    support::eventually(
        [&] {
            QCoreApplication::processEvents();
            return !peer.received().empty();
        },
        std::chrono::seconds(5));
    EXPECT_EQ(sent(), (Sent{"Relaytone actif"}));
    EXPECT_EQ(engine().Timer30s.Interval(), 30000);
}

}  // namespace
