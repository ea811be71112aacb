// Drive mapping: C: to AL3_DRIVE_C, Z: to the host root, other letters and shares under AL3_DRIVES.
#include "platform/WinPath.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace platform::winpath {
namespace fs = std::filesystem;
namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

std::vector<std::string> splitComponents(std::string_view rest) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : rest) {
        if (c == '\\' || c == '/') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

// Walks down from base, taking the exact name when it exists, else a case-insensitive match.
// As on Windows, ".." never climbs above the root of a drive or share (a share's root is its
// server and share names, the first two components): only a relative path may climb above
// where it starts.
fs::path resolveUnder(fs::path base, const std::vector<std::string>& parts, bool mayClimb,
                      size_t rootDepth = 0) {
    size_t depth = 0;  // components below where the walk started
    size_t floor = 0;  // the depth ".." stops at: the root's, once the walk has reached it
    for (const std::string& part : parts) {
        if (part == ".") continue;
        if (part == "..") {
            if (depth > floor || mayClimb) base = base.parent_path();
            if (depth > floor) --depth;
            continue;
        }
        fs::path exact = base / part;
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(exact, ec))) {
            const std::string wanted = lower(part);
            for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
                if (lower(it->path().filename().string()) == wanted) {
                    exact = it->path();
                    break;
                }
            }
        }
        base = exact;
        if (++depth == rootDepth) floor = rootDepth;
    }
    return base;
}

fs::path driveRoot(char letter) {
    letter = char(std::toupper((unsigned char)letter));
    if (letter == 'C') return driveCRoot();
    if (letter == 'Z') return fs::path("/");
    if (const char* drives = std::getenv("AL3_DRIVES"); drives && *drives)
        return fs::path(drives) / std::string(1, letter);
    return {};
}

}  // namespace

fs::path driveCRoot() {
    if (const char* env = std::getenv("AL3_DRIVE_C"); env && *env) return fs::path(env);
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/tmp") / ".local/share/aerolune/drive_c";
}

fs::path toHost(std::string_view p) {
    // The system would stop at a NUL and open the part before it.
    if (p.find('\0') != std::string_view::npos) return {};
    if (p.size() >= 2 && std::isalpha((unsigned char)p[0]) && p[1] == ':') {
        const fs::path root = driveRoot(p[0]);
        if (root.empty()) return {};
        return resolveUnder(root, splitComponents(p.substr(2)), false);
    }
    if (p.size() >= 2 && (p[0] == '\\' || p[0] == '/') && (p[1] == '\\' || p[1] == '/')) {
        const char* drives = std::getenv("AL3_DRIVES");
        if (!drives || !*drives) return {};
        return resolveUnder(fs::path(drives) / "UNC", splitComponents(p.substr(2)), false, 2);
    }
    if (!p.empty() && (p[0] == '\\' || p[0] == '/')) return resolveUnder("/", splitComponents(p), false);
    std::error_code ec;
    return resolveUnder(fs::current_path(ec), splitComponents(p), true);
}

std::string fromHost(const fs::path& hostPath) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(hostPath, ec).lexically_normal();
    const fs::path root = fs::absolute(driveCRoot(), ec).lexically_normal();
    std::string prefix = "Z:";
    fs::path relative = absolute.relative_path();
    const fs::path underC = absolute.lexically_relative(root);
    if (!underC.empty() && *underC.begin() != "..") {
        prefix = "C:";
        relative = underC == "." ? fs::path() : underC;
    }
    std::string out = prefix + "\\";
    for (const auto& part : relative) {
        if (part.empty()) continue;
        if (out.back() != '\\') out += '\\';
        out += part.string();
    }
    return out;
}

fs::path programFolderHost() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path(ec) : exe.parent_path();
}

std::string programFolder() {
    std::string folder = fromHost(programFolderHost());
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace platform::winpath
