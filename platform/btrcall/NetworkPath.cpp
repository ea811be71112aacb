// Telling a network folder from a local disk: WAL's shared memory only works on a local disk.
#include "platform/btrcall/Btrcall.h"

#include <sys/vfs.h>

#include <system_error>

#include "platform/WinPath.h"

namespace platform::btrcall {
namespace {

bool networkFileSystem(long type) {
    switch (static_cast<unsigned long>(type)) {
        case 0x6969:      // NFS
        case 0x517B:      // SMB
        case 0xFF534D42:  // CIFS
        case 0xFE534D42:  // SMB2
        case 0x5346414F:  // AFS
        case 0x01021997:  // 9P
        case 0x00C36400:  // Ceph
        case 0x73757245:  // Coda
            return true;
        default:
            return false;
    }
}

}  // namespace

bool isNetworkPath(std::string_view windowsPath) {
    if (windowsPath.size() >= 2 && (windowsPath[0] == '\\' || windowsPath[0] == '/') &&
        (windowsPath[1] == '\\' || windowsPath[1] == '/'))
        return true;
    std::filesystem::path host = winpath::toHost(windowsPath);
    std::error_code ec;
    while (!host.empty() && !std::filesystem::exists(host, ec)) {
        if (host == host.parent_path()) return false;
        host = host.parent_path();
    }
    struct statfs fs {};
    return !host.empty() && ::statfs(host.c_str(), &fs) == 0 && networkFileSystem(fs.f_type);
}

}  // namespace platform::btrcall
