// A temporary C: root per test, with the dialog seam scripted and cleaned up afterwards.
#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace support {

class TempDriveC {
public:
    TempDriveC();
    ~TempDriveC();
    TempDriveC(const TempDriveC&) = delete;
    TempDriveC& operator=(const TempDriveC&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // Host path of a Windows path under this C: root ("C:\AL_Data\x" -> <root>/AL_Data/x).
    std::filesystem::path host(const std::string& windowsPath) const;

private:
    std::filesystem::path root_;
};

// Base fixture: every test gets its own C: root and a scripted dialog seam.
class SiteTest : public ::testing::Test {
protected:
    TempDriveC drive;
};

}  // namespace support
