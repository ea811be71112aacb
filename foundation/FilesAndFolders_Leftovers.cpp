// What the whole-file writes of a run that ended halfway left behind: removed at the next start.
#include <algorithm>
#include <filesystem>

#include "foundation/DailyLog.h"
#include "foundation/FilesAndFolders.h"
#include "platform/AtomicFile.h"
#include "platform/WinPath.h"

namespace Lib_Systeme {

void RemoveLeftoverTemporaries(const std::vector<std::string>& folders, const std::string& caller) {
    std::vector<std::filesystem::path> seen;
    std::string removedText, failedText;
    size_t removedCount = 0, failedCount = 0;
    for (const std::string& folder : folders) {
        const std::filesystem::path host = platform::winpath::toHost(folder);
        if (host.empty() || std::find(seen.begin(), seen.end(), host) != seen.end()) continue;
        seen.push_back(host);
        std::vector<std::filesystem::path> failed;
        const auto removed = platform::atomicfile::removeLeftovers(host, failed);
        if (!removed.empty())
            removedText += (removedText.empty() ? "" : ", ") + folder + ": " + std::to_string(removed.size());
        for (const auto& path : failed)
            failedText += (failedText.empty() ? "" : ", ") + platform::winpath::fromHost(path);
        removedCount += removed.size();
        failedCount += failed.size();
    }
    if (removedCount == 0 && failedCount == 0) return;
    std::string line =
        "Warning: Temporary files of an interrupted run removed: " + std::to_string(removedCount);
    if (removedCount > 0) line += " (" + removedText + ")";
    if (failedCount > 0) line += " |Not removed: " + std::to_string(failedCount) + " (" + failedText + ")";
    Lib_Public::TraceLog(-1, -1, -1, line + " |Sub: " + caller);
}

}  // namespace Lib_Systeme
