// Memory figures from /proc/meminfo and this process's own status.
#include "platform/MemoryStatus.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace platform::system {
namespace {

// "Key:   1234 kB" lines as byte counts.
std::map<std::string, uint64_t> kilobyteFields(const char* file) {
    std::map<std::string, uint64_t> fields;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string key;
        uint64_t value = 0;
        if (words >> key >> value && key.ends_with(":")) {
            key.pop_back();
            fields[key] = value * 1024;
        }
    }
    return fields;
}

// The user address space of a 64-bit process on Windows: 128 TB.
constexpr uint64_t kUserAddressSpace = 128ull << 40;

}  // namespace

bool globalMemoryStatus(MemoryStatus& out) {
    auto memory = kilobyteFields("/proc/meminfo");
    if (!memory.count("MemTotal") || memory["MemTotal"] == 0) return false;
    out.totalPhys = memory["MemTotal"];
    out.availPhys = memory.count("MemAvailable") ? memory["MemAvailable"] : memory["MemFree"];
    out.memoryLoad = uint32_t((out.totalPhys - std::min(out.availPhys, out.totalPhys)) * 100 / out.totalPhys);
    out.totalPageFile = memory["CommitLimit"];
    const uint64_t committed = memory["Committed_AS"];
    out.availPageFile = out.totalPageFile > committed ? out.totalPageFile - committed : 0;
    auto self = kilobyteFields("/proc/self/status");
    out.totalVirtual = kUserAddressSpace;
    out.availVirtual = kUserAddressSpace - std::min(self["VmSize"], kUserAddressSpace);
    return true;
}

}  // namespace platform::system
