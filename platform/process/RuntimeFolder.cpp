// Runtime folder: XDG_RUNTIME_DIR (else a private folder in the temporary folder), then one
// subfolder per program folder and C: root, so side-by-side installs and tests never meet.
#include "platform/process/RuntimeFolder.h"

#include <cstdlib>
#include <system_error>

#include <QByteArray>
#include <QCryptographicHash>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/WinPath.h"

namespace platform::process {
namespace fs = std::filesystem;
namespace {

// A folder of ours that nobody else can write into, created when missing.
bool ensurePrivateFolder(const fs::path& folder) {
    ::mkdir(folder.c_str(), 0700);
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 022) == 0;
}

fs::path fallbackBase() {
    std::error_code ec;
    const fs::path fallback = fs::temp_directory_path(ec) / ("al3-runtime-" + std::to_string(::geteuid()));
    return ensurePrivateFolder(fallback) ? fallback : fs::path();
}

fs::path userBase() {
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg && ensurePrivateFolder(xdg)) return xdg;
    return fallbackBase();
}

std::string canonicalText(const fs::path& path) {
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(path, ec);
    return (ec ? path : canonical).string();
}

}  // namespace

void settleRuntimeDirectory() {
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg) return;
    if (const fs::path base = fallbackBase(); !base.empty()) ::setenv("XDG_RUNTIME_DIR", base.c_str(), 1);
}

std::string nameDigest(std::string_view name) {
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray(name.data(), qsizetype(name.size())), QCryptographicHash::Sha1);
    return digest.toHex().left(16).toStdString();
}

fs::path runtimeFolder() {
    const fs::path base = userBase();
    if (base.empty()) return {};
    const std::string scope =
        canonicalText(winpath::programFolderHost()) + '\n' + canonicalText(winpath::driveCRoot());
    const fs::path folder = base / ("al3-" + nameDigest(scope));
    return ensurePrivateFolder(folder) ? folder : fs::path();
}

}  // namespace platform::process
