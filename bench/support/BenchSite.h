// C: roots of their own for benchmark runs, removed when the run ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include <unistd.h>

#include "foundation/RunState.h"

namespace bench {

class TempDrive {
public:
    explicit TempDrive(const std::string& name) {
        std::random_device random;
        root_ = std::filesystem::temp_directory_path() /
                ("al3-bench-" + name + "-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
        std::filesystem::create_directories(root_);
        ::setenv("AL3_DRIVE_C", root_.c_str(), 1);
    }
    ~TempDrive() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TempDrive(const TempDrive&) = delete;
    TempDrive& operator=(const TempDrive&) = delete;

    const std::filesystem::path& root() const { return root_; }

private:
    std::filesystem::path root_;
};

// The log folder known and the settings window counted as loaded: every line then reaches the
// day's file as it does in the running program.
class LogSite : public TempDrive {
public:
    explicit LogSite(const std::string& name) : TempDrive(name) {
        std::filesystem::create_directories(root() / "AudioLog" / "Histo_AL3_Relaytone");
        PbSDossierLog = "C:\\AudioLog\\Histo_AL3_Relaytone\\";
        PbBFrmSetupChargee = true;
    }
};

}  // namespace bench
