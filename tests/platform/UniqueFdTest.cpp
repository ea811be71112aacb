// The owned descriptor: closed once by its last holder, never twice, errno left as it was.
#include <gtest/gtest.h>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

#include "platform/UniqueFd.h"

namespace {

using platform::UniqueFd;

bool isOpen(int fd) { return ::fcntl(fd, F_GETFD) != -1; }

struct Pipe {
    Pipe() { EXPECT_EQ(::pipe2(ends, O_CLOEXEC), 0); }
    int ends[2] = {-1, -1};
};

// After each close the number is given to a fresh descriptor: a holder that closed it again
// would close that one.
TEST(UniqueFd, MovesHandTheDescriptorOnAndOnlyTheLastHolderClosesIt) {
    const Pipe pipe;
    const int first = pipe.ends[0], second = pipe.ends[1];
    UniqueFd moved(first);
    UniqueFd holder(std::move(moved));
    EXPECT_FALSE(moved);
    EXPECT_EQ(holder.get(), first);

    UniqueFd other(second);
    other = std::move(holder);  // its own descriptor goes
    EXPECT_FALSE(isOpen(second));
    EXPECT_TRUE(isOpen(first));
    ASSERT_EQ(::dup2(first, second), second);
    const UniqueFd reusesSecond(second);

    other.reset();
    EXPECT_FALSE(isOpen(first));
    ASSERT_EQ(::dup2(second, first), first);
    const UniqueFd reusesFirst(first);
    moved.reset();
    holder.reset();
    other.reset();
    EXPECT_TRUE(isOpen(first)) << "a holder that gave its descriptor away closed it";
    EXPECT_TRUE(isOpen(second));
}

// The close must fail for errno to be at stake: the number is closed behind the holder's back.
TEST(UniqueFd, ResetKeepsTheCallersErrnoAndCloseReportsTheFailure) {
    const Pipe pipe;
    UniqueFd toReset(pipe.ends[0]), toClose(pipe.ends[1]);
    ASSERT_EQ(::close(pipe.ends[0]), 0);
    ASSERT_EQ(::close(pipe.ends[1]), 0);
    errno = ENOSPC;
    toReset.reset();
    EXPECT_EQ(errno, ENOSPC) << "the close must not hide the failure being handled";
    EXPECT_FALSE(toClose.close());
    EXPECT_EQ(errno, EBADF);
    EXPECT_FALSE(toClose);

    const Pipe fresh;
    UniqueFd reader(fresh.ends[0]), writer(fresh.ends[1]);
    EXPECT_TRUE(writer.close());
    EXPECT_FALSE(isOpen(fresh.ends[1]));
}

}  // namespace
