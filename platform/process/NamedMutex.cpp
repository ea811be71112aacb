// Named mutex over a lock file: the first holder locks it exclusively and then shares it, so a
// later opener's exclusive try fails for as long as any holder lives.
#include "platform/process/NamedMutex.h"

#include <fcntl.h>
#include <sys/file.h>

#include "platform/process/RuntimeFolder.h"

namespace platform::process {

NamedMutex::NamedMutex(const std::string& name) {
    const std::filesystem::path folder = runtimeFolder();
    if (folder.empty()) return;
    const std::filesystem::path file = folder / ("mutex-" + nameDigest(name));
    fd_.reset(::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!fd_) return;
    alreadyExisted_ = ::flock(fd_.get(), LOCK_EX | LOCK_NB) != 0;
    ::flock(fd_.get(), LOCK_SH);
}

}  // namespace platform::process
