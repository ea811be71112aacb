// The launcher as a real process in its own program folder, beside stub main programs.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <thread>

#include <QProcess>
#include <QProcessEnvironment>

#include "platform/process/Process.h"
#include "tests/support/Programs.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace proc = platform::process;
namespace fs = std::filesystem;
using namespace std::chrono_literals;
using support::StubStart;

namespace {

const char* kProgramFolder = "C:\\Program Files\\Aerolune Relaytone\\";

struct LauncherRun {
    int exitCode = -1;
    bool crashed = false;
    std::string errors;
    std::chrono::milliseconds took{0};
};

std::vector<std::string> linesOf(const std::string& crlfText) {
    std::vector<std::string> lines;
    size_t begin = 0;
    for (size_t end; (end = crlfText.find("\r\n", begin)) != std::string::npos; begin = end + 2)
        lines.push_back(crlfText.substr(begin, end - begin));
    EXPECT_EQ(begin, crlfText.size()) << "every line ends with CRLF";
    return lines;
}

// The lines of one full run, in order, stamped from the given day and hour on: eight, and
// between "After Boucle" and "After Taskkill" the ending of the main program's copies (texts
// after the stamp, as patterns).
void expectFullRun(const std::vector<std::string>& lines, size_t first, const std::string& dayHour,
                   const std::string& command, const std::vector<std::string>& taskkill = {}) {
    const std::string stamp = dayHour + R"(:\d\d:\d\d: )";
    std::vector<std::string> expected = {"==========================", stamp + "Start Boucle",
                                         stamp + "After Boucle"};
    for (const std::string& step : taskkill) expected.push_back(stamp + step);
    for (const std::string& line :
         {stamp + "After Taskkill",
          stamp + "Shell: " + std::regex_replace(command, std::regex(R"([\\.])"), R"(\$&)"), stamp + "End",
          std::string("=========================="), std::string()})
        expected.push_back(line);
    ASSERT_GE(lines.size(), first + expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(std::regex_match(lines[first + i], std::regex(expected[i])))
            << "line " << first + i << ": " << lines[first + i];
}

// The two lines of a copy that closed when asked.
std::vector<std::string> closedWhenAsked(int pid) {
    const std::string copy = R"(AL3_Relaytone\.exe \(pid )" + std::to_string(pid) + R"(\))";
    return {"Taskkill: Close asked: " + copy, "Taskkill: " + copy + " closed"};
}

// User and system CPU time of a running process, in clock ticks (100 a second).
long cpuTicks(qint64 pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    const size_t close = text.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stol(field);
        if (i == 15) stime = std::stol(field);
    }
    return utime + stime;
}

}  // namespace

class Launcher : public support::SiteTest {
protected:
    void SetUp() override {
        ::setenv("AL3_STUB_RECORD", "1", 1);
        fs::create_directories(drive.root() / "Program Files" / "Aerolune Relaytone");
        folder = drive.host(kProgramFolder);
    }
    void TearDown() override {
        for (proc::Pid pid : started) proc::endProcess(pid, 0ms);  // reaps our own children
        support::endProgramsUnder(drive.root());
    }

    fs::path install(const fs::path& where, const std::string& launcherName = "AL3_Relaytone_Launcher") {
        return support::copyProgram(support::builtProgram("AL3_Relaytone_Launcher"), where, launcherName);
    }
    fs::path stub(const fs::path& where, const std::string& name) {
        return support::copyProgram(support::stubProgram(), where, name);
    }
    proc::Pid runStub(const fs::path& program, const std::vector<std::string>& arguments = {}) {
        const proc::Started s = proc::start({program.string(), arguments, ""});
        EXPECT_TRUE(s.ok()) << s.reason;
        started.push_back(s.pid);
        return s.pid;
    }

    void startLauncher(QProcess& process, const fs::path& launcher, const QStringList& args,
                       const std::string& clock, const std::string& answers = "", bool display = true) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("AL3_CLOCK", QString::fromStdString(clock));
        env.insert("AL3_ANSWERS", QString::fromStdString(answers));
        if (!display) {
            for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) env.remove(name);
        }
        process.setProcessEnvironment(env);
        process.start(QString::fromStdString(launcher.string()), args);
        ASSERT_TRUE(process.waitForStarted());
    }
    LauncherRun finish(QProcess& process, std::chrono::steady_clock::time_point since) {
        LauncherRun run;
        EXPECT_TRUE(process.waitForFinished(60000));
        run.took =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since);
        run.crashed = process.exitStatus() == QProcess::CrashExit;
        run.exitCode = process.exitCode();
        run.errors = process.readAllStandardError().toStdString();
        return run;
    }
    LauncherRun launch(const fs::path& launcher, const QStringList& args, const std::string& clock,
                       const std::string& answers = "", bool display = true) {
        QProcess process;
        const auto since = std::chrono::steady_clock::now();
        startLauncher(process, launcher, args, clock, answers, display);
        return finish(process, since);
    }
    std::vector<std::string> logLines(const fs::path& where, const std::string& month) {
        return linesOf(support::readBytes(where / ("AL3_Relaytone_Launcher_" + month + ".Log")));
    }

    fs::path folder;
    std::vector<proc::Pid> started;
};

