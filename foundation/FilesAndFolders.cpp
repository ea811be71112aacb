// File services: existence, size, copy, delete, free space, size texts and attribute bits.
#include "foundation/FilesAndFolders.h"

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/NeighbourServices.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/UniqueFd.h"
#include "platform/WinPath.h"

namespace Lib_Systeme {
namespace fs = std::filesystem;
namespace {

std::string trimmed(const std::string& text) { return VBA::Trim(text); }

void log(const std::string& text, bool display = false) { Lib_Public::TraceLog(-1, -1, -1, text, display); }

int& injectedFailure() {
    static int error = 0;
    return error;
}

// A pipe, socket or device in a file's place is never opened: opening one can wait for ever.
const char* specialKind(const fs::file_status& status) {
    switch (status.type()) {
        case fs::file_type::fifo:
            return "pipe";
        case fs::file_type::socket:
            return "socket";
        case fs::file_type::block:
        case fs::file_type::character:
            return "device";
        default:
            return nullptr;
    }
}

fs::file_status statusOf(const fs::path& host) {
    std::error_code ec;
    return host.empty() ? fs::file_status{} : fs::status(host, ec);
}

std::chrono::milliseconds& injectedSlowness() {
    static std::chrono::milliseconds slowness{0};
    return slowness;
}

bool isRegularFile(const fs::path& host) {
    std::error_code ec;
    return !host.empty() && fs::is_regular_file(host, ec);
}

// The shell's copy: into a temporary file beside the target, on disk before it is renamed into
// place, so that a copy kept for safety outlives a power cut that follows it.
int32_t copyFile(const fs::path& source, fs::path target) {
    if (const int error = std::exchange(injectedFailure(), 0)) return ShellResultOfErrno(error);
    std::error_code ec;
    if (fs::is_directory(target, ec)) target /= source.filename();
    if (fs::exists(target, ec) && fs::equivalent(source, target, ec)) return ShellSameFile;
    const fs::path folder = target.parent_path();
    if (!fs::is_directory(folder, ec)) {
        fs::create_directories(folder, ec);
        if (ec) return ShellResultOfErrno(ec.value() == ENOENT ? ENOTDIR : ec.value());
    }
    const int error = platform::atomicfile::copy(source, target);
    if (error == 0) return ShellOk;
    return error == ENOENT && !fs::exists(source, ec) ? ShellSourceMissing : ShellResultOfErrno(error);
}

std::string copyFailureText(int32_t code, bool& incident) {
    incident = true;
    switch (code) {
        case ShellFolderNotFound:
            return " |Folder not found. Source: ";
        case ShellFileInUse:
            return " |File in use. Source: ";
        case ShellSourceMissing:
            return " |Source file missing. Source: ";
        case ShellCancelled:
            return " |Cancelled. Source: ";
        case ShellOutOfMemory:
            return " |Out of memory. Source: ";
        default:
            break;
    }
    incident = false;
    switch (code) {
        case ShellTooManyNames:
            return " |Too many names. Source: ";
        case ShellSameFile:
            return " |Fichiers source et cible identiques. Source: ";
        default:
            return " |Source: ";
    }
}

struct DeleteText {
    const char* prefix;
    const char* text;
    bool incident;
};

DeleteText deleteFailureText(int32_t code) {
    switch (code) {
        case ShellFileNotFound:
            return {"File_Delete: Warning: ", " |File not found: ", false};
        case ShellFileInUse:
            return {"File_Delete: Warning: ", " |File in use: ", false};
        case ShellSourceMissing:
            return {"File_Delete: Err: ", " |Source file missing: ", false};
        case ShellCancelled:
            return {"File_Delete: Warning: ", " |Cancelled: File: ", false};
        case ShellOutOfMemory:
            return {"File_Delete: Err: ", " |Out of memory. File: ", true};
        default:
            return {"File_Delete: Err: ", " |", true};
    }
}

int32_t deleteFile(const std::string& name) {
    if (const int error = std::exchange(injectedFailure(), 0)) return ShellResultOfErrno(error);
    const fs::path host = platform::winpath::toHost(name);
    std::error_code ec;
    const auto status = host.empty() ? fs::file_status{} : fs::symlink_status(host, ec);
    if (!fs::exists(status)) return ShellFileNotFound;
    // A folder name must never take a tree with it.
    if (!fs::is_regular_file(status) && !fs::is_symlink(status)) return ShellNotAFile;
    if (::unlink(host.c_str()) != 0) return ShellResultOfErrno(errno);
    return ShellOk;
}

}  // namespace

int32_t ShellResultOfErrno(int error) {
    switch (error) {
        case 0:
            return ShellOk;
        case ENOENT:
            return ShellFileNotFound;
        case ENOTDIR:
            return ShellFolderNotFound;
        case EACCES:
        case EPERM:
            return ShellAccessDenied;
        case ENOMEM:
            return ShellOutOfMemory;
        case EROFS:
            return ShellWriteProtected;
        case EBUSY:
        case ETXTBSY:
            return ShellFileInUse;
        case ENOSPC:
        case EDQUOT:
            return ShellDiskFull;
        case ENAMETOOLONG:
            return ShellNameTooLong;
        case EISDIR:
            return ShellNotAFile;
        default:
            return ShellGeneralFailure;
    }
}

bool File_Exist(const std::string& fileName, const std::string& caller, bool mustNotBeEmpty) {
    const std::string trimmedName = trimmed(fileName);
    if (trimmedName.empty()) return false;
    // A blank before an extension dot is tried without it first.
    std::string name = trimmedName;
    if (name.find(' ') != std::string::npos) {
        for (auto at = name.find(" ."); at != std::string::npos; at = name.find(" .")) name.erase(at, 1);
    }
    for (;;) {
        const fs::file_status status = statusOf(platform::winpath::toHost(name));
        bool found = fs::exists(status);
        if (const char* kind = specialKind(status)) {
            log("Warning: File_Exist: Not a file (" + std::string(kind) + "): " + name +
                " |Sub: " + (caller.empty() ? "" : caller + ">") + "Lib_Systeme:File_Exist");
            found = false;
        } else if (found && mustNotBeEmpty && TailleDuFichier(name) == 0) {
            found = false;
        }
        if (found || name == trimmedName) return found;
        name = trimmedName;
    }
}

int64_t TailleDuFichier(const std::string& fileName) {
    const uint64_t start = platform::clock::tick64();
    int64_t size = -1;
    const fs::path host = platform::winpath::toHost(fileName);
    if (const char* kind = specialKind(statusOf(host))) {
        log("Warning: TailleDuFichier: Not a file (" + std::string(kind) + "), not opened: " + fileName);
    } else if (!host.empty()) {
        // Not blocking either: a pipe put in the file's place meanwhile must not hold the open.
        const platform::UniqueFd fd(::open(host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (const auto slowness = std::exchange(injectedSlowness(), {}); slowness.count() > 0)
            platform::clock::advance(slowness);
        struct stat info {};
        if (fd && ::fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode)) size = info.st_size;
    }
    const uint64_t elapsed = platform::clock::tick64() - start;
    if (elapsed > 1000)
        log("Function Lib_Systeme:TailleDuFichier Duration: " + std::to_string(elapsed) +
            " ms (File: " + fileName + ")");
    return size;
}

bool File_Copy(const std::string& source, const std::string& target) {
    if (trimmed(source).empty()) {
        log("Warning: File_Copy: File name null");
        return false;
    }
    if (!File_Exist(source, "Lib_Systeme:File_Copy", true)) {
        if (VBA::InStr(1, source, ".gpx", true) == 0) log("Warning: File_Copy: File not found: " + source);
        return false;
    }
    const fs::path sourceHost = platform::winpath::toHost(trimmed(source));
    const fs::path targetHost = platform::winpath::toHost(trimmed(target));
    const int32_t code = targetHost.empty()           ? ShellFolderNotFound
                         : !isRegularFile(sourceHost) ? ShellSourceMissing
                                                      : copyFile(sourceHost, targetHost);
    if (code == ShellOk) return true;
    bool incident = false;
    const std::string text = copyFailureText(code, incident);
    log("File_Copy: Err: " + std::to_string(code) + text + source + "  Target: " + target, incident);
    if (code == ShellOutOfMemory) neighbours::Frm_Main().RelancerApplication(false, "Lib_Systeme:File_Copy");
    if (target.rfind("\\\\", 0) != 0) {
        const std::string root = target.substr(0, 3);
        log("Free space for " + root + ": " + LibSize(GetDiskFreeBytes(root)));
    }
    return false;
}

bool File_Delete(const std::string& fileName, const std::string& caller) {
    const std::string chain = " |Sub: " + caller + ">Lib_Systeme:File_Delete";
    if (trimmed(fileName).empty()) {
        log("Warning: File_Delete: File name null" + chain);
        return false;
    }
    const int32_t code = deleteFile(trimmed(fileName));
    if (code == ShellOk) return true;
    const DeleteText text = deleteFailureText(code);
    log(text.prefix + std::to_string(code) + text.text + fileName + chain, text.incident);
    if (code == ShellOutOfMemory)
        neighbours::Frm_Main().RelancerApplication(false, "Lib_Systeme:File_Delete");
    return false;
}

double GetDiskFreeBytes(const std::string& root) {
    if (trimmed(root).empty()) return 0;
    const fs::path host = platform::winpath::toHost(trimmed(root));
    struct statvfs info {};
    if (host.empty() || ::statvfs(host.c_str(), &info) != 0) return 0;
    return double(info.f_bavail) * double(info.f_frsize);
}

std::string LibSize(double bytes) {
    static const char* const units[] = {" Octets", " Ko", " Mo", " Go", " To", " Po", " Eo", " Zo", " Yo"};
    int divisions = 0;
    while (bytes >= 1024 && divisions < 8) {
        bytes /= 1024;
        ++divisions;
    }
    if (bytes >= 1024) return {};
    return FormatGrouped2(bytes) + units[divisions];
}

int32_t FileAttributes(const std::string& fileName) {
    const fs::path host = platform::winpath::toHost(trimmed(fileName));
    struct stat info {};
    if (host.empty() || ::stat(host.c_str(), &info) != 0) return -1;
    int32_t attributes = S_ISDIR(info.st_mode) ? 16 : 32;
    if (!(info.st_mode & S_IWUSR)) attributes |= 1;
    if (host.filename().string().starts_with(".")) attributes |= 2;
    return attributes;
}

void File_RemoveFlag(const std::string& fileName, int32_t flags) {
    if (trimmed(fileName).empty()) return;
    if (!File_Exist(fileName, "Lib_Systeme:File_RemoveFlag", true)) {
        log("Warning: File_RemoveFlag: File not found: " + fileName);
        return;
    }
    const int32_t attributes = FileAttributes(fileName);
    if (attributes < 0 || (attributes & flags & 127) == 0) return;
    // Only the read-only bit has a counterpart here: the owner's write permission.
    if (attributes & flags & 1) {
        const fs::path host = platform::winpath::toHost(trimmed(fileName));
        std::error_code ec;
        fs::permissions(host, fs::perms::owner_write, fs::perm_options::add, ec);
    }
}

void seams::failNextFileOperation(int error) { injectedFailure() = error; }
void seams::slowNextSizeQuery(std::chrono::milliseconds slowness) { injectedSlowness() = slowness; }

}  // namespace Lib_Systeme
