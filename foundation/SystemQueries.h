// Lib_Systeme's questions about the machine: Windows version, host address, names, memory.
#pragma once

#include <cstdint>

inline int32_t PbLVersionOS = 0;         // Windows generation code: 10, 8, 7, 6, 2003, 5, 2000
inline bool PbBWindows64Bits = false;    // a 64-bit Windows of version 6 or later
