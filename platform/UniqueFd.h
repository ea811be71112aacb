// An owned file descriptor: closed once, by whoever holds it last, leaving errno as it was.
#pragma once

#include <cerrno>
#include <utility>

#include <unistd.h>

namespace platform {

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    [[nodiscard]] int release() { return std::exchange(fd_, -1); }
    // What a close here may report is dropped: the failure the caller is handling is in errno.
    void reset(int fd = -1) {
        if (fd_ >= 0) {
            const int saved = errno;
            ::close(fd_);
            errno = saved;
        }
        fd_ = fd;
    }
    // For a file just written: the close may be the first to report that the bytes are lost.
    [[nodiscard]] bool close() { return ::close(release()) == 0; }

private:
    int fd_ = -1;
};

}  // namespace platform
