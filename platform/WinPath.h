// Windows-shaped paths inside the program, host paths at the file-system boundary.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform::winpath {

// The host folder behind "C:\" (AL3_DRIVE_C, else ~/.local/share/aerolune/drive_c).
std::filesystem::path driveCRoot();

// Host path of a Windows path; each component is matched without regard to case where the
// exact name does not exist. Empty when the drive or share is not mapped.
std::filesystem::path toHost(std::string_view windowsPath);

// Windows path of a host path: under the C: root it is "C:\...", elsewhere "Z:\...".
std::string fromHost(const std::filesystem::path& hostPath);

// The folder of the running executable, as a Windows path ending with a backslash.
std::string programFolder();
std::filesystem::path programFolderHost();

}  // namespace platform::winpath
