// Temporary file, fsync, rename; flock on the folder.
#include "platform/AtomicFile.h"

#include <cerrno>
#include <charconv>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/UniqueFd.h"
#include "platform/WriteAll.h"

namespace platform::atomicfile {
namespace {

namespace fs = std::filesystem;

// Taken when the program is loaded: what was written before is not this run's.
const fs::file_time_type kProcessStart = fs::file_time_type::clock::now();

fs::path temporaryFor(const fs::path& target) {
    static int serial = 0;
    return target.parent_path() / ("." + target.filename().string() + "." + std::to_string(::getpid()) + "." +
                                   std::to_string(++serial) + ".tmp");
}

bool syncPath(const fs::path& path, int flags) {
    UniqueFd fd(::open(path.c_str(), flags | O_CLOEXEC));
    if (!fd) return false;
    const bool ok = ::fsync(fd.get()) == 0;
    return fd.close() && ok;
}

bool syncFolder(const fs::path& folder) {
    return syncPath(folder.empty() ? fs::path(".") : folder, O_RDONLY | O_DIRECTORY);
}

bool digits(std::string_view text, long& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

constexpr long kWriterUnknown = -1;

// ".<name>.<pid>.<n>.tmp": the process number; kWriterUnknown for the ".<name>.copy-<n>" of
// earlier versions' copies, which name none; 0 when the name is not ours.
long writerOfTemporary(const std::string& name) {
    constexpr std::string_view suffix = ".tmp", oldCopy = ".copy-";
    if (const size_t at = name.rfind(oldCopy);
        name.size() > 1 && name[0] == '.' && at != std::string::npos && at > 1) {
        long serial = 0;
        if (digits(std::string_view(name).substr(at + oldCopy.size()), serial)) return kWriterUnknown;
    }
    if (name.size() < 1 + suffix.size() || name[0] != '.' || !name.ends_with(suffix)) return 0;
    const std::string_view stem = std::string_view(name).substr(1, name.size() - 1 - suffix.size());
    const size_t serialDot = stem.rfind('.');
    if (serialDot == std::string_view::npos || serialDot == 0) return 0;
    const size_t pidDot = stem.rfind('.', serialDot - 1);
    if (pidDot == std::string_view::npos || pidDot == 0) return 0;
    long serial = 0, pid = 0;
    if (!digits(stem.substr(serialDot + 1), serial) ||
        !digits(stem.substr(pidDot + 1, serialDot - pidDot - 1), pid))
        return 0;
    return serial > 0 && pid > 0 ? pid : 0;
}

bool stillRunning(long pid) {
    if (pid == kWriterUnknown || pid == ::getpid())
        return false;  // an earlier process had our number: ours are newer
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

FolderLock::FolderLock(const std::filesystem::path& folder)
    : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_) ::flock(fd_.get(), LOCK_EX);
}

Result replace(const std::filesystem::path& target, const std::string& bytes, mode_t mode) {
    const fs::path temporary = temporaryFor(target);
    UniqueFd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!fd) return errno == EACCES || errno == EROFS ? Result::AccessDenied : Result::IoError;
    bool ok = ::fchmod(fd.get(), mode) == 0;
    ok = ok && writeAll(fd.get(), bytes);
    ok = ::fsync(fd.get()) == 0 && ok;
    ok = fd.close() && ok;
    if (ok && ::rename(temporary.c_str(), target.c_str()) == 0) return Result::Written;
    ::unlink(temporary.c_str());
    return Result::IoError;
}

int copy(const fs::path& source, const fs::path& target) {
    const fs::path temporary = temporaryFor(target);
    std::error_code ec;
    fs::copy_file(source, temporary, fs::copy_options::overwrite_existing, ec);
    int error = ec.value();
    if (!error && !syncPath(temporary, O_RDONLY)) error = errno ? errno : EIO;
    if (!error && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error) {
        ::unlink(temporary.c_str());
        return error;
    }
    return syncFolder(target.parent_path()) ? 0 : (errno ? errno : EIO);
}

std::vector<fs::path> removeLeftovers(const fs::path& folder, std::vector<fs::path>& failed) {
    std::vector<fs::path> removed;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path path = it->path();
        const long writer = writerOfTemporary(path.filename().string());
        std::error_code statusError;
        if (writer == 0 || !fs::is_regular_file(fs::symlink_status(path, statusError))) continue;
        const fs::file_time_type written = fs::last_write_time(path, statusError);
        if (statusError || written >= kProcessStart || stillRunning(writer)) continue;
        if (::unlink(path.c_str()) == 0)
            removed.push_back(path);
        else
            failed.push_back(path);
    }
    return removed;
}

Result rewriteInPlace(const std::filesystem::path& target, const std::string& bytes) {
    UniqueFd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
    if (!fd) return errno == EACCES || errno == EROFS ? Result::AccessDenied : Result::IoError;
    bool ok = bool(writeAllAt(fd.get(), bytes, 0));
    ok = ok && ::ftruncate(fd.get(), off_t(bytes.size())) == 0;
    ok = ::fsync(fd.get()) == 0 && ok;
    ok = fd.close() && ok;
    return ok ? Result::Written : Result::IoError;
}

bool folderTakesNewFiles(const std::filesystem::path& folder) {
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) && ::access(folder.c_str(), W_OK) == 0;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool readAll(const std::filesystem::path& path, std::string& out) {
    // Non-blocking open, so that a named pipe in a file's place is refused instead of waited on.
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) return false;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    std::string bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        bytes.append(chunk, size_t(n));
    }
    out = std::move(bytes);
    return true;
}

}  // namespace platform::atomicfile
