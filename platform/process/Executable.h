// A program the texts name "X.exe" is the executable X on this system.
#pragma once

#include <string>

namespace platform::process {

inline std::string Executable(const std::string& cheminExe) {
    const std::string exe = ".exe";
    if (cheminExe.size() > exe.size() &&
        cheminExe.compare(cheminExe.size() - exe.size(), exe.size(), exe) == 0)
        return cheminExe.substr(0, cheminExe.size() - exe.size());
    return cheminExe;
}

}  // namespace platform::process
