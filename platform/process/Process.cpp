// Process start through posix_spawn, a registry of started children and their exit codes.
#include "platform/process/Process.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <regex>
#include <system_error>
#include <thread>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"
#include "platform/WinPath.h"
#include "platform/process/RuntimeFolder.h"

extern char** environ;

namespace platform::process {
namespace fs = std::filesystem;
using namespace std::chrono_literals;
namespace {

struct Child {
    bool finished = false;
    int32_t code = StillActive;
    fs::path scratch;  // the shell copy of a batch file, removed once the child ended
};

struct Registry {
    std::mutex mutex;
    std::map<Pid, Child> children;
};

Registry& registry() {
    static Registry r;
    return r;
}

int32_t codeOfStatus(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 0;
}

// Not our child: alive while /proc knows it and it is not a zombie.
bool foreignProcessRuns(Pid pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    const size_t close = text.rfind(')');
    if (close == std::string::npos || close + 2 >= text.size()) return false;
    const char state = text[close + 2];
    return state != 'Z' && state != 'X';
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

Started failure(StartError error, std::string reason) {
    Started s;
    s.error = error;
    s.reason = std::move(reason);
    return s;
}

StartError errorOfErrno(int error) {
    switch (error) {
        case ENOENT:
            return StartError::FileNotFound;
        case ENOTDIR:
            return StartError::PathNotFound;
        case EACCES:
        case EPERM:
            return StartError::AccessDenied;
        case ENOEXEC:
        case ELIBBAD:
        case EISDIR:
            return StartError::NotExecutable;
        default:
            return StartError::OutOfResources;
    }
}

bool isUrl(const std::string& file) {
    static const std::regex scheme("^[A-Za-z][A-Za-z0-9+.-]+://.*");
    return std::regex_match(file, scheme);
}

bool isBatchFile(const fs::path& path) {
    const std::string ext = lower(path.extension().string());
    return ext == ".bat" || ext == ".cmd";
}

fs::path findOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    size_t begin = 0;
    while (begin <= folders.size()) {
        const size_t end = std::min(folders.find(':', begin), folders.size());
        const fs::path candidate = fs::path(folders.substr(begin, end - begin)) / name;
        if (end > begin && ::access(candidate.c_str(), X_OK) == 0) return candidate;
        begin = end + 1;
    }
    return {};
}

// The batch file as /bin/sh reads it: UTF-8 without carriage returns, in a scratch copy.
fs::path shellCopyOf(const fs::path& batch, std::string& reason) {
    std::string text;
    if (!atomicfile::readAll(batch, text)) {
        reason = std::strerror(errno);
        return {};
    }
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    const fs::path folder = runtimeFolder();
    if (folder.empty()) {
        reason = "no runtime folder";
        return {};
    }
    static std::atomic<unsigned> counter{0};
    const fs::path copy =
        folder / ("batch-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".sh");
    std::ofstream out(copy, std::ios::binary | std::ios::trunc);
    out << cp1252::toUtf8(text);
    if (!out.flush()) {
        reason = "cannot write " + copy.string();
        return {};
    }
    return copy;
}

Started spawn(const std::vector<std::string>& argv, const fs::path& folder, const fs::path& scratch) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setpgroup(&attributes, 0);  // the child outlives its starter like a program of its own
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
    pid_t pid = 0;
    Registry& r = registry();
    std::unique_lock lock(r.mutex);
    const int error = posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        lock.unlock();
        std::error_code ec;
        if (!scratch.empty()) fs::remove(scratch, ec);
        return failure(errorOfErrno(error), std::string(std::strerror(error)) + ": " + argv[0]);
    }
    r.children[pid] = Child{false, StillActive, scratch};
    Started s;
    s.pid = pid;
    return s;
}

}  // namespace

