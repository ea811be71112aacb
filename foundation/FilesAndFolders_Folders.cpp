// Folder services: the cached existence test, level-by-level creation and the picker.
#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/RunState.h"
#include "platform/Dialogs.h"
#include "platform/WinPath.h"

namespace Lib_Systeme {
namespace fs = std::filesystem;
namespace {

// Whole paths, upper-cased, each ending with one backslash.
std::string keyOf(const std::string& folder) {
    std::string key = VBA::Trim(folder);
    while (key.ends_with("\\")) key.pop_back();
    key += '\\';
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return key;
}

// Folder caches, only ever grown; a hit is still checked on disk, since a folder may be
// deleted while the program runs.
struct FolderCaches {
    std::set<std::string> found;
    std::set<std::string> missing;
    std::string lastVerified;
    std::set<std::string> created;
    std::set<std::string> failed;
};

FolderCaches& caches() {
    static FolderCaches state;
    return state;
}

bool existsOnDisk(const std::string& folder) {
    const fs::path host = platform::winpath::toHost(folder);
    std::error_code ec;
    return !host.empty() && fs::is_directory(host, ec);
}

bool makeLevel(const std::string& level) {
    const fs::path host = platform::winpath::toHost(level);
    if (host.empty()) return false;
    std::error_code ec;
    fs::create_directory(host, ec);
    return fs::is_directory(host, ec);
}

}  // namespace

void resetFilesAndFolders() {
    caches() = {};
    seams::failNextFileOperation(0);
    seams::slowNextSizeQuery({});
}

bool FolderFound(const std::string& folder) {
    if (VBA::Trim(folder).empty()) return false;
    FolderCaches& cache = caches();
    const std::string key = keyOf(folder);
    if (cache.found.count(key) && existsOnDisk(folder)) return true;
    cache.found.erase(key);
    if (cache.missing.count(key) && !existsOnDisk(folder)) return false;
    cache.missing.erase(key);
    if (existsOnDisk(folder)) {
        cache.found.insert(key);
        return true;
    }
    VerificationEtCreationRepertoire(folder, true);
    const bool found = existsOnDisk(folder);
    (found ? cache.found : cache.missing).insert(key);
    return found;
}

void VerificationEtCreationRepertoire(const std::string& folder, bool warn) {
    std::string name = Lib_Public::NettoieNomDeDossier(folder);
    if (VBA::Trim(name).empty()) return;
    name = Lib_Public::CheckRep(name);
    FolderCaches& cache = caches();
    const std::string key = keyOf(name);
    if ((cache.created.count(key) || cache.lastVerified == key) && existsOnDisk(name)) return;
    // A creation that failed is not attempted again for the same request.
    if (cache.lastVerified == key && cache.failed.count(key)) return;

    const bool unc = name.starts_with("\\\\");
    bool serverSkipped = false;
    std::string stoppedAt;
    for (size_t at = 0; at < name.size(); ++at) {
        if (name[at] != '\\' || at + 1 <= 3) continue;
        if (unc && !serverSkipped) {
            serverSkipped = true;
            continue;
        }
        const std::string level = name.substr(0, at + 1);
        if (existsOnDisk(level)) continue;
        if (makeLevel(level)) {
            cache.created.insert(keyOf(level));
            continue;
        }
        if (level.find('$') != std::string::npos || cache.failed.count(keyOf(level))) continue;
        stoppedAt = level;
        break;
    }
    if (!stoppedAt.empty()) {
        if (warn) Lib_Public::TraceLog(-1, -1, -1, "Folder '" + stoppedAt + "' not found");
        cache.failed.insert(keyOf(stoppedAt));
        cache.failed.insert(key);
    }
    cache.lastVerified = key;
}

std::string FolderSelect(const std::string& startPath, const std::string& title) {
    Lib_Public::EclateRepFicExt(startPath, "\\");
    std::string start = PbTRepFicExt.Rep;
    if (VBA::Trim(start).empty()) start = PbSDossierApplication;
    if (start.size() > 1 && start.ends_with("\\")) start.pop_back();
    const auto chosen =
        platform::dialogs::PickFolder(VBA::Trim(title).empty() ? "Sélectionnez un dossier: " : title, start);
    if (!chosen || VBA::Trim(*chosen).empty()) return "*";
    const std::string result = Lib_Public::CheckRep(*chosen);
    if (!FolderFound(result)) VerificationEtCreationRepertoire(result, true);
    return result;
}

}  // namespace Lib_Systeme
