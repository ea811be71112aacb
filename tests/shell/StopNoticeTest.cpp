// The stop notice of the main window's quit, to a real SMTP server, only when the site asks.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "foundation/StatusMails.h"
#include "platform/Dialogs.h"
#include "shell/Frm_Main.h"
#include "tests/engine/MailFixture.h"
#include "tests/support/WindowsFiles.h"

namespace {

// The main window without its start-up sequence.
class TestWindow : public Frm_Main {
protected:
    void Form_Load() override {}
};

class StopNotice : public mailtest::MailTest {
protected:
    void SetUp() override {
        MailTest::SetUp();
        Abandon = false;  // an earlier case's quit in the same process ended its waits for good
        PbSDossierConfigSite = "C:\\Vantremo\\AL3_Config.ini";
        win.Load();
    }
    void noticeOption(bool on) {
        support::writeWindowsFile(drive.host(PbSDossierConfigSite),
                                  std::string("[Site]\nMails_Avis=") + (on ? "1" : "0") + "\n");
    }
    TestWindow win;
};

// The launcher's grace before it kills the program is 10 s: a server that takes the message and
// never answers its end must not eat it, or the workbook and the files would not be closed.
TEST_F(StopNotice, AStopMailTheServerNeverAnswersLeavesTimeForTheRestOfTheStop) {
    noticeOption(true);
    mailtest::SmtpPeer silent(drive.root() / "silent", mailconfig::kAccount, mailconfig::password(),
                              "DATA:silent");
    ::setenv("AL3_SMTP_SERVER", silent.server().c_str(), 1);
    PbBRelanceForcee = true;
    QElapsedTimer clock;
    clock.start();
    win.Quitter(false);
    EXPECT_LT(clock.elapsed(), 8000);
    EXPECT_TRUE(Abandon) << "the stop did not go on to the unload";
    EXPECT_EQ(logCount("Err: Mail: Not sended: 10060: No answer from the mail server within 5 s |Sub: "
                       "Lib_Email:EnvoiDuMail"),
              1);
    EXPECT_TRUE(silent.received().empty());
}

struct Case {
    bool option;
    bool forced;
    const char* answer;  // to the quit question, "" when none is asked
    bool sent;
    const char* name;
};

class StopNoticeCases : public StopNotice, public ::testing::WithParamInterface<Case> {};

// Each case quits once: a quit unloads the windows, which every case makes afresh.
TEST_P(StopNoticeCases, SentOnlyForAQuitThatGoesAheadWithTheOptionOn) {
    const Case c = GetParam();
    noticeOption(c.option);
    PbBRelanceForcee = c.forced;
    PbBQuitter = true;  // the quit clears it before it sends
    if (*c.answer) platform::dialogs::queueAnswers({c.answer});
    win.Quitter(false);
    const auto received = peer.received();
    ASSERT_EQ(received.size(), c.sent ? 1u : 0u);
    if (c.sent) {
        EXPECT_EQ(mailtest::strings(received[0]["rcpt_tos"]),
                  std::vector<std::string>{mailconfig::kSupportAddress});
        EXPECT_EQ(bodyLines(received[0]).back(), "Message: Relaytone arrêté");
    }
}

INSTANTIATE_TEST_SUITE_P(Quit, StopNoticeCases,
                         ::testing::Values(Case{true, false, "yes", true, "Confirmed"},
                                           Case{true, true, "", true, "Forced"},
                                           Case{true, false, "no", false, "Refused"},
                                           Case{false, false, "yes", false, "OptionOff"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
