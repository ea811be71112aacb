// Lib_Email's notice mails through the engine window's controls to a real SMTP server.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <QJsonArray>

#include "foundation/ErrorReporter.h"
#include "foundation/FileVersions.h"
#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "foundation/StatusMails.h"
#include "foundation/SystemQueries.h"
#include "tests/engine/MailFixture.h"
#include "tests/support/WindowsFiles.h"

namespace {

using Lib_Email::EnvoiDuMail;
using mailtest::strings;
using mailtest::text;

class StatusMails : public mailtest::MailTest {
protected:
    void send(const std::string& to, const std::string& message = "Relaytone lancé", bool attachLog = false,
              bool maj = false, bool company = true, bool tracer = false) {
        EnvoiDuMail(0, to, message, 0, attachLog, maj, company, tracer);
    }
};

TEST_F(StatusMails, NoticeCarriesTheSystemReportFromTheNoReplySender) {
    send("ops@example.test;second@example.test");

    const auto received = peer.received();
    ASSERT_EQ(received.size(), 1u);
    const QJsonObject& mail = received[0];
    EXPECT_EQ(text(mail["login"]), mailconfig::kAccount);
    EXPECT_EQ(text(mail["mail_from"]), "no-reply@aerolune.invalid");
    EXPECT_EQ(text(mail["from_name"]), "Aerolune");
    EXPECT_EQ(strings(mail["rcpt_tos"]),
              (std::vector<std::string>{"ops@example.test", "second@example.test"}));
    EXPECT_EQ(text(mail["subject"]), "Relaytone - Radio Test");
    EXPECT_TRUE(mail["attachments"].toArray().isEmpty());

    auto lines = bodyLines(mail);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_TRUE(lines[2].starts_with("Mémoire: ") && lines[2].ends_with(" Mo")) << lines[2];
    lines[2] = "memory";
    const std::vector<std::string> expected = {
        "Poste: " + Lib_Systeme::ComputerName(),
        "OS: " + Lib_Systeme::GetOSDisplayString(),
        "memory",
        "-",
        "Date du poste: 31/01/2024 01:20:00",
        "Poste démarré depuis: 2 J 3 H 14 Min 5 Sec (28/01/2024 22:05:55)",
        "",
        "Application démarrée depuis: 1 H 0 Min 0 Sec (31/01/2024 00:20:00)",
        "-",
        "Application: C:\\App\\engine_tests.exe",
        "Version: " + Lib_Systeme::VersionApplication(),
        "-",
        "Message: Relaytone lancé",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(StatusMails, RecipientListsAndSenderNames) {
    struct Case {
        const char* to;
        bool maj, company;
        std::vector<std::string> recipients;
        const char* sender;
    };
    const Case cases[] = {
        {"a@example.test;b@example.test", false, true, {"a@example.test", "b@example.test"}, "Aerolune"},
        {"a@example.test;b@example.test;", false, true, {"a@example.test", "b@example.test"}, "Aerolune"},
        {"a@example.test;;b@example.test",
         true,
         false,
         {"a@example.test", "b@example.test"},
         "Aerolune Mises à jour"},
        {"a@example.test; ;b@example.test ",
         false,
         false,
         {"a@example.test", "b@example.test"},
         "Aerolune Relaytone"},
    };
    for (const Case& c : cases) send(c.to, "Relaytone actif", false, c.maj, c.company);
    const auto received = peer.received();
    ASSERT_EQ(received.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(strings(received[i]["rcpt_tos"]), cases[i].recipients) << cases[i].to;
        EXPECT_EQ(text(received[i]["from_name"]), cases[i].sender) << cases[i].to;
    }
}

TEST_F(StatusMails, DailyLogGoesAsAnHourlyCopyWhenThereIsOne) {
    const std::string log = "01:19:59:000 :   :   0:Ligne du journal \xE9t\xE9\r\n";
    std::filesystem::create_directories(drive.root() / "Logs");
    std::ofstream(drive.root() / "Logs" / "20240131.Log", std::ios::binary) << log;

    send(mailconfig::kSupportAddress, "Relaytone envoi du Log", true);
    std::filesystem::remove(drive.root() / "Logs" / "20240131.Log");
    send(mailconfig::kSupportAddress, "Relaytone envoi du Log", true);

    const auto received = peer.received();
    ASSERT_EQ(received.size(), 2u);
    const QJsonArray attached = received[0]["attachments"].toArray();
    ASSERT_EQ(attached.size(), 1);
    EXPECT_EQ(text(attached[0].toObject()["filename"]), "Relaytone_20240131_01.Log");
    EXPECT_EQ(mailtest::bytes(attached[0].toObject()), log);
    EXPECT_TRUE(std::filesystem::exists(drive.root() / "Logs" / "Relaytone_20240131_01.Log"));
    EXPECT_EQ(bodyLines(received[0]).back(), "Message: Relaytone envoi du Log");

    // Without today's log the mail still goes, with its report only.
    EXPECT_TRUE(received[1]["attachments"].toArray().isEmpty());
    EXPECT_EQ(bodyLines(received[1]).back(), "Message: Relaytone envoi du Log");
}

TEST_F(StatusMails, NothingGoesOutWhileQuittingOrWithoutRecipientOrMessage) {
    send("  ");
    send("ops@example.test", " ");
    PbBQuitter = true;
    send("ops@example.test", "Relaytone arrêté");
    PbBQuitter = false;
    EXPECT_TRUE(peer.received().empty());
    EXPECT_EQ(logCount("Mail"), 0);
}

TEST_F(StatusMails, AFailedNoticeLeavesOneLogLineWithItsReason) {
    send("refuse@example.test", "Relaytone actif", false, false, true, true);
    peer.stop();
    send("ops@example.test", "Relaytone actif");

    const auto failures = logLines("Err: Mail: Not sended: ");
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_NE(failures[0].find("Not sended: 550: "), std::string::npos) << failures[0];
    EXPECT_NE(failures[0].find("Recipient refused: refuse@example.test"), std::string::npos);
    EXPECT_NE(failures[1].find("Not sended: 10061: "), std::string::npos) << failures[1];
    for (const std::string& line : failures) EXPECT_TRUE(line.ends_with(" |Sub: Lib_Email:EnvoiDuMail"));
    // The trace line is written whatever came of the send.
    EXPECT_EQ(logCount(":Send Email: Relaytone actif"), 1);
    EXPECT_EQ(DerniereErreur.number, 10061);
}

TEST_F(StatusMails, PartnerRadiosAndTheSitesNoticeOption) {
    const std::pair<int16_t, bool> radios[] = {{39, true}, {195, true}, {118, true}, {40, false}, {0, false}};
    for (const auto& [id, partner] : radios) {
        PbIIdRadio = id;
        EXPECT_EQ(Lib_Email::EstCeUneRadioDorvane(), partner) << id;
    }

    PbSDossierConfigSite = "C:\\Vantremo\\AL3_Config.ini";
    EXPECT_FALSE(Lib_Email::noticeMailsActive());  // no file: off
    support::writeWindowsFile(drive.host(PbSDossierConfigSite), "[Site]\nNbBase=1\n");
    EXPECT_FALSE(Lib_Email::noticeMailsActive());
    support::writeWindowsFile(drive.host(PbSDossierConfigSite), "[Site]\nMails_Avis=1\n");
    EXPECT_TRUE(Lib_Email::noticeMailsActive());
}

TEST(NoticeSubject, CaptionLosesEveryFamilyPrefixInAnyCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"Aerolune: Relaytone", "Relaytone"},
        {"AEROLUNE: Relaytone - aerolune: Radio", "Relaytone - Radio"},
        {"Relaytone", "Relaytone"},
        {"AeroAerolune: lune: x", "Aerolune: x"},  // one pass, as a replace does
        {"", ""},
    };
    for (const auto& [caption, subject] : cases)
        EXPECT_EQ(Lib_Email::subjectFromCaption(caption), subject) << caption;
}

}  // namespace
