// Lib_Systeme's questions about the machine: Windows version, host address, names, memory, shares.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/SystemInfo.h"

inline int32_t PbLVersionOS = 0;       // Windows generation code: 10, 8, 7, 6, 2003, 5, 2000
inline bool PbBWindows64Bits = false;  // a 64-bit Windows of version 6 or later
// The platform's version record, filled by the settings-folder set-up.
inline platform::system::OsVersionInfo PbTInfoVersionOS;

namespace Lib_Systeme {

using ShareInfo = platform::system::ShareInfo;

// "Microsoft Windows 10 , 64-bit  (build 9200)"; empty when the version cannot be told.
// Sets PbLVersionOS and, on a 64-bit Windows 6 or later, PbBWindows64Bits.
std::string GetOSDisplayString();
// The host's first IPv4 address that is not a loopback one, in dotted form; empty when none.
std::string GetHostName();
std::string ComputerName();
// This process's resident memory in megabytes, a half to the even neighbour.
int32_t GetMemoryUsage();
// The Windows folder, the system folder and a special folder (CSIDL), without a trailing "\".
std::string GetWinDir();
std::string GetWinSysDir();
std::string GetSpecialFolderLocation(int32_t csidl);
// The shares of a computer (empty name: this one): their number, negated when only the
// listing without local paths was allowed; 0 and the vector unchanged when the listing fails.
int32_t GetShareList(std::vector<ShareInfo>& shares, const std::string& serverName);
// GetShareList on the Windows NT family, 0 elsewhere.
int32_t GetLocalShareList(std::vector<ShareInfo>& shares, const std::string& serverName);

// Back to the start of the process: no version told yet.
inline void resetSystemQueries() {
    PbLVersionOS = 0;
    PbBWindows64Bits = false;
    PbTInfoVersionOS = {};
}

}  // namespace Lib_Systeme
