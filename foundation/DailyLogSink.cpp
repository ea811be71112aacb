// The open log file: its name checked again at most once a second, appends taken back on failure.
#include "foundation/DailyLogSink.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Clock.h"
#include "platform/WinPath.h"

namespace dailylog::sink {
namespace {
namespace fs = std::filesystem;

constexpr uint64_t kIdentityCheckMs = 1000;

// The file stays open between writes. A file deleted, replaced or moved away meanwhile is
// opened again by its name, found within a second; a failed write opens it again at once.
class OpenFile {
public:
    // The open descriptor of the file, or -errno.
    int descriptorFor(const fs::path& file) {
        const uint64_t now = platform::clock::tick64();
        if (fd_ >= 0 && path_ == file) {
            if (now >= checkedAt_ && now - checkedAt_ < kIdentityCheckMs) return fd_;
            if (stillNamed(file)) {
                checkedAt_ = now;
                return fd_;
            }
        }
        close();
        // A pipe or device in the file's place would hold the open, or take the lines away.
        fd_ = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
        if (fd_ < 0) return -errno;
        struct stat opened {};
        if (::fstat(fd_, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            close();
            return -ENXIO;
        }
        path_ = file;
        checkedAt_ = now;
        return fd_;
    }

    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    // Whether the name still leads to the open file.
    bool stillNamed(const fs::path& file) const {
        struct stat open {}, named {};
        return ::fstat(fd_, &open) == 0 && ::stat(file.c_str(), &named) == 0 &&
               open.st_dev == named.st_dev && open.st_ino == named.st_ino;
    }

    fs::path path_;
    int fd_ = -1;
    uint64_t checkedAt_ = 0;
};

OpenFile& openFile() {
    static OpenFile file;
    return file;
}

// The host path of a log file, resolved again when the name or the drive mapping changes.
class HostName {
public:
    const fs::path& of(const std::string& fileName, bool resolveAgain) {
        if (resolveAgain || !same(fileName)) {
            name_ = fileName;
            driveC_ = text(std::getenv("AL3_DRIVE_C"));
            home_ = text(std::getenv("HOME"));
            drives_ = text(std::getenv("AL3_DRIVES"));
            host_ = platform::winpath::toHost(fileName);
            if (host_.empty()) name_.clear();
        }
        return host_;
    }

private:
    static std::string text(const char* value) { return value ? value : ""; }
    static bool equal(const std::string& kept, const char* value) {
        return std::strcmp(kept.c_str(), value ? value : "") == 0;
    }
    bool same(const std::string& fileName) const {
        return !name_.empty() && name_ == fileName && equal(driveC_, std::getenv("AL3_DRIVE_C")) &&
               equal(home_, std::getenv("HOME")) && equal(drives_, std::getenv("AL3_DRIVES"));
    }

    std::string name_, driveC_, home_, drives_;
    fs::path host_;
};

}  // namespace

Outcome append(const std::string& fileName, const std::string& bytes, bool resolveAgain) {
    static HostName host;
    const fs::path& path = host.of(fileName, resolveAgain);
    if (path.empty()) return {ENOENT, 0};
    OpenFile& file = openFile();
    const int fd = file.descriptorFor(path);
    if (fd < 0) return {-fd, 0};
    Outcome outcome;
    while (outcome.written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + outcome.written, bytes.size() - outcome.written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            outcome.error = n < 0 ? errno : EIO;
            break;
        }
        outcome.written += size_t(n);
    }
    if (outcome.error) {
        // Appending leaves the offset at the end of what went in.
        const off_t end = outcome.written ? ::lseek(fd, 0, SEEK_CUR) : -1;
        if (end >= off_t(outcome.written)) (void)::ftruncate(fd, end - off_t(outcome.written));
        file.close();
    }
    return outcome;
}

}  // namespace dailylog::sink