TEST_F(Launcher, RestartsOnlyTheMainProgramOfItsOwnFolderAndEndsItsOwnCopies) {
    const fs::path mainProgram = stub(folder, "AL3_Relaytone");
    const proc::Pid oldMain = runStub(mainProgram);
    const proc::Pid otherInstall = runStub(stub(drive.root() / "Other Install", "AL3_Relaytone"));
    const proc::Pid otherName = runStub(stub(folder, "AL3_Relaytone_Keep"));
    // A one-letter cousin of the launcher's two-letter name: not its image.
    const proc::Pid cousin = runStub(stub(folder, "AL3_Relaytone_Launcher_B"));
    const fs::path launcher = install(folder, "AL3_Relaytone_Launcher_Bx");

    QProcess first, second;
    const auto since = std::chrono::steady_clock::now();
    startLauncher(first, launcher, {}, "2026-03-10 08:00:00");
    std::this_thread::sleep_for(4s);  // its 20 s run past the first one's end
    startLauncher(second, launcher, {"/Veille=True"}, "2026-04-10 08:00:00");
    std::this_thread::sleep_for(6s);
    EXPECT_LT(cpuTicks(first.processId()), 100) << "ten seconds of waiting cost under a second of CPU";
    const LauncherRun run = finish(first, since);

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(run.crashed);
    EXPECT_GE(run.took, 22s) << "20 s before the kill and 2 s after it";
    EXPECT_LT(run.took, 30s);
    expectFullRun(logLines(folder, "2026-03"), 0, "2026-03-10 08",
                  std::string(kProgramFolder) + "AL3_Relaytone.exe /Base=Current", closedWhenAsked(oldMain));
    EXPECT_EQ(logLines(folder, "2026-03").size(), 10u);

    EXPECT_EQ(proc::exitCode(oldMain), 128 + SIGTERM) << "the running main program is asked to close";
    for (proc::Pid survivor : {otherInstall, otherName, cousin})
        EXPECT_EQ(proc::exitCode(survivor), proc::StillActive) << survivor;
    ASSERT_TRUE(support::eventually([&] { return support::stubStarts(mainProgram).size() == 2; }, 5s));
    const StubStart restarted = support::stubStarts(mainProgram)[1];
    EXPECT_EQ(restarted.arguments, std::vector<std::string>{"/Base=Current"});
    EXPECT_EQ(proc::exitCode(restarted.pid), proc::StillActive);

    ASSERT_TRUE(second.waitForFinished(5000)) << "the other copy of its image is ended";
    EXPECT_EQ(second.exitStatus(), QProcess::CrashExit);
    const auto ended = logLines(folder, "2026-04");
    ASSERT_EQ(ended.size(), 2u);
    EXPECT_TRUE(std::regex_match(ended[1], std::regex(R"(2026-04-10 08:00:\d\d: Start Boucle)")));
}

TEST_F(Launcher, TestSwitchShowsTheCommandAndStandbyIsPassedOnWithNoMainProgramRunning) {
    const fs::path mainProgram = stub(folder, "AL3_Relaytone");
    const LauncherRun run = launch(install(folder), {"/test", "/VEILLE=true"}, "2026-05-02 23:59:50", "ok");

    EXPECT_EQ(run.exitCode, 0);
    const std::string command = std::string(kProgramFolder) + "AL3_Relaytone.exe /Base=Current /Veille=True";
    EXPECT_NE(run.errors.find("[dialog] Relaytone Launcher | Application à lancer: " + command + " | ok"),
              std::string::npos)
        << run.errors;
    // The month of the start names the file, though the run ends in the next one.
    const auto lines = logLines(folder, "2026-05");
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_TRUE(lines[1].starts_with("2026-05-02 23:59:5")) << lines[1];
    EXPECT_TRUE(lines[4].starts_with("2026-05-03 00:00:1")) << lines[4];
    EXPECT_TRUE(lines[4].ends_with(": Shell: " + command)) << lines[4];
    ASSERT_TRUE(support::eventually([&] { return support::stubStarts(mainProgram).size() == 1; }, 5s));
    EXPECT_EQ(support::stubStarts(mainProgram)[0].arguments,
              (std::vector<std::string>{"/Base=Current", "/Veille=True"}));
}

