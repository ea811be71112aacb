// The real program's start mail meets a mail server that is slow or silent at one step, or
// drops the connection: time queries keep their answers meanwhile, the mail goes when the
// server takes it, and a stop signal still ends the program in order.
#include <gtest/gtest.h>

#include <thread>

#include "foundation/StatusMails.h"
#include "tests/e2e/support/E2eProgram.h"
#include "tests/e2e/support/TimeProbe.h"
#include "tests/platform/mail/SmtpPeer.h"

namespace {

using namespace std::chrono_literals;

struct Fault {
    const char* spec;
    bool delivered;  // the server ends up with the message
    const char* name;
};

class MailFaults : public ::testing::TestWithParam<Fault> {};

TEST_P(MailFaults, TimeQueriesKeepTheirAnswersAndAStopSignalStillEndsTheProgramInOrder) {
    const Fault fault = GetParam();
    e2e::E2eSite site(1);
    site.enableNoticeMails();
    mailtest::SmtpPeer peer(site.root() / "smtp", mailconfig::kAccount, mailconfig::password(), fault.spec);
    ::setenv("AL3_SMTP_SERVER", peer.server().c_str(), 1);
    e2e::E2eProgram program(site);
    e2e::TimeProbe probe(site.port(1));
    ASSERT_TRUE(peer.waitForStep(60s)) << program.log();
    const auto from = e2e::TimeProbe::Clock::now();
    std::this_thread::sleep_for(3500ms);
    const auto to = e2e::TimeProbe::Clock::now();
    // Well above a reply's usual time, far below a freeze: a stalled program misses it.
    EXPECT_LT(probe.longestWaitMs(from, to), 1000.0) << fault.spec;
    EXPECT_GT(probe.queriesBetween(from, to), 20) << fault.spec;
    probe.stop();
    if (fault.delivered) {
        for (int k = 0; k < 50 && peer.received().empty(); ++k) std::this_thread::sleep_for(100ms);
        EXPECT_EQ(peer.received().size(), 1u) << fault.spec;
    }

    EXPECT_EQ(program.terminate(10s), 0) << fault.spec;
    const std::string log = program.log();
    EXPECT_NE(log.find("Form closed by the Taskmanager"), std::string::npos) << log;
    EXPECT_NE(log.find("Pervasive Files: Closed"), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(StartMail, MailFaults,
                         ::testing::Values(Fault{"greeting:2", true, "SlowGreeting"},
                                           Fault{"MAIL:2", true, "SlowMail"},
                                           Fault{"DATA:2", true, "SlowDataEnd"},
                                           Fault{"QUIT:5", true, "SlowQuit"},
                                           Fault{"DATA:silent", false, "SilentDataEnd"},
                                           Fault{"greeting:silent", false, "SilentGreeting"},
                                           Fault{"MAIL:drop", false, "DroppedAtMail"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
