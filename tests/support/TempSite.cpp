#include "tests/support/TempSite.h"

#include <cstdlib>
#include <random>

#include <unistd.h>

#include "platform/Dialogs.h"
#include "platform/WinPath.h"

namespace support {
namespace fs = std::filesystem;

TempDriveC::TempDriveC() {
    std::random_device random;
    root_ = fs::temp_directory_path() /
            ("al3-test-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
    fs::create_directories(root_);
    ::setenv("AL3_DRIVE_C", root_.c_str(), 1);
    platform::dialogs::reset();
}

TempDriveC::~TempDriveC() {
    std::error_code ec;
    fs::remove_all(root_, ec);
}

fs::path TempDriveC::host(const std::string& windowsPath) const {
    return platform::winpath::toHost(windowsPath);
}

}  // namespace support
