// Ending by image name: /proc is walked for this user's processes run from our program folder.
#include "platform/process/ImageName.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <system_error>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/WinPath.h"

namespace platform::process {
namespace fs = std::filesystem;
namespace {

// "AL3_Relaytone.exe", "al3_relaytone" and "AL3_Relaytone" all name one image.
std::string imageKey(std::string_view name) {
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (key.size() > 4 && key.ends_with(".exe")) key.resize(key.size() - 4);
    return key;
}

// The executable of a process; a replaced or deleted file still names its image.
fs::path executableOf(const fs::path& procEntry) {
    std::error_code ec;
    std::string target = fs::read_symlink(procEntry / "exe", ec).string();
    if (ec) return {};
    const std::string deleted = " (deleted)";
    if (target.ends_with(deleted)) target.resize(target.size() - deleted.size());
    return target;
}

fs::path canonicalOf(const fs::path& path) {
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(path, ec);
    return ec ? path : canonical;
}

}  // namespace

std::vector<Pid> processesByImageName(std::string_view imageName) {
    const std::string wanted = imageKey(imageName);
    const fs::path ourFolder = canonicalOf(winpath::programFolderHost());
    const Pid self = ::getpid();
    std::vector<Pid> found;
    std::error_code ec;
    for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit)) continue;
        const Pid pid = std::stoi(name);
        if (pid == self) continue;
        struct stat info {};
        if (::stat(it->path().c_str(), &info) != 0 || info.st_uid != ::geteuid()) continue;
        const fs::path exe = executableOf(it->path());
        if (exe.empty() || imageKey(exe.filename().string()) != wanted) continue;
        if (canonicalOf(exe.parent_path()) != ourFolder) continue;
        found.push_back(pid);
    }
    return found;
}

std::vector<Pid> askToEndByImageName(std::string_view imageName) {
    std::vector<Pid> asked;
    for (Pid pid : processesByImageName(imageName))
        if (::kill(pid, SIGTERM) == 0) asked.push_back(pid);
    return asked;
}

std::vector<Pid> stillRunningImage(std::string_view imageName, const std::vector<Pid>& pids) {
    std::vector<Pid> running;
    for (Pid pid : processesByImageName(imageName))
        if (std::find(pids.begin(), pids.end(), pid) != pids.end()) running.push_back(pid);
    return running;
}

std::vector<Pid> killStillRunningImage(std::string_view imageName, const std::vector<Pid>& pids) {
    std::vector<Pid> killed;
    for (Pid pid : stillRunningImage(imageName, pids))
        if (::kill(pid, SIGKILL) == 0) killed.push_back(pid);
    // taskkill returns once they are gone; so do we, within reason.
    for (Pid pid : killed) waitForExit(pid, std::chrono::milliseconds(2000));
    return killed;
}

int endByImageName(std::string_view imageName) {
    return int(killStillRunningImage(imageName, processesByImageName(imageName)).size());
}

}  // namespace platform::process
