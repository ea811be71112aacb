// Program copies, stub records and polling for the tests that start real processes.
#include "tests/support/Programs.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>

#include <signal.h>

#include "platform/WinPath.h"

namespace support {
namespace fs = std::filesystem;

fs::path stubProgram() { return platform::winpath::programFolderHost() / "al3_stub"; }

fs::path builtProgram(const std::string& name) {
    if (const char* bin = std::getenv("AL3_BIN_DIR"); bin && *bin) return fs::path(bin) / name;
    return platform::winpath::programFolderHost().parent_path() / "bin" / name;  // build/tests -> build/bin
}

fs::path copyProgram(const fs::path& program, const fs::path& folder, const std::string& name) {
    fs::create_directories(folder);
    const fs::path copy = folder / name;
    fs::copy_file(program, copy, fs::copy_options::overwrite_existing);
    fs::permissions(copy, fs::perms::owner_all, fs::perm_options::add);
    return copy;
}

std::vector<StubStart> stubStarts(const fs::path& stub) {
    std::vector<StubStart> starts;
    std::ifstream in(stub.string() + ".starts");
    for (std::string line; std::getline(in, line);) {
        StubStart start;
        std::stringstream fields(line);
        std::string field;
        std::getline(fields, field, '\t');
        start.pid = std::atoi(field.c_str());
        while (std::getline(fields, field, '\t')) start.arguments.push_back(field);
        starts.push_back(start);
    }
    return starts;
}

void endProgramsUnder(const fs::path& root) {
    std::error_code ec;
    const fs::path folder = fs::weakly_canonical(root, ec);
    if (ec || folder.empty()) return;
    for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::error_code linkError;
        const fs::path exe = fs::read_symlink(it->path() / "exe", linkError);
        if (linkError) continue;
        const fs::path relative = exe.lexically_relative(folder);
        if (!relative.empty() && *relative.begin() != "..") ::kill(std::atoi(name.c_str()), SIGKILL);
    }
}

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition();
}

}  // namespace support
