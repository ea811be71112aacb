// Frm_MainBis.EnvoiMail against a real SMTP server: recipients by kind, body, subject, the test
// mail's boxes, the failure lines and the guard against a call during a call.
#include <gtest/gtest.h>
#include <QJsonArray>
#include <QTimer>

#include "foundation/FileVersions.h"
#include "foundation/RunState.h"
#include "foundation/StatusMails.h"
#include "foundation/SystemQueries.h"
#include "platform/Dialogs.h"
#include "tests/engine/MailFixture.h"

namespace {

using mailtest::strings;
using mailtest::text;
using Strings = std::vector<std::string>;

const std::string kSupport1 = "support@aerolune.invalid";
const std::string kSupport2 = "technique@aerolune.invalid";
const std::string kPartner = "support@dorvane.invalid";

class EnvoiMail : public mailtest::MailTest {
protected:
    void TearDown() override {
        PbIIdRadio = 0;
        PbSNomRadio[0].clear();
        MailTest::TearDown();
    }
};

TEST_F(EnvoiMail, RecipientsByKindOfMail) {
    struct Case {
        const char* what;
        bool test, technical;
        int16_t radio;
        const char* to;
        Strings envelope, headerTo, headerCc;
    };
    const Case cases[] = {
        {"test mail, blank between separators",
         true,
         true,
         0,
         "a@example.test; ;b@example.test",
         {"a@example.test", "b@example.test", kSupport1, kSupport2},
         {"a@example.test", "b@example.test"},
         {kSupport1, kSupport2}},
        {"test mail of a partner radio",
         true,
         false,
         39,
         "a@example.test;",
         {"a@example.test", kPartner},
         {"a@example.test"},
         {kPartner}},
        {"test mail, a separator alone",
         true,
         false,
         0,
         ";",
         {kSupport1, kSupport2},
         {},
         {kSupport1, kSupport2}},
        {"technical mail ignores the list",
         false,
         true,
         39,
         "",
         {kSupport1, kSupport2},
         {kSupport1, kSupport2},
         {}},
        {"alert mail",
         false,
         false,
         0,
         "a@example.test;b@example.test",
         {"a@example.test", "b@example.test"},
         {"a@example.test", "b@example.test"},
         {}},
        {"alert mail of a partner radio",
         false,
         false,
         195,
         "a@example.test",
         {"a@example.test", kPartner},
         {"a@example.test"},
         {kPartner}},
    };
    for (const Case& c : cases) {
        PbIIdRadio = c.radio;
        engine().EnvoiMail(c.test, c.to, "Test d'envoi de mail.", "", c.technical);
    }
    const auto received = peer.received();
    ASSERT_EQ(received.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(strings(received[i]["rcpt_tos"]), c.envelope) << c.what;
        EXPECT_EQ(strings(received[i]["to"]), c.headerTo) << c.what;
        EXPECT_EQ(strings(received[i]["cc"]), c.headerCc) << c.what;
        EXPECT_EQ(text(received[i]["mail_from"]), "no-reply@aerolune.invalid") << c.what;
        EXPECT_EQ(text(received[i]["from_name"]), "Aerolune Relaytone") << c.what;
    }
    // Each test mail ends with the box that says to look for it.
    const auto asked = platform::dialogs::asked();
    ASSERT_EQ(asked.size(), 3u);
    for (const auto& box : asked) {
        EXPECT_EQ(box.title, mainWindow.caption);
        EXPECT_EQ(box.text,
                  "Vérifiez dans votre boite mail si vous recevez bien ce mail de test.\r\n\r\n"
                  "Pensez à vérifier dans vos spams.");
    }
    EXPECT_EQ(logCount("Err:"), 0);
}

TEST_F(EnvoiMail, BodyReportsTheRadioAndBreaksTheMessageAtEachBar) {
    PbIIdRadio = 57;
    engine().EnvoiMail(false, "ops@example.test", "Premier|Second", "Sujet choisi", false);
    PbSNomRadio[0] = "Radio Test";
    mainWindow.caption = "AEROLUNE: Relaytone";
    engine().EnvoiMail(false, "ops@example.test", "Alerte", "  ", false);

    const auto received = peer.received();
    ASSERT_EQ(received.size(), 2u);
    auto lines = bodyLines(received[0]);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_TRUE(lines[3].starts_with("Mémoire: ") && lines[3].ends_with(" Mo")) << lines[3];
    lines[3] = "memory";
    const Strings expected = {
        "Radio: Id: 57",
        "Poste: " + Lib_Systeme::ComputerName(),
        "OS: " + Lib_Systeme::GetOSDisplayString(),
        "memory",
        "",
        "Date du poste: 31/01/2024 01:20:00",
        "Poste démarré depuis: 2 J 3 H 14 Min 5 Sec",
        "Application démarrée depuis: 1 H 0 Min 0 Sec",
        "",
        "Application: C:\\App\\engine_tests.exe",
        "Version: " + Lib_Systeme::VersionApplication(),
        "",
        "Message: Premier",
        "Second",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(text(received[0]["subject"]), "Sujet choisi");

    EXPECT_EQ(bodyLines(received[1]).front(), "Radio: Radio Test");
    EXPECT_EQ(text(received[1]["subject"]), "Relaytone");
}

TEST_F(EnvoiMail, AnAlertWithoutRecipientsDoesNothingAtAll) {
    engine().EnvoiMail(false, "   ", "Alerte", "", false);
    engine().EnvoiMail(true, "", "Test d'envoi de mail.", "", false);
    EXPECT_TRUE(peer.received().empty());
    EXPECT_TRUE(platform::dialogs::asked().empty());
    EXPECT_EQ(logCount("Mail"), 0);
}

TEST_F(EnvoiMail, FailuresAreReportedAndLoggedWithoutRetry) {
    struct Case {
        const char* what;
        bool test;
        const char* to;
        bool stopServer;
        const char* report;  // the error reporter's framed text
    };
    const Case cases[] = {
        {"refused recipient", false, "refuse@example.test", false, "Err: 550 (RCPT failed: 550"},
        {"list of one separator", false, ";", false, "Err: 503 (No recipient)"},
        {"server unreachable", false, "ops@example.test", true, "Err: 10061 (Failed to connect"},
    };
    for (const Case& c : cases) {
        if (c.stopServer) peer.stop();
        engine().EnvoiMail(c.test, c.to, "Alerte", "", false);
        EXPECT_EQ(logCount(c.report), 1) << c.what;
    }
    EXPECT_EQ(logCount(":Err: Mail: Not sended"), int(std::size(cases)));
    EXPECT_TRUE(peer.received().empty());
    EXPECT_TRUE(platform::dialogs::asked().empty());
    EXPECT_EQ(logCount("Sub: Frm_MainBis:EnvoiMail"), 0) << "no connection was ever missing";
}

TEST_F(EnvoiMail, AFailedTestMailSaysSoInABoxInsteadOfTheLog) {
    peer.stop();
    engine().EnvoiMail(true, "ops@example.test", "Test d'envoi de mail.", "", true);
    const auto asked = platform::dialogs::asked();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].title, mainWindow.caption);
    EXPECT_EQ(asked[0].text,
              "Un problème est survenu lors de l'envoi du mail.\r\n\r\nVérifiez votre paramétrage.");
    EXPECT_EQ(logCount("Err: 10061 ("), 1);
    EXPECT_EQ(logCount("Err: Mail: Not sended"), 0);
}

