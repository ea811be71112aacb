// Ending by image name reaches only this user's copies in the caller's own program folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/WinPath.h"
#include "platform/process/ImageName.h"
#include "tests/support/Programs.h"
#include "tests/support/TempSite.h"

namespace proc = platform::process;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The process has set SIGTERM aside (its "SigIgn" mask in /proc).
bool ignoresTerm(proc::Pid pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("SigIgn:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1;
    return false;
}

}  // namespace

// A copy of the stub under a name no other test uses, beside the test program itself.
class ImageName : public support::SiteTest {
protected:
    void SetUp() override {
        name = "al3_stub_image_" + std::to_string(::getpid());
        ownCopy = support::copyProgram(support::stubProgram(), platform::winpath::programFolderHost(), name);
        elsewhere = support::copyProgram(support::stubProgram(), drive.root() / "Other Install", name);
    }
    void TearDown() override {
        for (proc::Pid pid : started) proc::endProcess(pid, 0ms);
        std::error_code ec;
        fs::remove(ownCopy, ec);
    }
    proc::Pid run(const fs::path& program, const std::vector<std::string>& arguments = {}) {
        const proc::Started s = proc::start({program.string(), arguments, ""});
        EXPECT_TRUE(s.ok()) << s.reason;
        started.push_back(s.pid);
        return s.pid;
    }
    std::string name;
    fs::path ownCopy, elsewhere;
    std::vector<proc::Pid> started;
};

TEST_F(ImageName, EndsTheCopiesInItsOwnFolderOnly) {
    const proc::Pid first = run(ownCopy), second = run(ownCopy);
    const proc::Pid otherFolder = run(elsewhere);
    const proc::Pid otherName = run(support::stubProgram());
    // exec has happened once /proc names the image
    ASSERT_TRUE(support::eventually([&] { return proc::processesByImageName(name).size() == 2; }, 5s));

    std::vector<proc::Pid> found = proc::processesByImageName(name + ".EXE");
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<proc::Pid>{std::min(first, second), std::max(first, second)}));

    EXPECT_EQ(proc::endByImageName(name + ".exe"), 2);
    EXPECT_EQ(proc::exitCode(first), 137);
    EXPECT_EQ(proc::exitCode(second), 137);
    EXPECT_EQ(proc::exitCode(otherFolder), proc::StillActive);
    EXPECT_EQ(proc::exitCode(otherName), proc::StillActive);
    EXPECT_EQ(proc::endByImageName(name), 0) << "nothing left to end";

    const std::string self = fs::read_symlink("/proc/self/exe").filename().string();
    for (proc::Pid pid : proc::processesByImageName(self)) EXPECT_NE(pid, ::getpid());
}

// The gentle end: asked first, then only those still running the image are killed; a number
// that names another program is never taken for one of them.
TEST_F(ImageName, CopiesAskedToEndAreFollowedByTheirImageAndOnlyTheDeafOnesAreKilled) {
    const proc::Pid obeying = run(ownCopy);
    const proc::Pid deaf = run(ownCopy, {"--ignore-term"});
    const proc::Pid otherName = run(support::stubProgram());
    ASSERT_TRUE(support::eventually([&] { return proc::processesByImageName(name).size() == 2; }, 5s));
    ASSERT_TRUE(support::eventually([&] { return ignoresTerm(deaf); }, 5s));

    std::vector<proc::Pid> asked = proc::askToEndByImageName(name);
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (std::vector<proc::Pid>{std::min(obeying, deaf), std::max(obeying, deaf)}));
    ASSERT_TRUE(support::eventually([&] { return proc::exitCode(obeying) == 128 + SIGTERM; }, 5s));
    EXPECT_EQ(proc::stillRunningImage(name, {obeying, deaf, otherName}), std::vector<proc::Pid>{deaf});

    EXPECT_EQ(proc::killStillRunningImage(name, {obeying, deaf, otherName}), std::vector<proc::Pid>{deaf});
    EXPECT_EQ(proc::exitCode(deaf), 128 + SIGKILL);
    EXPECT_EQ(proc::exitCode(otherName), proc::StillActive);
}

// Another user's copy run from the same folder is not ours to end.
TEST_F(ImageName, AnotherUsersCopyInTheSameFolderIsLeftAlone) {
    if (::geteuid() != 0) GTEST_SKIP() << "starting a copy as another user needs root";
    const pid_t stranger = ::fork();
    if (stranger == 0) {
        if (::setgid(65534) == 0 && ::setuid(65534) == 0)
            ::execl(ownCopy.c_str(), ownCopy.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ASSERT_GT(stranger, 0);
    const fs::path strangerExe = "/proc/" + std::to_string(stranger) + "/exe";
    ASSERT_TRUE(support::eventually(
        [&] {
            std::error_code ec;
            return fs::read_symlink(strangerExe, ec).filename() == name;
        },
        5s));
    const proc::Pid mine = run(ownCopy);
    ASSERT_TRUE(support::eventually([&] { return !proc::processesByImageName(name).empty(); }, 5s));

    EXPECT_EQ(proc::processesByImageName(name), std::vector<proc::Pid>{mine});
    EXPECT_EQ(proc::endByImageName(name), 1);
    EXPECT_EQ(proc::exitCode(mine), 137);
    EXPECT_EQ(::waitpid(stranger, nullptr, WNOHANG), 0) << "the other user's copy still runs";
    ::kill(stranger, SIGKILL);
    ::waitpid(stranger, nullptr, 0);
}
