// The day's file on a small file system that fills up: lines wait, bounded, without a try for
// each new line, and when room comes back the newest lines that fit go in with one line that
// tells what was lost.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <regex>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include "tests/foundation/DailyLogFixture.h"

using Lib_Public::TraceLog;
using namespace dailylogtest;

namespace {

// The log folder as a file system of its own, 1 MiB, and a filler file that takes its room.
class DailyLogFullDisk : public DailyLog {
protected:
    void SetUp() override {
        DailyLog::SetUp();
        fs::create_directories(logFolder());
        if (::mount("tmpfs", logFolder().c_str(), "tmpfs", 0, "size=1m") != 0)
            GTEST_SKIP() << "cannot mount a small tmpfs for the log folder (" << std::strerror(errno)
                         << "): the full-disk cases need root";
        mounted_ = true;
        loadSettings();
    }
    void TearDown() override {
        if (mounted_) ::umount2(logFolder().c_str(), MNT_DETACH);
        DailyLog::TearDown();
    }

    // Fills what is left of the file system.
    void fill() {
        const int fd = ::open((logFolder() / "filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        ASSERT_GE(fd, 0);
        const std::string block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {}
        ::close(fd);
    }
    // Gives back that much room.
    void freeRoom(off_t bytes) {
        const fs::path filler = logFolder() / "filler";
        fs::resize_file(filler, fs::file_size(filler) - uintmax_t(bytes));
    }

private:
    bool mounted_ = false;
};

}  // namespace

TEST_F(DailyLogFullDisk, WhenRoomComesBackTheNewestLinesGoInAndOneLineTellsWhatWasLost) {
    TraceLog(-1, -1, -1, "first");
    fill();
    // The day's file takes lines until its last block is full.
    for (int i = 0; windows.engine.mails.empty() && i < 1000; ++i) TraceLog(-1, -1, -1, "filling");
    ASSERT_EQ(windows.engine.mails.size(), 1u);  // the failure, reported once
    const std::vector<std::string> before = fileLines("20240301");
    const uintmax_t sizeBefore = fs::file_size(logFolder() / "20240301.Log");
    for (int i = 0; i < 3000; ++i) {
        advance(1);
        TraceLog(-1, -1, -1, "waiting line " + std::to_string(i));
    }
    EXPECT_EQ(fileLines("20240301"), before);
    EXPECT_EQ(windows.engine.mails.size(), 1u);
    EXPECT_EQ(countContaining(copyOf(logbuffers::fileBuffer()), "Err: 61 (Disk full"), 1u);

    // Room again, but the file is tried again only a second after it refused a write.
    freeRoom(64 * 1024);
    TraceLog(-1, -1, -1, "within the second");
    EXPECT_EQ(fileLines("20240301"), before);
    const std::vector<std::string> waiting = copyOf(logbuffers::fileBuffer());
    advance(1000);
    TraceLog(-1, -1, -1, "room again");
    EXPECT_TRUE(logbuffers::fileBuffer().empty());

    // After what was there: the line for the lost ones, then the newest lines, those that fit.
    const std::vector<std::string> lines = fileLines("20240301");
    ASSERT_GE(lines.size(), before.size() + 2);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + ptrdiff_t(before.size())), before);
    const std::string loss = lines[before.size()];
    const std::vector<std::string> kept(lines.begin() + ptrdiff_t(before.size()) + 1, lines.end());
    ASSERT_LE(kept.size(), waiting.size());
    EXPECT_TRUE(kept.back().ends_with(":room again"));
    const size_t lost = waiting.size() + 1 - kept.size();
    EXPECT_EQ(std::vector<std::string>(kept.begin(), kept.end() - 1),
              std::vector<std::string>(waiting.begin() + ptrdiff_t(lost), waiting.end()));
    const std::string expected = "Warning: Log: Disk full: " + std::to_string(lost) + " lines lost, from " +
                                 waiting.front().substr(0, 12) + " to " + waiting[lost - 1].substr(0, 12);
    EXPECT_TRUE(loss.ends_with(expected)) << loss << "\n" << expected;
    EXPECT_TRUE(std::regex_search(loss, std::regex(R"(^\d\d:\d\d:\d\d:\d\d\d :)"))) << loss;
    // Half the room came back into use; the other half takes the next lines at once.
    EXPECT_LE(fs::file_size(logFolder() / "20240301.Log") - sizeBefore, 32u * 1024);
    TraceLog(-1, -1, -1, "next");
    EXPECT_EQ(fileTexts("20240301").back(), "next");
    EXPECT_EQ(windows.engine.mails.size(), 1u);
}
