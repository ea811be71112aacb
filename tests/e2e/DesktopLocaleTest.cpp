// The three programs on the operators' desktops: fr_FR.UTF-8 (a comma before the decimals),
// de_DE.UTF-8 and C.UTF-8. Under fr_FR the program once aborted before its first log line.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <thread>

#include <QProcess>

#include <signal.h>

#include "platform/Cp1252.h"
#include "tests/e2e/support/E2eProgram.h"
#include "tests/support/Programs.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The header line that begins with the label, without its mark and label.
std::string headerFigure(const std::string& log, const std::string& label) {
    const std::string start = "==:==:==:====:=:=:=:" + label;
    const size_t at = log.find(start);
    if (at == std::string::npos) return "<no line " + label + ">";
    const size_t from = at + start.size();
    return log.substr(from, log.find('\n', from) - from);
}

TEST(FrenchDesktop, TheProgramAnswersLogsInFrenchFiguresAndStopsWithZero) {
    e2e::E2eSite site;
    e2e::ProgramOptions options;
    options.locale = "fr_FR.UTF-8";
    e2e::E2eProgram program(site, options);
    ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End"))
        << program.log() << program.errorOutput();

    const auto reply = e2e::askTime(site.port(1));
    ASSERT_TRUE(reply);
    EXPECT_TRUE(std::regex_match(*reply, std::regex(R"(<Relaytone_Time:\d\d/\d\d/\d{4} \d\d:\d\d:\d\d>)")))
        << *reply;

    // Read as VB reads it: "2E0" is station 2.
    const std::string message = "<NoStation:2E0><CurrNature:Mus><CurrLib:Été 3.5>";
    e2e::sendDatagram(site.port(2), platform::cp1252::fromUtf8(message));  // the wire's code page
    ASSERT_TRUE(program.waitForLog("UDP: Data arrival Bis: " + message + " |NoStation: 2")) << program.log();
    ASSERT_TRUE(program.waitForLog("TimerDataArrival_Timer: Chaine: " + message)) << program.log();

    // The memory figures in the user's format: no-break space between thousands, comma before
    // the two decimals.
    const std::string log = program.log();
    const std::regex gigabytes(R"(\d{1,3}(\xC2\xA0\d{3})*,\d\d Go)");
    for (const char* label : {"Physical RAM:          ", "Available RAM:         ", "Page RAM:              ",
                              "Available Page RAM:    ", "Available Virtual RAM: "})
        EXPECT_TRUE(std::regex_match(headerFigure(log, label), gigabytes))
            << label << headerFigure(log, label);
    EXPECT_EQ(headerFigure(log, "Virtual RAM:           "), "131\u00A0072,00 Go");
    EXPECT_TRUE(std::regex_match(headerFigure(log, "Loaded RAM:            "), std::regex(R"(\d{1,3}%)")));

    EXPECT_EQ(program.terminate(), 0);
    EXPECT_NE(program.logPosition("Form closed by the Taskmanager"), std::string::npos) << program.log();
}

// The launcher and the batch runner, each from a program folder of its own, on each desktop.
class OtherPrograms : public support::SiteTest, public ::testing::WithParamInterface<const char*> {
protected:
    QProcess& start(QProcess& process, const fs::path& program) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("AL3_ANSWERS", "");
        env.insert("AL3_CLOCK", "2026-03-10 08:00:00");
        env.insert("AL3_STUB_RECORD", "1");
        e2e::useDesktopLocale(env, GetParam());
        process.setProcessEnvironment(env);
        process.start(QString::fromStdString(program.string()), {});
        EXPECT_TRUE(process.waitForStarted());
        return process;
    }
    void TearDown() override { support::endProgramsUnder(drive.root()); }
};

TEST_P(OtherPrograms, TheLauncherStartsTheMainProgramAndEnds) {
    const fs::path folder = drive.root() / "Program Files" / "Aerolune Relaytone";
    const fs::path mainProgram = support::copyProgram(support::stubProgram(), folder, "AL3_Relaytone");
    QProcess launcher;
    start(launcher, support::copyProgram(support::builtProgram("AL3_Relaytone_Launcher"), folder,
                                         "AL3_Relaytone_Launcher"));
    ASSERT_TRUE(launcher.waitForFinished(60000));
    EXPECT_EQ(launcher.exitStatus(), QProcess::NormalExit) << launcher.readAllStandardError().toStdString();
    EXPECT_EQ(launcher.exitCode(), 0);
    const std::string log = support::readBytes(folder / "AL3_Relaytone_Launcher_2026-03.Log");
    EXPECT_TRUE(std::regex_search(log, std::regex(R"(2026-03-10 08:00:\d\d: Start Boucle\r\n)"))) << log;
    EXPECT_TRUE(std::regex_search(log, std::regex(R"(: End\r\n=+\r\n\r\n$)"))) << log;
    ASSERT_TRUE(support::eventually([&] { return support::stubStarts(mainProgram).size() == 1; }, 5s));
    EXPECT_EQ(support::stubStarts(mainProgram)[0].arguments, std::vector<std::string>{"/Base=Current"});
}

TEST_P(OtherPrograms, TheBatchRunnerRunsADroppedFileAndStopsOnATermSignal) {
    QProcess runner;
    start(runner, support::copyProgram(support::builtProgram("AL3_Relaytone_API"),
                                       drive.root() / "Program Files" / "RLT API", "AL3_Relaytone_API"));
    const fs::path marker = drive.root() / "ran.txt";
    support::writeWindowsFile(drive.root() / "Vantremo" / "Aerolune" / "RLT" / "AL3_Relaytone_Job.bat",
                              "echo ran >> '" + marker.string() + "'\n");
    ASSERT_TRUE(support::eventually([&] { return fs::exists(marker); }, 20s))
        << runner.readAllStandardError().toStdString();
    ::kill(pid_t(runner.processId()), SIGTERM);
    ASSERT_TRUE(runner.waitForFinished(10000));
    EXPECT_EQ(runner.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(runner.exitCode(), 0);
}

INSTANTIATE_TEST_SUITE_P(Locales, OtherPrograms, ::testing::Values("fr_FR.UTF-8", "de_DE.UTF-8", "C.UTF-8"),
                         [](const auto& info) {
                             const std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
