// Starting programs, documents and batch files from argument lists; exit codes and waits.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>

#include "platform/process/Process.h"
#include "platform/process/RuntimeFolder.h"
#include "tests/support/Programs.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace proc = platform::process;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

class Start : public support::SiteTest {
protected:
    proc::Started startStub(std::vector<std::string> arguments) {
        return proc::start({support::stubProgram().string(), std::move(arguments), ""});
    }
};

TEST_F(Start, ExitCodesComeBackAfterTheWait) {
    const struct {
        std::vector<std::string> args;
        int32_t code;
    } cases[] = {{{"--exit=0"}, 0}, {{"--exit=7"}, 7}, {{"--exit=255"}, 255}, {{"--sleep-ms=50"}, 0}};
    for (const auto& c : cases) {
        const proc::Started started = startStub(c.args);
        ASSERT_TRUE(started.ok()) << started.reason;
        EXPECT_GT(proc::shellCode(started), 32);
        EXPECT_EQ(proc::waitForExit(started.pid, 10s), c.code) << c.args[0];
        EXPECT_EQ(proc::exitCode(started.pid), c.code) << "the code stays readable";
    }
}

TEST_F(Start, WaitEndsWithStillActiveAtTheTimeOutOrWhenTold) {
    const proc::Started started = startStub({"--sleep-ms=1500"});
    ASSERT_TRUE(started.ok());
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(proc::waitForExit(started.pid, 300ms), proc::StillActive);
    const auto waited = std::chrono::steady_clock::now() - begin;
    EXPECT_GE(waited, 300ms);
    EXPECT_LT(waited, 1200ms);

    int asked = 0;
    EXPECT_EQ(proc::waitForExit(started.pid, -1ms, [&] { return ++asked < 3; }), proc::StillActive);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(proc::waitForExit(started.pid, -1ms), 0);
}

TEST_F(Start, ArgumentsAndFolderNamesWithBlanksAndShellCharactersPassUntouched) {
    const fs::path folder = drive.root() / "Program Files; $(touch pwned)" / "a`b'c";
    const fs::path stub = support::copyProgram(support::stubProgram(), folder, "my stub");
    ::setenv("AL3_STUB_RECORD", "1", 1);
    const std::vector<std::string> args{"two words", "$(touch pwned)", "a;b|c&&d", "\"quoted\"", "*", ""};
    const std::string windowsPath = "C:\\Program Files; $(touch pwned)\\a`b'c\\my stub";
    const proc::Started started = proc::start({windowsPath, args, "C:\\"});
    ASSERT_TRUE(started.ok()) << started.reason;
    ASSERT_TRUE(support::eventually([&] { return !support::stubStarts(stub).empty(); }, 5s));
    const auto starts = support::stubStarts(stub);
    EXPECT_EQ(starts[0].pid, started.pid);
    // The empty last argument leaves no field behind its tab.
    EXPECT_EQ(starts[0].arguments, std::vector<std::string>(args.begin(), args.end() - 1));
    EXPECT_FALSE(fs::exists(drive.root() / "pwned"));
    EXPECT_TRUE(proc::endProcess(started.pid, 1s));
}

TEST_F(Start, BatchFileRunsUnderShFromACopyWithoutCarriageReturns) {
    const fs::path marker = drive.root() / "marker.txt";
    const fs::path batch = drive.host("C:\\") / "Vantremo" / "R T" / "AL3_Relaytone job.BAT";
    support::writeWindowsFile(batch,
                              "printf '%s|%s\\n' \"$1\" \"été\" > '" + marker.string() + "'\nexit 4\n");
    const std::string before = support::readBytes(batch);

    const proc::Started started = proc::start({"c:\\vantremo\\r t\\al3_relaytone job.bat", {"one arg"}, ""});
    ASSERT_TRUE(started.ok()) << started.reason;
    EXPECT_EQ(proc::waitForExit(started.pid, 10s), 4);
    EXPECT_EQ(support::readBytes(marker), "one arg|été\n");
    EXPECT_EQ(support::readBytes(batch), before) << "the dropped file is never touched";
    for (const auto& entry : fs::directory_iterator(proc::runtimeFolder()))
        EXPECT_FALSE(entry.path().filename().string().starts_with("batch-")) << "scratch copy left";
}

TEST_F(Start, FailuresCarryTheShellCodes) {
    fs::create_directories(drive.root() / "Folder");
    std::ofstream(drive.root() / "Folder" / "garbage") << "\x7f"
                                                          "ELF not really";
    fs::permissions(drive.root() / "Folder" / "garbage", fs::perms::owner_all);
    std::ofstream(drive.root() / "Folder" / "notes.txt") << "text";
    ::setenv("PATH", (drive.root() / "nothing-here").c_str(), 1);
    const struct {
        std::string file;
        std::string folder;
        int32_t code;
    } cases[] = {
        {"C:\\Folder\\missing.exe", "", 2},
        {"C:\\NoFolder\\missing.exe", "", 3},
        {"C:\\Folder\\garbage", "", 11},
        {"C:\\Folder\\notes.txt", "", 31},
        {"https://example.invalid/", "", 31},
        {support::stubProgram().string(), "C:\\NoFolder", 3},
        {"", "", 2},
    };
    for (const auto& c : cases) {
        const proc::Started started = proc::start({c.file, {}, c.folder});
        EXPECT_FALSE(started.ok()) << c.file;
        EXPECT_EQ(proc::shellCode(started), c.code) << c.file << ": " << started.reason;
        EXPECT_FALSE(started.reason.empty());
    }
}

TEST_F(Start, DocumentsGoToTheDesktopOpener) {
    const fs::path tools = drive.root() / "tools";
    const fs::path seen = drive.root() / "opened.txt";
    fs::create_directories(tools);
    std::ofstream(tools / "xdg-open") << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << seen.string() << "'\n";
    fs::permissions(tools / "xdg-open", fs::perms::owner_all);
    ::setenv("PATH", tools.c_str(), 1);
    std::ofstream(drive.root() / "Read me.txt") << "text";

    const proc::Started document = proc::start({"C:\\read ME.txt", {}, ""});
    ASSERT_TRUE(document.ok()) << document.reason;
    EXPECT_EQ(proc::waitForExit(document.pid, 10s), 0);
    EXPECT_EQ(support::readBytes(seen), (drive.root() / "Read me.txt").string() + "\n");

    const proc::Started url = proc::start({"https://example.invalid/a b", {}, ""});
    ASSERT_TRUE(url.ok()) << url.reason;
    EXPECT_EQ(proc::waitForExit(url.pid, 10s), 0);
    EXPECT_EQ(support::readBytes(seen), "https://example.invalid/a b\n");
}

TEST_F(Start, EndedChildrenAreReapedAndEndProcessTerminates) {
    std::vector<proc::Pid> pids;
    for (int i = 0; i < 3; ++i) pids.push_back(startStub({"--exit=0"}).pid);
    const proc::Started sleeper = startStub({});
    ASSERT_TRUE(sleeper.ok());
    ASSERT_TRUE(support::eventually(
        [&] {
            proc::reapFinished();
            for (proc::Pid pid : pids)
                if (fs::exists("/proc/" + std::to_string(pid))) return false;
            return true;
        },
        10s))
        << "an ended child stays a zombie";

    EXPECT_EQ(proc::exitCode(sleeper.pid), proc::StillActive);
    EXPECT_TRUE(proc::endProcess(sleeper.pid, 2s));
    EXPECT_EQ(proc::exitCode(sleeper.pid), 128 + SIGTERM);
    EXPECT_EQ(proc::exitCode(999999999), 0) << "a process that cannot be followed";
}
