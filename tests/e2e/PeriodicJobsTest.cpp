// The real program's clock-driven work: the alive mail once the main window shows, through a
// real SMTP server on loopback.
#include <gtest/gtest.h>

#include <cstdlib>

#include "foundation/StatusMails.h"
#include "tests/e2e/support/E2eProgram.h"
#include "tests/platform/mail/SmtpPeer.h"
#include "tests/support/Programs.h"
#include "tests/support/WindowsFiles.h"

namespace {

using namespace std::chrono_literals;

void withNoticeMails(const e2e::E2eSite& site) {
    const auto config = site.programFolder() / "Settings" / "AL3_Config.ini";
    std::string textValue = support::readWindowsFile(config);
    textValue.insert(textValue.find('\n', textValue.find("[Site]")) + 1, "Mails_Avis=1\n");
    support::writeWindowsFile(config, textValue);
}

TEST(PeriodicJobs, TheAliveMailAloneGoesOutOnceTheMainWindowShows) {
    e2e::E2eSite site;
    withNoticeMails(site);
    mailtest::SmtpPeer peer(site.root() / "smtp", mailconfig::kAccount, mailconfig::password());
    ::setenv("AL3_SMTP_SERVER", peer.server().c_str(), 1);
    e2e::ProgramOptions options;
    options.clock = "2026-12-10 10:00:00";  // daytime: no log mail
    e2e::E2eProgram program(site, options);
    ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End")) << program.log();

    ASSERT_TRUE(support::eventually([&] { return !peer.received().empty(); }, 20s)) << program.log();
    const auto mails = peer.received();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mailtest::strings(mails[0]["rcpt_tos"]), std::vector<std::string>{mailconfig::kSupportAddress});
    EXPECT_NE(mailtest::text(mails[0]["body"]).find("Relaytone actif"), std::string::npos);
    EXPECT_EQ(program.terminate(), 0);
    ::unsetenv("AL3_SMTP_SERVER");
}

}  // namespace