TEST_F(Launcher, RunsOfAMonthAppendToOneFileAndAFailedStartIsLoggedWithoutADisplay) {
    stub(folder, "AL3_Relaytone");
    const fs::path lonely = drive.root() / "No Main Program";
    support::writeWindowsFile(lonely / "AL3_Relaytone_Launcher_2026-03.Log", "earlier month\n");
    const std::string march = support::readBytes(lonely / "AL3_Relaytone_Launcher_2026-03.Log");

    QProcess newMonth;
    const auto since = std::chrono::steady_clock::now();
    startLauncher(newMonth, install(lonely), {}, "2026-04-01 00:00:05", "", false);
    const LauncherRun runOne = launch(install(folder), {}, "2026-03-10 08:00:00");
    const LauncherRun failed = finish(newMonth, since);
    const LauncherRun runTwo = launch(install(folder), {}, "2026-03-20 09:00:00");

    EXPECT_EQ(runOne.exitCode, 0);
    EXPECT_EQ(runTwo.exitCode, 0);
    const auto lines = logLines(folder, "2026-03");
    ASSERT_EQ(lines.size(), 18u);
    const std::string command = std::string(kProgramFolder) + "AL3_Relaytone.exe /Base=Current";
    expectFullRun(lines, 0, "2026-03-10 08", command);
    // The second run finds the copy the first one started.
    const auto starts = support::stubStarts(folder / "AL3_Relaytone");
    ASSERT_GE(starts.size(), 1u);
    expectFullRun(lines, 8, "2026-03-20 09", command, closedWhenAsked(starts[0].pid));

    EXPECT_EQ(failed.exitCode, 0) << failed.errors;
    EXPECT_EQ(support::readBytes(lonely / "AL3_Relaytone_Launcher_2026-03.Log"), march);
    const auto april = logLines(lonely, "2026-04");
    ASSERT_EQ(april.size(), 9u);
    EXPECT_TRUE(april[4].ends_with(": Shell: C:\\No Main Program\\AL3_Relaytone.exe /Base=Current"));
    EXPECT_TRUE(
        std::regex_match(april[5], std::regex(R"(2026-04-01 00:00:\d\d: Err: Shell failed \(2\): .+)")))
        << april[5];
    EXPECT_TRUE(april[6].ends_with(": End"));
}

TEST_F(Launcher, ACopyDeafToTheCloseIsKilledOnceTheGracePeriodHasPassed) {
    const fs::path mainProgram = stub(folder, "AL3_Relaytone");
    const proc::Pid obeying = runStub(mainProgram);
    const proc::Pid deaf = runStub(mainProgram, {"--ignore-term"});
    const LauncherRun run = launch(install(folder), {}, "2026-03-10 08:00:00");

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(proc::exitCode(obeying), 128 + SIGTERM);
    EXPECT_EQ(proc::exitCode(deaf), 128 + SIGKILL);
    EXPECT_GE(run.took, 32s) << "20 s, 10 s of grace for the deaf copy, then 2 s";
    EXPECT_LT(run.took, 40s);

    const auto lines = logLines(folder, "2026-03");
    ASSERT_EQ(lines.size(), 12u);
    const std::string stamp = R"(2026-03-10 08:00:\d\d: Taskkill: )";
    const auto copy = [](proc::Pid pid) {
        return R"(AL3_Relaytone\.exe \(pid )" + std::to_string(pid) + R"(\))";
    };
    // Both asked first, in the order the system lists them, then what became of each.
    for (const auto& [from, patterns] : std::vector<std::pair<size_t, std::vector<std::string>>>{
             {3, {stamp + "Close asked: " + copy(obeying), stamp + "Close asked: " + copy(deaf)}},
             {5,
              {stamp + copy(obeying) + " closed",
               stamp + copy(deaf) + " still running after 10 s: killed"}}}) {
        for (const std::string& pattern : patterns)
            EXPECT_TRUE(std::regex_match(lines[from], std::regex(pattern)) ||
                        std::regex_match(lines[from + 1], std::regex(pattern)))
                << pattern << "\n"
                << lines[from] << "\n"
                << lines[from + 1];
    }
    EXPECT_TRUE(lines[7].ends_with(": After Taskkill")) << lines[7];
    EXPECT_TRUE(support::eventually([&] { return support::stubStarts(mainProgram).size() == 3; }, 5s));
}
