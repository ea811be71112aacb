// Folder listing for the poll: looked up afresh each time, so a folder that appears is picked up.
#include "batchrunner/BatchFolder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/WinPath.h"

namespace BatchFolder {
namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

bool matches(const std::string& fileName) {
    const std::string name = lower(fileName);
    return name.starts_with("al3_relaytone") && name.ends_with(".bat");
}

}  // namespace

std::vector<std::string> MatchingFiles() {
    std::vector<std::string> names;
    std::error_code ec;
    const std::filesystem::path folder = platform::winpath::toHost(kFolder);
    if (folder.empty()) return {};
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (matches(name) && it->is_regular_file(typeError)) names.push_back(name);
    }
    // The order NTFS lists them in.
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lower(a) < lower(b); });
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(kFolder + name);
    return paths;
}

}  // namespace BatchFolder
