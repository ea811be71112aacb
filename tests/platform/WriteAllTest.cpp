// Writing a whole buffer: through interrupted and short writes, and the outcome of a refusal.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <functional>
#include <string>
#include <thread>

#include <fcntl.h>
#include <pthread.h>
#include <sys/time.h>
#include <unistd.h>

#include "platform/UniqueFd.h"
#include "platform/WriteAll.h"
#include "tests/support/TempSite.h"

namespace {

using platform::UniqueFd;
using platform::WriteOutcome;

std::atomic<int> alarms = 0;

// A timer signal without SA_RESTART cuts a blocking write to a full pipe short, or fails it with
// EINTR before any byte went in; a slow reader keeps the pipe full.
TEST(WriteAll, GoesOnThroughInterruptedAndShortWritesUntilEveryByteIsIn) {
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
    UniqueFd reader(ends[0]), writer(ends[1]);
    std::string bytes(8 * 1024 * 1024 + 7, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i % 251);

    sigset_t alarm;
    sigemptyset(&alarm);
    sigaddset(&alarm, SIGALRM);
    ASSERT_EQ(::pthread_sigmask(SIG_BLOCK, &alarm, nullptr), 0);  // the reader inherits the block
    std::string received;
    std::thread drain([&] {
        char chunk[4096];
        for (ssize_t n; (n = ::read(reader.get(), chunk, sizeof chunk)) > 0;) {
            received.append(chunk, size_t(n));
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        }
    });
    ::pthread_sigmask(SIG_UNBLOCK, &alarm, nullptr);
    struct sigaction action {
    }, previous{};
    action.sa_handler = [](int) { ++alarms; };
    ::sigaction(SIGALRM, &action, &previous);
    alarms = 0;
    const itimerval every{{0, 500}, {0, 500}}, stopped{};
    ::setitimer(ITIMER_REAL, &every, nullptr);

    const WriteOutcome outcome = platform::writeAll(writer.get(), bytes);
    ::setitimer(ITIMER_REAL, &stopped, nullptr);
    ::sigaction(SIGALRM, &previous, nullptr);
    writer.reset();
    drain.join();
    EXPECT_GT(alarms, 0) << "no write was interrupted";
    EXPECT_TRUE(outcome) << outcome.error;
    EXPECT_EQ(outcome.written, bytes.size());
    EXPECT_EQ(received, bytes);
}

TEST(WriteAll, AtAPositionLeavesTheFileOffsetWhereItWas) {
    const support::TempDriveC site;
    const std::string path = (site.root() / "at.bin").string();
    const UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    ASSERT_TRUE(fd);
    ASSERT_TRUE(platform::writeAll(fd.get(), "abcdef"));
    ASSERT_TRUE(platform::writeAllAt(fd.get(), "XY", 2));
    EXPECT_EQ(::lseek(fd.get(), 0, SEEK_CUR), 6);
    char back[7] = {};
    ASSERT_EQ(::pread(fd.get(), back, 6, 0), 6);
    EXPECT_STREQ(back, "abXYef");
}

TEST(WriteAll, ARefusalReportsItsErrnoAndTheBytesThatWentInBeforeIt) {
    const support::TempDriveC site;
    const std::string path = (site.root() / "read-only.bin").string();
    const UniqueFd readOnly(::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600));
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_NONBLOCK | O_CLOEXEC), 0);
    const UniqueFd fullReader(ends[0]), full(ends[1]);
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
    const UniqueFd unread(ends[1]);
    ::close(ends[0]);
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    const std::string bytes(4 * 1024 * 1024, 'x');  // more than any pipe holds

    struct Case {
        const char* what;
        std::function<WriteOutcome()> write;
        int error;
        bool partly;  // some bytes went in first
    } const cases[] = {
        {"a full non-blocking pipe", [&] { return platform::writeAll(full.get(), bytes); }, EAGAIN, true},
        {"a pipe nobody reads", [&] { return platform::writeAll(unread.get(), bytes); }, EPIPE, false},
        {"a file opened for reading", [&] { return platform::writeAllAt(readOnly.get(), bytes, 0); }, EBADF,
         false},
        {"no descriptor", [&] { return platform::writeAll(-1, bytes); }, EBADF, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const WriteOutcome outcome = c.write();
        EXPECT_FALSE(outcome);
        EXPECT_EQ(outcome.error, c.error);
        if (c.partly) {
            EXPECT_GT(outcome.written, 0u);
            EXPECT_LT(outcome.written, bytes.size());
        } else {
            EXPECT_EQ(outcome.written, 0u);
        }
    }
    std::signal(SIGPIPE, previous);
}

}  // namespace
