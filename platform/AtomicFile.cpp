// Temporary file, fsync, rename; flock on the folder.
#include "platform/AtomicFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::atomicfile {

FolderLock::FolderLock(const std::filesystem::path& folder)
    : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ >= 0) ::flock(fd_, LOCK_EX);
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
}

Result replace(const std::filesystem::path& target, const std::string& bytes, mode_t mode) {
    static int serial = 0;
    const std::filesystem::path temporary =
        target.parent_path() / ("." + target.filename().string() + "." + std::to_string(::getpid()) +
                                "." + std::to_string(++serial) + ".tmp");
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return errno == EACCES || errno == EROFS ? Result::AccessDenied : Result::IoError;
    bool ok = ::fchmod(fd, mode) == 0;
    for (size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += size_t(n);
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temporary.c_str(), target.c_str()) == 0) return Result::Written;
    ::unlink(temporary.c_str());
    return Result::IoError;
}

Result rewriteInPlace(const std::filesystem::path& target, const std::string& bytes) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return errno == EACCES || errno == EROFS ? Result::AccessDenied : Result::IoError;
    bool ok = true;
    for (size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, off_t(done));
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += size_t(n);
    }
    ok = ok && ::ftruncate(fd, off_t(bytes.size())) == 0;
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    return ok ? Result::Written : Result::IoError;
}

bool folderTakesNewFiles(const std::filesystem::path& folder) {
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) &&
           ::access(folder.c_str(), W_OK) == 0;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool readAll(const std::filesystem::path& path, std::string& out) {
    // Non-blocking open, so that a named pipe in a file's place is refused instead of waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        errno = error;
        return false;
    }
    std::string bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            errno = error;
            return false;
        }
        if (n == 0) break;
        bytes.append(chunk, size_t(n));
    }
    ::close(fd);
    out = std::move(bytes);
    return true;
}

}  // namespace platform::atomicfile
