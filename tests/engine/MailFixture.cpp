// The engine mail tests' fixture: a server per test, the program's own sending account.
#include "tests/engine/MailFixture.h"

#include <cstdlib>

#include "foundation/LogBuffers.h"
#include "foundation/RunState.h"
#include "foundation/StatusMails.h"
#include "platform/Clock.h"

namespace mailtest {

MailTest::MailTest() : peer(drive.root() / "smtp", mailconfig::kAccount, mailconfig::password()) {}

void MailTest::SetUp() {
    logbuffers::earlyBuffer().clear();  // each test counts only its own lines
    ::setenv("AL3_SMTP_SERVER", peer.server().c_str(), 1);
    const auto now = platform::timeOf({.year = 2024, .month = 1, .day = 31, .hour = 1, .minute = 20});
    platform::clock::setManual(now, kUptimeMs);
    PbDDateLancement = now - std::chrono::hours(1);
    PbSDossierApplication = "C:\\App\\";
    PbSDossierLog = "C:\\Logs\\";
    neighbours::registerFrm_Main(&mainWindow);
    engine();
}

void MailTest::TearDown() {
    if (Frm_MainBis::exists()) Frm_MainBis::get().Unload();
    neighbours::registerFrm_Main(nullptr);
    ::unsetenv("AL3_SMTP_SERVER");
}

std::vector<std::string> MailTest::logLines(const std::string& fragment) const {
    std::vector<std::string> found;
    for (const std::string& line : logbuffers::earlyBuffer())
        if (line.find(fragment) != std::string::npos) found.push_back(line);
    return found;
}

std::vector<std::string> MailTest::bodyLines(const QJsonObject& message) {
    std::vector<std::string> lines;
    const std::string body = text(message["body"]);
    size_t start = 0;
    for (size_t end; (end = body.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(body.substr(start, end - start));
    if (start < body.size()) lines.push_back(body.substr(start));
    return lines;
}

}  // namespace mailtest
