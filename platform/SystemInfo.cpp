// Version record and share table held in memory; the rest asks Linux.
#include "platform/SystemInfo.h"

#include <cstdio>
#include <utility>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <unistd.h>

namespace platform::system {
namespace {

struct State {
    OsStandIn os;
    std::vector<ShareInfo> shares;
    bool level2Denied = false;
    std::optional<uint64_t> residentMemory;
    std::optional<std::string> hostAddress;
};

State& state() {
    static State s;
    return s;
}

bool isLoopback(in_addr address) { return (ntohl(address.s_addr) >> 24) == 127; }

std::string dotted(in_addr address) {
    char text[INET_ADDRSTRLEN] = {};
    return inet_ntop(AF_INET, &address, text, sizeof text) ? text : "";
}

std::string resolvedAddressOfHostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* result = nullptr;
    if (::getaddrinfo(name, nullptr, &hints, &result) != 0 || !result) return {};
    const std::string text = dotted(reinterpret_cast<sockaddr_in*>(result->ai_addr)->sin_addr);
    ::freeaddrinfo(result);
    return text;
}

}  // namespace

void setOsStandIn(const OsStandIn& standIn) { state().os = standIn; }
void resetOsStandIn() { state().os = OsStandIn{}; }
void resetSystemInfo() { state() = State{}; }

bool getVersionEx(OsVersionInfo& out) {
    if (state().os.versionCallFails) return false;
    out = state().os.version;
    return true;
}

uint16_t nativeProcessorArchitecture() { return state().os.processorArchitecture; }

uint32_t productInfo(uint32_t major, uint32_t /*minor*/) { return major >= 6 ? state().os.productInfo : 0; }

int32_t systemMetric(int32_t index) { return index == 89 ? state().os.serverR2 : 0; }

std::string computerName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    std::string text = name;
    return text.substr(0, text.find('.'));
}

void setHostIPv4Address(std::optional<std::string> address) { state().hostAddress = std::move(address); }

std::string hostIPv4Address() {
    if (state().hostAddress) return *state().hostAddress;
    ifaddrs* list = nullptr;
    std::string found;
    if (::getifaddrs(&list) == 0) {
        for (ifaddrs* it = list; it && found.empty(); it = it->ifa_next) {
            if (!it->ifa_addr || it->ifa_addr->sa_family != AF_INET) continue;
            if (!(it->ifa_flags & IFF_UP) || (it->ifa_flags & IFF_LOOPBACK)) continue;
            const in_addr address = reinterpret_cast<sockaddr_in*>(it->ifa_addr)->sin_addr;
            if (!isLoopback(address)) found = dotted(address);
        }
        ::freeifaddrs(list);
    }
    return found.empty() ? resolvedAddressOfHostName() : found;
}

void setResidentMemory(std::optional<uint64_t> bytes) { state().residentMemory = bytes; }

uint64_t residentMemoryBytes() {
    if (state().residentMemory) return *state().residentMemory;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    unsigned long long size = 0, resident = 0;
    const bool ok = std::fscanf(statm, "%llu %llu", &size, &resident) == 2;
    std::fclose(statm);
    return ok ? resident * uint64_t(::sysconf(_SC_PAGESIZE)) : 0;
}

std::string windowsFolder() { return "C:\\Windows"; }
std::string systemFolder() { return "C:\\Windows\\system32"; }

std::string specialFolder(int32_t csidl) {
    switch (csidl) {
        case 36:
            return windowsFolder();
        case 37:
            return systemFolder();
        case 38:
            return "C:\\Program Files";
        default:
            return {};
    }
}

int32_t enumShares(const std::string& server, int level, std::vector<ShareInfo>& out) {
    const State& s = state();
    if (!server.empty() && server != "\\\\" + computerName() && server != computerName()) return 53;
    if (level == 2 && s.level2Denied) return 5;
    out = s.shares;
    if (level == 1)
        for (ShareInfo& share : out) share.path.clear();
    return 0;
}

void setShares(const std::vector<ShareInfo>& shares, bool level2Denied) {
    state().shares = shares;
    state().level2Denied = level2Denied;
}

}  // namespace platform::system
