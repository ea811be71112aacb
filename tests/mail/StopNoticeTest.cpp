// The stop notice of the main window's quit, to a real SMTP server, only when the site asks.
#include <gtest/gtest.h>

#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "foundation/StatusMails.h"
#include "platform/Dialogs.h"
#include "shell/Frm_Main.h"
#include "tests/mail/MailFixture.h"
#include "tests/support/WindowsFiles.h"

namespace {

// The main window without its start-up sequence.
class Fenetre : public Frm_Main {
protected:
    void Form_Load() override {}
};

class StopNotice : public mailtest::MailTest {
protected:
    void SetUp() override {
        MailTest::SetUp();
        PbSDossierConfigSite = "C:\\Vantremo\\AL3_Config.ini";
        fenetre.Load();
    }
    void noticeOption(bool on) {
        support::writeWindowsFile(drive.host(PbSDossierConfigSite),
                                  std::string("[Site]\nMails_Avis=") + (on ? "1" : "0") + "\n");
    }
    Fenetre fenetre;
};

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
    fenetre.Quitter(false);
    const auto received = peer.received();
    ASSERT_EQ(received.size(), c.sent ? 1u : 0u);
    if (c.sent) {
        EXPECT_EQ(mailtest::strings(received[0]["rcpt_tos"]),
                  std::vector<std::string>{mailconfig::kAdresseSupport});
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
