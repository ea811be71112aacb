// Whole-file replacement that no reader ever sees half done, and a lock that serialises writers.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <sys/types.h>

#include "platform/UniqueFd.h"

namespace platform::atomicfile {

// Holds an exclusive lock on a folder for its lifetime, so that read-modify-write cycles of
// the files inside it, from any process of ours, never interleave.
class FolderLock {
public:
    explicit FolderLock(const std::filesystem::path& folder);
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool held() const { return bool(fd_); }

private:
    UniqueFd fd_;  // the lock goes with the descriptor
};

enum class Result { Written, AccessDenied, IoError };

// Writes the bytes to a temporary file beside the target, flushes it to disk and renames it
// over the target; the file gets the given permissions.
Result replace(const std::filesystem::path& target, const std::string& bytes, mode_t mode);
// Copies the file through a temporary beside the target, flushed to disk, renamed into place,
// and the folder flushed: once it returns 0 the copy outlives a power cut. 0 or an errno.
int copy(const std::filesystem::path& source, const std::filesystem::path& target);
// The temporaries (".<name>.<pid>.<n>.tmp", and ".<name>.copy-<n>" of earlier versions' copies)
// that replaces and copies left in the folder when their process ended halfway: regular files
// written before this process started, by a process that no longer runs. Removes them; what
// could not be removed goes to `failed`.
std::vector<std::filesystem::path> removeLeftovers(const std::filesystem::path& folder,
                                                   std::vector<std::filesystem::path>& failed);
// Rewrites an existing file through its own inode (write, truncate, flush), for a folder that
// takes no temporary file; a crash halfway may leave it mixed, as Windows' own writes would.
Result rewriteInPlace(const std::filesystem::path& target, const std::string& bytes);
// Whether a new file may be made in the folder: the owner may write it (so that a folder made
// read-only also holds for root) and the system lets this process do so.
bool folderTakesNewFiles(const std::filesystem::path& folder);
// The permissions a new file gets under the process's umask.
mode_t newFileMode();
// The whole regular file; false (errno set) when it cannot be read or is no regular file.
bool readAll(const std::filesystem::path& path, std::string& out);

}  // namespace platform::atomicfile
