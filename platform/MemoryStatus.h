// Stand-in for GlobalMemoryStatusEx: the machine's memory figures in bytes.
#pragma once

#include <cstdint>

namespace platform::system {

struct MemoryStatus {
    uint32_t memoryLoad = 0;  // per cent of physical memory in use
    uint64_t totalPhys = 0;
    uint64_t availPhys = 0;
    uint64_t totalPageFile = 0;  // the commit limit: memory plus swap
    uint64_t availPageFile = 0;
    uint64_t totalVirtual = 0;  // this process's user address space
    uint64_t availVirtual = 0;
};

// False when the figures cannot be read.
bool globalMemoryStatus(MemoryStatus& out);

}  // namespace platform::system
