// Lib_Systeme's questions about the machine: Windows version, host address, names, memory.
#pragma once

#include <cstdint>
#include <string>

#include "platform/SystemInfo.h"

inline int32_t PbLVersionOS = 0;         // Windows generation code: 10, 8, 7, 6, 2003, 5, 2000
inline bool PbBWindows64Bits = false;    // a 64-bit Windows of version 6 or later
// The platform's version record, filled by the settings-folder set-up.
inline platform::system::OsVersionInfo PbTInfoVersionOS;

namespace Lib_Systeme {

// The Windows folder, without a trailing backslash.
std::string GetWinDir();

}  // namespace Lib_Systeme
