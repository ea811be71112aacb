// The SMTP and message controls against a real server: what arrives, and each failure's reason.
#include <fstream>
#include <functional>

#include <gtest/gtest.h>
#include <QJsonArray>

#include "platform/mail/Smtp.h"
#include "tests/platform/mail/SmtpPeer.h"
#include "tests/support/TempSite.h"

namespace {

using platform::mail::Message;
using platform::mail::SmtpControl;

class SmtpControlTest : public support::SiteTest {
protected:
    SmtpControl control(const std::string& server) {
        SmtpControl smtp;
        smtp.HostName = server;
        smtp.UserName = "station@example.test";
        smtp.Password = "s3cretpass";
        return smtp;
    }
    Message message() {
        Message m;
        m.date = platform::timeOf({.year = 2024, .month = 1, .day = 31, .hour = 1, .minute = 20});
        m.subject = "Relaytone lancé";
        m.body = "Ligne une\r\nLigne deux";
        m.from = {"Aerolune", "no-reply@example.test"};
        m.to = {{"ops@example.test", "ops@example.test"}};
        return m;
    }
    mailtest::SmtpPeer peer{drive.root() / "smtp", "station@example.test", "s3cretpass"};
};

TEST_F(SmtpControlTest, DeliversHeadersBodyAndAttachmentAsAMailReaderSeesThem) {
    const std::string log = "Ligne \xE9t\xE9 du journal\r\n.commence par un point\r\n";
    std::filesystem::create_directories(drive.root() / "Logs");
    std::ofstream(drive.root() / "Logs" / "Relaytone_20240131_01.Log", std::ios::binary) << log;
    Message m = message();
    m.subject = "Relaytone arrêté — un sujet assez long pour être replié sur deux lignes d'en-tête";
    m.from = {"Aerolune Mises à jour", "no-reply@example.test"};
    m.to = {{"ops@example.test", "ops@example.test"}, {" b@example.test ", " b@example.test "}};
    m.cc = {{"Support \"Nord\"", "support@example.test"}};
    const std::string longLine(120, 'x');
    m.body = "Mémoire: 42 Mo\r\n.point en tête\r\n" + longLine + "\r\nfin  ";
    m.attachment = "C:\\Logs\\Relaytone_20240131_01.Log";

    SmtpControl smtp = control(peer.server());
    int waits = 0;
    smtp.KeepWaiting = [&] {
        ++waits;
        return true;
    };
    ASSERT_FALSE(smtp.Connect());
    const platform::mail::Failure failure = smtp.Send(m);
    ASSERT_FALSE(failure) << failure.number << " " << failure.description;
    smtp.Disconnect();

    const auto received = peer.received();
    ASSERT_EQ(received.size(), 1u);
    const QJsonObject& r = received[0];
    EXPECT_EQ(mailtest::text(r["mail_from"]), "no-reply@example.test");
    EXPECT_EQ(mailtest::strings(r["rcpt_tos"]),
              (std::vector<std::string>{"ops@example.test", "b@example.test", "support@example.test"}));
    EXPECT_EQ(mailtest::text(r["login"]), "station@example.test");
    EXPECT_EQ(mailtest::text(r["subject"]), m.subject);
    EXPECT_EQ(mailtest::text(r["from_name"]), "Aerolune Mises à jour");
    EXPECT_EQ(mailtest::strings(r["to"]), (std::vector<std::string>{"ops@example.test", "b@example.test"}));
    EXPECT_EQ(mailtest::strings(r["cc"]), (std::vector<std::string>{"support@example.test"}));
    EXPECT_EQ(mailtest::text(r["body"]), "Mémoire: 42 Mo\n.point en tête\n" + longLine + "\nfin  ");
    const QJsonArray attachments = r["attachments"].toArray();
    ASSERT_EQ(attachments.size(), 1);
    EXPECT_EQ(mailtest::text(attachments[0].toObject()["filename"]), "Relaytone_20240131_01.Log");
    EXPECT_EQ(mailtest::bytes(attachments[0].toObject()), log);
    EXPECT_GT(waits, 0);
}

TEST_F(SmtpControlTest, LineBreaksInASubjectOrNameNeverBecomeHeaders) {
    Message m = message();
    m.subject = "Alerte\r\nBcc: evil@example.test";
    m.from.name = "Relaytone\r\nX-Injected: 1";
    SmtpControl smtp = control(peer.server());
    smtp.Connect();
    ASSERT_FALSE(smtp.Send(m));
    const auto received = peer.received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(mailtest::strings(received[0]["rcpt_tos"]), (std::vector<std::string>{"ops@example.test"}));
    for (const std::string& header : mailtest::strings(received[0]["headers"])) {
        EXPECT_NE(header, "Bcc");
        EXPECT_NE(header, "X-Injected");
    }
}

TEST_F(SmtpControlTest, EachFailureComesBackWithItsNumberAndReasonAndNothingIsDelivered) {
    struct Case {
        const char* what;
        std::function<void(SmtpControl&, Message&)> arrange;
        int32_t number;
        const char* reason;
    };
    const std::string closed = "127.0.0.1:" + std::to_string(mailtest::closedPort());
    const Case cases[] = {
        {"server unreachable", [&](SmtpControl& s, Message&) { s.HostName = closed; }, 10061,
         "Failed to connect to 127.0.0.1"},
        {"refused recipient",
         [](SmtpControl&, Message& m) {
             m.to.push_back({"refuse@example.test", "refuse@example.test"});
         },
         550, "Recipient refused: refuse@example.test"},
        {"login refused", [](SmtpControl& s, Message&) { s.Password = "wrong"; }, 535,
         "Authentication credentials invalid"},
        {"reserved name", [](SmtpControl& s, Message&) { s.HostName = "smtp.example.invalid"; }, 11001,
         "Host not found: smtp.example.invalid"},
        {"no server", [](SmtpControl& s, Message&) { s.HostName = " "; }, 11001, "No SMTP server set"},
        {"no recipient", [](SmtpControl&, Message& m) { m.to.clear(); }, 503, "No recipient"},
        {"address with a line break",
         [](SmtpControl&, Message& m) {
             m.to = {{"x", "a@example.test\r\nRCPT TO:<b@example.test>"}};
         },
         501, "Invalid recipient address"},
        {"attachment missing", [](SmtpControl&, Message& m) { m.attachment = "C:\\Logs\\none.Log"; }, 53,
         "Attachment not found: C:\\Logs\\none.Log"},
    };
    for (const Case& c : cases) {
        SmtpControl smtp = control(peer.server());
        Message m = message();
        c.arrange(smtp, m);
        platform::mail::Failure failure = smtp.Connect();
        if (!failure) failure = smtp.Send(m);
        EXPECT_EQ(failure.number, c.number) << c.what << ": " << failure.description;
        EXPECT_NE(failure.description.find(c.reason), std::string::npos)
            << c.what << ": " << failure.description;
    }
    EXPECT_TRUE(peer.received().empty());
}

TEST_F(SmtpControlTest, SendWithoutAnOpenConnectionIsRefused) {
    SmtpControl smtp = control(peer.server());
    const platform::mail::Failure failure = smtp.Send(message());
    EXPECT_EQ(failure.number, int32_t(0x8000FFFFu));
    EXPECT_EQ(failure.description, "Connection to the server not active");
    smtp.Connect();
    smtp.Disconnect();
    EXPECT_EQ(smtp.Send(message()).number, int32_t(0x8000FFFFu));
    EXPECT_TRUE(peer.received().empty());
}

}  // namespace
