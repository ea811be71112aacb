// The runner as a real process in its own program folder, with batch files dropped while it runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <thread>

#include <QProcess>
#include <QProcessEnvironment>

#include <signal.h>

#include "tests/support/Programs.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

size_t linesIn(const fs::path& file) {
    const std::string text = support::readBytes(file);
    return size_t(std::count(text.begin(), text.end(), '\n'));
}

// Children of the process that ended and were never collected.
int zombieChildrenOf(qint64 parent) {
    int zombies = 0;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (!std::all_of(name.begin(), name.end(), ::isdigit)) continue;
        std::ifstream stat(entry.path() / "stat");
        std::string text((std::istreambuf_iterator<char>(stat)), {});
        const size_t close = text.rfind(')');
        if (close == std::string::npos || close + 4 >= text.size()) continue;
        char state = 0;
        long long ppid = 0;
        if (std::sscanf(text.c_str() + close + 2, "%c %lld", &state, &ppid) == 2 && ppid == parent &&
            state == 'Z')
            ++zombies;
    }
    return zombies;
}

// Whether the process has its handler for the signal in place (SigCgt in /proc/<pid>/status).
bool catchesSignal(qint64 pid, int signal) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

}  // namespace

class BatchRunner : public support::SiteTest {
protected:
    // Every box answered at once from the (empty) script, or really shown and waiting.
    virtual bool scripted() const { return true; }

    void SetUp() override {
        const fs::path program =
            support::copyProgram(support::builtProgram("AL3_Relaytone_API"),
                                 drive.root() / "Program Files" / "RLT API", "AL3_Relaytone_API");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (scripted())
            env.insert("AL3_ANSWERS", "");
        else
            env.remove("AL3_ANSWERS");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        runner.setProcessEnvironment(env);
        runner.start(QString::fromStdString(program.string()), {});
        ASSERT_TRUE(runner.waitForStarted());
    }
    void TearDown() override {
        if (runner.state() != QProcess::NotRunning) {
            runner.kill();
            runner.waitForFinished();
        }
    }
    // Reads what the runner said while the condition is awaited.
    bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
        return support::eventually(
            [&] {
                runner.waitForReadyRead(1);
                said += runner.readAllStandardError().toStdString();
                return condition();
            },
            timeout);
    }

    QProcess runner;
    std::string said;
};

TEST_F(BatchRunner, StartsDroppedFilesAtEveryPollOnceTheFolderAppearsAndLeavesThemAlone) {
    std::this_thread::sleep_for(1s);  // polling a folder that is not there yet
    const fs::path folder = drive.root() / "Vantremo" / "Aerolune" / "RLT";
    const fs::path marker = drive.root() / "ran.txt", other = drive.root() / "other.txt";
    support::writeWindowsFile(folder / "AL3_Relaytone_Job.bat", "echo job >> '" + marker.string() + "'\n");
    support::writeWindowsFile(folder / "Other.bat", "echo other >> '" + other.string() + "'\n");
    fs::create_directories(folder / "AL3_Relaytone_dir.bat");
    const std::string bytes = support::readBytes(folder / "AL3_Relaytone_Job.bat");

    ASSERT_TRUE(eventually([&] { return linesIn(marker) >= 3; }, 20s)) << said;
    EXPECT_EQ(support::readBytes(marker).substr(0, 8), "job\njob\n") << "run without carriage returns";
    const std::string path = "C:\\Vantremo\\Aerolune\\RLT\\AL3_Relaytone_Job.bat";
    EXPECT_NE(said.find("[dialog] AL3_Relaytone_API | FichierBatch: Avant: " + path +
                        " | ok\n"
                        "[dialog] AL3_Relaytone_API | FichierBatch: Après: " +
                        path + " | ok\n"),
              std::string::npos)
        << said;
    EXPECT_FALSE(fs::exists(other));
    EXPECT_EQ(support::readBytes(folder / "AL3_Relaytone_Job.bat"), bytes);
    EXPECT_TRUE(fs::is_directory(folder / "AL3_Relaytone_dir.bat"));

    fs::remove(folder / "AL3_Relaytone_Job.bat");
    EXPECT_TRUE(eventually([&] { return zombieChildrenOf(runner.processId()) == 0; }, 5s))
        << "started batch files are collected";
}

TEST_F(BatchRunner, TerminationClosesWithoutTheQuitQuestion) {
    // A signal before the runner listens for it would end it the system's way, not its own.
    ASSERT_TRUE(eventually([&] { return catchesSignal(runner.processId(), SIGTERM); }, 20s)) << said;
    ::kill(pid_t(runner.processId()), SIGTERM);
    ASSERT_TRUE(runner.waitForFinished(10000));
    EXPECT_EQ(runner.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(runner.exitCode(), 0);
    said += runner.readAllStandardError().toStdString();
    EXPECT_EQ(said.find("Voulez-vous quitter"), std::string::npos) << said;
}

// Nobody answers: the boxes are on screen, each in its own nested event loop.
class BatchRunnerOnScreen : public BatchRunner {
protected:
    bool scripted() const override { return false; }
};

TEST_F(BatchRunnerOnScreen, AStopWhileTheBeforeBoxIsOpenStartsNoBatchFileAndExitsCleanly) {
    const fs::path folder = drive.root() / "Vantremo" / "Aerolune" / "RLT";
    const fs::path marker = drive.root() / "ran.txt";
    for (const char* name : {"AL3_Relaytone_A.bat", "AL3_Relaytone_B.bat"})
        support::writeWindowsFile(folder / name, "echo ran >> '" + marker.string() + "'\n");
    // Many poll periods: the first "Avant" box is up and waits for its OK.
    ASSERT_FALSE(eventually([&] { return fs::exists(marker); }, 2s)) << said;

    ::kill(pid_t(runner.processId()), SIGTERM);
    ASSERT_TRUE(runner.waitForFinished(10000));
    EXPECT_EQ(runner.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(runner.exitCode(), 0);
    said += runner.readAllStandardError().toStdString();
    EXPECT_NE(
        said.find(
            "Warning: Stop by signal: open box closed with its default answer (ok): AL3_Relaytone_API | "
            "FichierBatch: Avant: C:\\Vantremo\\Aerolune\\RLT\\AL3_Relaytone_"),
        std::string::npos)
        << said;
    EXPECT_EQ(said.find("Après"), std::string::npos) << said;
    std::this_thread::sleep_for(500ms);  // a batch file started at the end would have run by now
    EXPECT_FALSE(fs::exists(marker)) << support::readBytes(marker);
}
