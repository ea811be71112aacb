// Stand-ins for Windows' version record and machine queries; tests replace the record and shares.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::system {

// The extended version record (OSVERSIONINFOEX's fields the program reads).
struct OsVersionInfo {
    uint32_t majorVersion = 0;
    uint32_t minorVersion = 0;
    uint32_t buildNumber = 0;
    uint32_t platformId = 0;  // 2 = Windows NT family
    std::string csdVersion;   // service pack text
    uint16_t suiteMask = 0;
    uint8_t productType = 0;  // 1 = workstation
};

// What the platform answers about itself. The default is what Windows reports to a program
// without a compatibility manifest on Windows 10, 64-bit: version 6.2, build 9200.
struct OsStandIn {
    bool versionCallFails = false;
    OsVersionInfo version{6, 2, 9200, 2, "", 0x0100, 1};
    uint16_t processorArchitecture = 9;  // 0 x86, 6 Itanium, 9 x64
    uint32_t productInfo = 0;            // edition code of version 6.0
    int32_t serverR2 = 0;                // system metric 89
};
void setOsStandIn(const OsStandIn& standIn);
void resetOsStandIn();

// GetVersionEx: false when the call fails.
bool getVersionEx(OsVersionInfo& out);
uint16_t nativeProcessorArchitecture();
uint32_t productInfo(uint32_t major, uint32_t minor);
int32_t systemMetric(int32_t index);

// The host's network name (the short host name), empty when unknown.
std::string computerName();
// The first IPv4 address of an interface that is up and not loopback; the host name's own
// address when there is none; empty when neither is known. Tests may fix the answer (empty:
// a machine without a network).
std::string hostIPv4Address();
void setHostIPv4Address(std::optional<std::string> address);
// Resident memory of this process in bytes; 0 when unknown. Tests may fix the figure.
uint64_t residentMemoryBytes();
void setResidentMemory(std::optional<uint64_t> bytes);

// The Windows and system folders, and the shell's special folders by CSIDL (empty when the
// shell does not know one), as Windows paths without a trailing backslash.
std::string windowsFolder();
std::string systemFolder();
std::string specialFolder(int32_t csidl);

// The disk shares of a computer; empty on this machine unless a test fills it.
struct ShareInfo {
    std::string netName;
    uint32_t type = 0;  // 0 = disk share
    std::string path;   // local path (empty at level 1)
};
// NetShareEnum at level 1 or 2: 0 and the shares, or a platform code (5 access denied, 53 bad
// server name).
int32_t enumShares(const std::string& server, int level, std::vector<ShareInfo>& out);
void setShares(const std::vector<ShareInfo>& shares, bool level2Denied = false);

// Back to the start of the process: the real machine's answers, no share, no fixed figure.
void resetSystemInfo();

}  // namespace platform::system
