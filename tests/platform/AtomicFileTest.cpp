// Whole-file replacement and copies: durable, and what a writer ended halfway leaves is cleaned.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/AtomicFile.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace fs = std::filesystem;
namespace atomicfile = platform::atomicfile;

namespace {

// The number of a process that has ended.
pid_t endedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

class AtomicFile : public support::SiteTest {};

TEST_F(AtomicFile, OnlyTheTemporariesOfEndedWritersFromBeforeThisRunAreRemoved) {
    const std::string ended = std::to_string(endedProcess());
    const std::string running = std::to_string(::getppid());
    const std::string ours = std::to_string(::getpid());
    enum Age { Old, Fresh };
    struct Case {
        std::string name;
        Age age;
        bool removed;
    };
    const Case cases[] = {
        {".AL3_Relaytone.Ini." + ended + ".3.tmp", Old, true},
        {".Global.xls." + ended + ".1.tmp", Old, true},
        {".Global.xls." + ours + ".7.tmp", Old, true},  // an earlier process had our number
        {".20261210.Log.copy-3125117342", Old, true},   // an earlier version's copy
        {".Global.xls." + running + ".1.tmp", Old, false},
        {".Global.xls." + ended + ".2.tmp", Fresh, false},
        {".20261210.Log.copy-77", Fresh, false},
        {"Global.xls." + ended + ".1.tmp", Old, false},
        {".Global.xls." + ended + ".tmp", Old, false},
        {".Global.xls." + ended + ".x1.tmp", Old, false},
        {".Global.xls.-" + ended + ".1.tmp", Old, false},
        {"." + ended + ".1.tmp", Old, false},
        {".Global.xls.copy-", Old, false},
        {"notes.tmp", Old, false},
    };
    const fs::path folder = drive.root() / "Settings";
    fs::create_directories(folder);
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(2);
    const auto later = fs::file_time_type::clock::now() + std::chrono::hours(1);
    for (const Case& c : cases) {
        std::ofstream(folder / c.name) << "half a file";
        fs::last_write_time(folder / c.name, c.age == Old ? longAgo : later);
    }
    fs::create_directory(folder / (".Folder." + ended + ".1.tmp"));
    fs::last_write_time(folder / (".Folder." + ended + ".1.tmp"), longAgo);
    fs::create_symlink(folder / "notes.tmp", folder / (".Link." + ended + ".1.tmp"));

    std::vector<fs::path> failed;
    const std::vector<fs::path> removed = atomicfile::removeLeftovers(folder, failed);
    EXPECT_TRUE(failed.empty());
    size_t expected = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(fs::exists(folder / c.name), !c.removed) << c.name;
        if (c.removed) {
            ++expected;
            EXPECT_NE(std::find(removed.begin(), removed.end(), folder / c.name), removed.end()) << c.name;
        }
    }
    EXPECT_EQ(removed.size(), expected);
    EXPECT_TRUE(fs::is_directory(folder / (".Folder." + ended + ".1.tmp")));
    EXPECT_TRUE(fs::is_symlink(folder / (".Link." + ended + ".1.tmp")));

    EXPECT_TRUE(atomicfile::removeLeftovers(drive.root() / "NoSuchFolder", failed).empty());
}

TEST_F(AtomicFile, ACopyLandsWholeUnderItsNameAndLeavesNoTemporary) {
    const fs::path source = drive.root() / "a.xls", target = drive.root() / "b.xls";
    std::string bytes(70000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7);
    std::ofstream(source, std::ios::binary) << bytes;
    std::ofstream(target, std::ios::binary) << "older";
    ASSERT_EQ(atomicfile::copy(source, target), 0);
    EXPECT_TRUE(support::readBytes(target) == bytes);
    EXPECT_EQ(atomicfile::copy(drive.root() / "missing.xls", target), ENOENT);
    EXPECT_TRUE(support::readBytes(target) == bytes);
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(drive.root())) ++files;
    EXPECT_EQ(files, 2u);
}

}  // namespace
