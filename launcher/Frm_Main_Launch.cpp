// The launcher's run: the steps in order, each going on whatever became of the one before.
#include "launcher/Frm_Main_Launch.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include <QCoreApplication>

#include "launcher/LauncherLog.h"
#include "launcher/MonotonicWait.h"
#include "platform/Dialogs.h"
#include "platform/WinPath.h"
#include "platform/process/ImageName.h"
#include "platform/process/Process.h"

namespace proc = platform::process;
using namespace std::chrono_literals;

namespace {

const std::string kRule = "==========================";
const std::string kMainProgram = "AL3_Relaytone";
const std::string kStandby = "/Veille=True";
// Long enough for the main program's orderly shut-down: workbook, files, windows.
constexpr auto kGrace = 10s;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

// The program folder as App.Path gives it: no backslash at the end.
std::string appPath() {
    std::string folder = platform::winpath::programFolder();
    if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return folder;
}

}  // namespace

Frm_Main_Launch::Frm_Main_Launch(std::string commandLine) : commandLine_(std::move(commandLine)) {}

bool Frm_Main_Launch::Holds(const std::string& sw) const {
    return lower(commandLine_).find(lower(sw)) != std::string::npos;
}

void Frm_Main_Launch::Form_Load() {
    LauncherLog log;
    log.WriteLine(kRule);
    log.WriteDated(": Start Boucle");
    WaitKeepingEvents(20s);
    log.WriteDated(": After Boucle");

    EndMainProgram(log);
    QCoreApplication::processEvents();
    log.WriteDated(": After Taskkill");
    WaitKeepingEvents(2s);

    std::vector<std::string> arguments{"/Base=Current"};
    if (Holds(kStandby)) arguments.push_back(kStandby);
    std::string command = appPath();
    if (command.back() != '\\') command += '\\';
    command += kMainProgram + ".exe";
    for (const std::string& a : arguments) command += " " + a;

    if (Holds("/Test"))
        platform::dialogs::MsgBox("Application à lancer: " + command,
                                  platform::dialogs::vbInformation | platform::dialogs::vbOKOnly, Caption);
    log.WriteDated(": Shell: " + command);
    const proc::Started started =
        proc::start({platform::winpath::programFolder() + kMainProgram, arguments, ""});
    if (!started.ok())
        log.WriteDated(": Err: Shell failed (" + std::to_string(proc::shellCode(started)) +
                       "): " + started.reason);
    log.WriteDated(": End");
    log.WriteLine(kRule);
    log.WriteLine("");
    log.Close();
}

void Frm_Main_Launch::EndMainProgram(LauncherLog& log) {
    const std::string image = kMainProgram + ".exe";
    const std::vector<proc::Pid> asked = proc::askToEndByImageName(kMainProgram);
    for (proc::Pid pid : asked)
        log.WriteDated(": Taskkill: Close asked: " + image + " (pid " + std::to_string(pid) + ")");
    if (asked.empty()) return;
    WaitKeepingEvents(kGrace, [&] { return proc::stillRunningImage(kMainProgram, asked).empty(); });
    const std::vector<proc::Pid> killed = proc::killStillRunningImage(kMainProgram, asked);
    for (proc::Pid pid : asked) {
        const bool forced = std::find(killed.begin(), killed.end(), pid) != killed.end();
        log.WriteDated(
            ": Taskkill: " + image + " (pid " + std::to_string(pid) + ") " +
            (forced ? "still running after " + std::to_string(kGrace.count()) + " s: killed" : "closed"));
    }
}

void Frm_Main_Launch::Form_Unload() {
    // Exactly our own image: a copy named with a longer suffix ends its own kind, not another's.
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
    proc::endByImageName(self.filename().string());
}
