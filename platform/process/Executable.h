// A program the texts name "X.exe" is the executable X on this system.
#pragma once

#include <string>

namespace platform::process {

inline std::string Executable(const std::string& exePath) {
    const std::string exe = ".exe";
    if (exePath.size() > exe.size() && exePath.compare(exePath.size() - exe.size(), exe.size(), exe) == 0)
        return exePath.substr(0, exePath.size() - exe.size());
    return exePath;
}

}  // namespace platform::process