TEST_F(EnvoiMail, WithoutAServerTheSendAfterTheFailedConnectOnlyLogsItsLine) {
    ::unsetenv("AL3_SMTP_SERVER");  // the maker's placeholder server, never looked up
    engine().EnvoiMail(false, "ops@example.test", "Alerte", "", false);
    EXPECT_EQ(logCount("Err: 11001 (Host not found: smtp.aerolune.invalid)"), 1);
    EXPECT_EQ(
        logCount(":Err: -2147418113: Connection to the server not active |Sub: Frm_MainBis:EnvoiMail:2"), 1);
    EXPECT_EQ(logCount(":Err: Mail: Not sended"), 1);
    EXPECT_TRUE(peer.received().empty());
}

TEST_F(EnvoiMail, ACallDuringASendReturnsAtOnceAndTheNextCallGoesOut) {
    bool nestedReturned = false;
    QTimer::singleShot(0, [&] {
        engine().EnvoiMail(false, "nested@example.test", "Pendant l'envoi", "", false);
        nestedReturned = true;
    });
    engine().EnvoiMail(false, "first@example.test", "Premier", "", false);
    EXPECT_TRUE(nestedReturned);
    engine().EnvoiMail(false, "next@example.test", "Suivant", "", false);

    const auto received = peer.received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(strings(received[0]["rcpt_tos"]), Strings{"first@example.test"});
    EXPECT_EQ(strings(received[1]["rcpt_tos"]), Strings{"next@example.test"});
}

}  // namespace