Started start(const StartRequest& request) {
    reapFinished();
    if (request.file.empty()) return failure(StartError::FileNotFound, "no file named");
    fs::path folder;
    if (!request.workingFolder.empty()) {
        folder = winpath::toHost(request.workingFolder);
        std::error_code ec;
        if (folder.empty() || !fs::is_directory(folder, ec))
            return failure(StartError::PathNotFound, "folder not found: " + request.workingFolder);
    }
    if (isUrl(request.file)) {
        const fs::path opener = findOnPath("xdg-open");
        if (opener.empty()) return failure(StartError::NoAssociation, "no opener for " + request.file);
        return spawn({opener.string(), request.file}, folder, {});
    }

    const fs::path host = winpath::toHost(request.file);
    std::error_code ec;
    if (host.empty()) return failure(StartError::PathNotFound, "drive not mapped: " + request.file);
    const fs::file_status status = fs::status(host, ec);
    if (!fs::exists(status)) {
        const bool folderExists = fs::is_directory(host.parent_path(), ec);
        return failure(folderExists ? StartError::FileNotFound : StartError::PathNotFound,
                       "not found: " + request.file);
    }
    if (fs::is_regular_file(status) && isBatchFile(host)) {
        std::string reason;
        const fs::path copy = shellCopyOf(host, reason);
        if (copy.empty()) return failure(StartError::AccessDenied, reason + ": " + request.file);
        std::vector<std::string> argv{"/bin/sh", copy.string()};
        argv.insert(argv.end(), request.arguments.begin(), request.arguments.end());
        return spawn(argv, folder, copy);
    }
    if (fs::is_regular_file(status) && ::access(host.c_str(), X_OK) == 0) {
        std::vector<std::string> argv{host.string()};
        argv.insert(argv.end(), request.arguments.begin(), request.arguments.end());
        return spawn(argv, folder, {});
    }
    const fs::path opener = findOnPath("xdg-open");
    if (opener.empty()) return failure(StartError::NoAssociation, "no opener for " + request.file);
    return spawn({opener.string(), host.string()}, folder, {});
}

std::string programOnPath(const std::string& name) { return findOnPath(name).string(); }

int32_t shellCode(const Started& started) {
    switch (started.error) {
        case StartError::None:
            return 42;
        case StartError::FileNotFound:
            return 2;
        case StartError::PathNotFound:
            return 3;
        case StartError::AccessDenied:
            return 5;
        case StartError::OutOfResources:
            return 8;
        case StartError::NotExecutable:
            return 11;
        case StartError::NoAssociation:
            return 31;
    }
    return 0;
}

void reapFinished() {
    Registry& r = registry();
    std::vector<fs::path> scratch;
    {
        std::lock_guard lock(r.mutex);
        for (auto& [pid, child] : r.children) {
            if (child.finished) continue;
            int status = 0;
            const pid_t done = ::waitpid(pid, &status, WNOHANG);
            if (done == 0) continue;
            child.finished = true;
            child.code = done == pid ? codeOfStatus(status) : 0;
            if (!child.scratch.empty()) scratch.push_back(std::move(child.scratch));
        }
    }
    std::error_code ec;
    for (const fs::path& file : scratch) fs::remove(file, ec);
}

int32_t exitCode(Pid pid) {
    if (pid <= 0) return 0;
    reapFinished();
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        if (auto it = r.children.find(pid); it != r.children.end()) return it->second.code;
    }
    return foreignProcessRuns(pid) ? StillActive : 0;
}

int32_t waitForExit(Pid pid, std::chrono::milliseconds timeout, const std::function<bool()>& keepWaiting) {
    const auto begin = std::chrono::steady_clock::now();
    for (;;) {
        const int32_t code = exitCode(pid);
        if (code != StillActive) return code;
        if (timeout.count() >= 0 && std::chrono::steady_clock::now() - begin >= timeout) return code;
        if (keepWaiting && !keepWaiting()) return code;
        std::this_thread::sleep_for(10ms);
    }
}

bool endProcess(Pid pid, std::chrono::milliseconds grace) {
    if (pid <= 0 || pid == ::getpid()) return false;
    if (exitCode(pid) != StillActive) return true;
    ::kill(pid, SIGTERM);
    if (waitForExit(pid, grace) != StillActive) return true;
    ::kill(pid, SIGKILL);
    return waitForExit(pid, 2000ms) != StillActive;
}

}  // namespace platform::process
