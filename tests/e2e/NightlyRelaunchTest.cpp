// The nightly relaunch as it happens at night: nobody answers the quit question, the launcher
// ends the program and starts it again, and the workbook keeps the restarts of both runs.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>

#include "foundation/StatusMails.h"
#include "tests/e2e/support/E2eProgram.h"
#include "tests/platform/mail/SmtpPeer.h"
#include "tests/platform/xls/XlrdReader.h"
#include "tests/support/Programs.h"
#include "tests/support/WindowsFiles.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A copy of the site's main program other than the one given, which nobody here started:
// the launcher did. 0 while there is none.
int otherCopy(const e2e::E2eSite& site, qint64 known) {
    const fs::path image = fs::weakly_canonical(site.programFolder() / "AL3_Relaytone");
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos || std::stoll(name) == known) continue;
        std::error_code ec;
        if (fs::read_symlink(entry.path() / "exe", ec) == image) return std::stoi(name);
    }
    return 0;
}

// Gone, or left as a zombie to a parent that does not collect it.
bool ended(int pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    const size_t close = text.rfind(')');
    return close == std::string::npos || text.compare(close + 2, 1, "Z") == 0;
}

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

std::string cell(const platform::xls::Sheet& sheet, int row, int column) {
    const auto it = sheet.cells.find({row, column});
    return it == sheet.cells.end() ? std::string() : it->second.text;
}

// The mail server as it is that night: answering, or taking every message and never
// answering its end (the stop mail must then end before the launcher's grace does).
struct Night {
    const char* mailFault;
    bool stopMailDelivered;
    const char* name;
};

class NightlyRelaunchAtNight : public ::testing::TestWithParam<Night> {};

TEST_P(NightlyRelaunchAtNight,
       NobodyAnswersTheQuitQuestionYetBothRunsKeepTheirRestartRowsAndTheStopMailGoes) {
    const Night night = GetParam();
    e2e::E2eSite site(1);
    support::writeWindowsFile(site.programFolder() / "Settings" / "AL3_Relaytone" / "AL3_Relaytone.Ini",
                              "[SoundCard]\nActive=0\n[Windows]\nLaunch=1\n");
    const fs::path config = site.programFolder() / "Settings" / "AL3_Config.ini";
    std::string textValue = support::readWindowsFile(config);
    textValue.insert(textValue.find('\n', textValue.find("[Site]")) + 1, "Mails_Avis=1\n");
    support::writeWindowsFile(config, textValue);
    mailtest::SmtpPeer peer(site.root() / "smtp", mailconfig::kAccount, mailconfig::password(),
                            night.mailFault);
    ::setenv("AL3_SMTP_SERVER", peer.server().c_str(), 1);

    // The moment is 04:02:00; the third minute tick, near 04:02:30, passes it. No answers: the
    // question is on screen and waits.
    e2e::ProgramOptions options;
    options.clock = "2026-03-10 03:59:30";
    options.errorFile = site.root() / "stderr.txt";
    e2e::E2eProgram first(site, options);
    const qint64 firstPid = first.pid();
    ASSERT_TRUE(first.waitForLog("Close Application ? It's Time (", 240s)) << first.log();
    // The launcher's 20 s, then its close request.
    ASSERT_EQ(first.waitForExit(60s), 0) << first.log();
    const std::string firstLog = first.log();
    EXPECT_NE(firstLog.find("Warning: Stop by signal: open box closed with its default answer (yes): "),
              std::string::npos)
        << firstLog;
    // The default Yes goes on with the quit (the stop mail); one orderly close in all.
    EXPECT_NE(firstLog.find("Voulez-vous quitter le programme ?"), std::string::npos);
    EXPECT_EQ(count(firstLog, "Form closed by "), 1u) << firstLog;
    EXPECT_NE(firstLog.find("Pervasive Files: Closed"), std::string::npos) << firstLog;

    int second = 0;
    ASSERT_TRUE(support::eventually([&] { return (second = otherCopy(site, firstPid)) != 0; }, 30s))
        << support::readBytes(site.programFolder() / "AL3_Relaytone_Launcher_2026-03.Log");
    std::optional<std::string> reply;
    for (int attempt = 0; attempt < 300 && !reply && !ended(second); ++attempt)
        reply = e2e::askTime(site.port(1), 100ms);
    ASSERT_TRUE(reply) << "the new copy answers time queries\n" << first.log() << first.errorOutput();
    EXPECT_EQ(reply->rfind("<Relaytone_Time:", 0), 0u) << *reply;
    ASSERT_TRUE(support::eventually(
        [&] { return count(first.log(), "Traitement des données non encore traitées: End") == 2; }, 30s));
    ::kill(second, SIGTERM);
    ASSERT_TRUE(support::eventually([&] { return ended(second); }, 30s));
    ::unsetenv("AL3_SMTP_SERVER");

    const std::string launcher =
        support::readBytes(site.programFolder() / "AL3_Relaytone_Launcher_2026-03.Log");
    EXPECT_NE(
        launcher.find("Taskkill: Close asked: AL3_Relaytone.exe (pid " + std::to_string(firstPid) + ")"),
        std::string::npos)
        << launcher;
    EXPECT_NE(launcher.find("Taskkill: AL3_Relaytone.exe (pid " + std::to_string(firstPid) + ") closed"),
              std::string::npos)
        << launcher;

    // Newest run first: its end and start rows, then those of the night's first run.
    platform::xls::Sheet sheet;
    std::string error;
    ASSERT_TRUE(gridtest::readWithXlrd(site.host("C:\\Vantremo\\Aerolune\\Local\\AL3_Relaytone\\Global.xls"),
                                       sheet, error))
        << error;
    const std::vector<std::string> rows = {"Fin Redémarrage", "Début Redémarrage", "Fin Redémarrage",
                                           "Début Redémarrage"};
    for (int row = 0; row < int(rows.size()); ++row) EXPECT_EQ(cell(sheet, row, 1), rows[size_t(row)]) << row;
    EXPECT_EQ(cell(sheet, 4, 1), "");

    size_t stops = 0;
    for (const auto& mail : peer.received())
        stops += mailtest::text(mail["subject"]).find("Relaytone arrêté") != std::string::npos ||
                 mailtest::text(mail["body"]).find("Relaytone arrêté") != std::string::npos;
    EXPECT_EQ(stops, night.stopMailDelivered ? 1u : 0u)
        << "the first run's stop mail; the task manager's close sends none";
}

INSTANTIATE_TEST_SUITE_P(MailServer, NightlyRelaunchAtNight,
                         ::testing::Values(Night{"", true, "Answering"},
                                           Night{"DATA:silent", false, "SilentAfterTheMessage"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
