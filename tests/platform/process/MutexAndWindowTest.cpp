// The named mutex and the window lookup, between real processes of one install and C: root.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <signal.h>

#include "platform/process/NamedMutex.h"
#include "platform/process/RuntimeFolder.h"
#include "platform/process/WindowLookup.h"
#include "tests/support/Programs.h"
#include "tests/support/TempSite.h"

namespace proc = platform::process;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The stub holding a title or a mutex; its first line of output says how it went.
class Holder {
public:
    Holder(const std::string& option, const fs::path& driveC) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("AL3_DRIVE_C", QString::fromStdString(driveC.string()));
        process_.setProcessEnvironment(env);
        process_.start(QString::fromStdString(support::stubProgram().string()),
                       {QString::fromStdString(option)});
        process_.waitForStarted();
        process_.waitForReadyRead(10000);
        firstLine_ = process_.readLine().trimmed().toStdString();
    }
    ~Holder() {
        process_.kill();
        process_.waitForFinished();
    }
    const std::string& firstLine() const { return firstLine_; }
    QProcess& process() { return process_; }
    proc::Pid pid() const { return proc::Pid(process_.processId()); }

private:
    QProcess process_;
    std::string firstLine_;
};

}  // namespace

class MutexAndWindow : public support::SiteTest {};

TEST_F(MutexAndWindow, MutexExistsWhileAnyHolderLives) {
    {
        proc::NamedMutex first("Aerolune 3.4");
        ASSERT_TRUE(first.isOpen());
        EXPECT_FALSE(first.alreadyExisted());
        proc::NamedMutex second("Aerolune 3.4");
        EXPECT_TRUE(second.alreadyExisted());
        EXPECT_FALSE(proc::NamedMutex("Aerolune 3.5").alreadyExisted());
        Holder sameRoot("--mutex=Aerolune 3.4", drive.root());
        EXPECT_EQ(sameRoot.firstLine(), "existed");
        Holder otherRoot("--mutex=Aerolune 3.4", drive.root() / "other");
        EXPECT_EQ(otherRoot.firstLine(), "new") << "another C: root is another site";
    }
    Holder afterwards("--mutex=Aerolune 3.4", drive.root());
    EXPECT_EQ(afterwards.firstLine(), "new");
    EXPECT_TRUE(proc::NamedMutex("Aerolune 3.4").alreadyExisted());
}

TEST_F(MutexAndWindow, FindsAnotherCopysWindowNeverItsOwnAndAsksItToQuit) {
    const std::string title = "Aerolune: Relaytone - 1.0 - Radio Été";
    proc::TitledWindow own(title, [] {});
    ASSERT_TRUE(own.isListening());
    EXPECT_FALSE(proc::findWindow(title)) << "its own window is not a previous copy";

    Holder elsewhere("--title=" + title, drive.root() / "other");
    Holder older("--title=" + title, drive.root());
    ASSERT_EQ(older.firstLine(), "listening");
    const auto found = proc::findWindow(title);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->pid, older.pid());
    EXPECT_EQ(found->handle, older.pid());
    EXPECT_FALSE(proc::findWindow("Aerolune: Relaytone"));

    EXPECT_TRUE(proc::postQuit(*found));
    ASSERT_TRUE(older.process().waitForFinished(10000)) << "asked to quit, it is gone";
    EXPECT_EQ(older.process().exitCode(), 0);
    EXPECT_FALSE(proc::findWindow(title));
    EXPECT_EQ(elsewhere.process().state(), QProcess::Running);
}

TEST_F(MutexAndWindow, AWindowLeftByAKilledProcessIsNotFound) {
    const std::string title = "Relaytone Launcher";
    Holder killed("--title=" + title, drive.root());
    ASSERT_EQ(killed.firstLine(), "listening");
    ::kill(killed.process().processId(), SIGKILL);
    killed.process().waitForFinished();
    EXPECT_FALSE(proc::findWindow(title));
    for (const auto& entry : fs::directory_iterator(proc::runtimeFolder()))
        EXPECT_FALSE(entry.path().filename().string().starts_with("w-")) << "stale endpoint kept";
}
