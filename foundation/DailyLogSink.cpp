// The open log file: its name checked again at most once a second; a batch taken back on failure.
#include "foundation/DailyLogSink.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "platform/UniqueFd.h"
#include "platform/WinPath.h"
#include "platform/WriteAll.h"

namespace dailylog::sink {
namespace {
namespace fs = std::filesystem;

constexpr uint64_t kIdentityCheckMs = 1000;
constexpr size_t kChunk = 64 * 1024;

// The file stays open between writes. A file deleted, replaced or moved away meanwhile is
// opened again by its name, found within a second; a failed write opens it again at once.
class OpenFile {
public:
    // The open descriptor of the file, or -errno.
    int descriptorFor(const fs::path& file) {
        const uint64_t now = platform::clock::tick64();
        if (fd_ && path_ == file) {
            if (now >= checkedAt_ && now - checkedAt_ < kIdentityCheckMs) return fd_.get();
            if (stillNamed(file)) {
                checkedAt_ = now;
                return fd_.get();
            }
        }
        close();
        // A pipe or device in the file's place would hold the open, or take the lines away.
        fd_.reset(::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644));
        if (!fd_) return -errno;
        struct stat opened {};
        if (::fstat(fd_.get(), &opened) != 0 || !S_ISREG(opened.st_mode)) {
            close();
            return -ENXIO;
        }
        path_ = file;
        checkedAt_ = now;
        return fd_.get();
    }

    void close() { fd_.reset(); }

private:
    // Whether the name still leads to the open file.
    bool stillNamed(const fs::path& file) const {
        struct stat open {
        }, named{};
        return ::fstat(fd_.get(), &open) == 0 && ::stat(file.c_str(), &named) == 0 &&
               open.st_dev == named.st_dev && open.st_ino == named.st_ino;
    }

    fs::path path_;
    platform::UniqueFd fd_;
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

bool isAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

void closeFile() { openFile().close(); }

size_t bytesOf(const std::string& line) {
    return (isAscii(line) ? line.size() : platform::cp1252::fromUtf8(line).size()) + 2;
}

Batch::Batch(const std::string& fileName, bool resolveAgain) {
    static HostName host;
    const fs::path& path = host.of(fileName, resolveAgain);
    fd_ = path.empty() ? -ENOENT : openFile().descriptorFor(path);
    if (fd_ < 0) outcome_.error = -fd_;
}

void Batch::addLine(const std::string& line) {
    if (failed()) return;
    // Most lines are plain ASCII.
    if (isAscii(line))
        pending_ += line;
    else
        pending_ += platform::cp1252::fromUtf8(line);
    pending_ += "\r\n";
    if (pending_.size() >= kChunk) writeOut();
}

void Batch::addBytes(const std::string& bytes) {
    if (failed()) return;
    pending_ += bytes;
    if (pending_.size() >= kChunk) writeOut();
}

void Batch::writeOut() {
    const platform::WriteOutcome written = platform::writeAll(fd_, pending_);
    outcome_.written += written.written;
    if (!written) {
        outcome_.error = written.error;
        return;
    }
    pending_.clear();
}

Outcome Batch::finish() {
    if (!failed() && !pending_.empty()) writeOut();
    if (failed() && fd_ >= 0) {
        // Appending leaves the offset at the end of what went in.
        const off_t end = outcome_.written ? ::lseek(fd_, 0, SEEK_CUR) : -1;
        if (end >= off_t(outcome_.written)) (void)::ftruncate(fd_, end - off_t(outcome_.written));
        openFile().close();
    }
    fd_ = -1;
    return outcome_;
}

}  // namespace dailylog::sink
