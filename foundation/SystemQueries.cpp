// Machine queries over the platform stand-ins; the Windows version table.
#include "foundation/SystemQueries.h"

#include "foundation/ConversionsVba.h"

namespace Lib_Systeme {
namespace {

namespace sys = platform::system;

constexpr uint16_t kX86 = 0, kItanium = 6, kX64 = 9;

std::string architectureSuffix(uint16_t architecture) {
    if (architecture == kX64) {
        PbBWindows64Bits = true;
        return ", 64-bit";
    }
    return architecture == kX86 ? ", 32-bit" : "";
}

std::string editionOfVista(uint32_t code) {
    switch (code) {
        case 1:
            return "Ultimate Edition";
        case 2:
            return "Home Basic Edition";
        case 3:
            return "Home Premium Edition";
        case 4:
            return "Enterprise Edition";
        case 6:
            return "Business Edition";
        case 7:
            return "Standard Edition";
        case 8:
            return "Datacenter Edition";
        case 9:
            return "Small Business Server";
        case 10:
            return "Enterprise Edition";
        case 11:
            return "Starter Edition";
        case 12:
            return "Datacenter Edition (core installation)";
        case 13:
            return "Standard Edition (core installation)";
        case 14:
            return "Enterprise Edition (core installation)";
        case 15:
            return "Enterprise Edition for Itanium-based Systems";
        case 17:
            return "Web Server Edition";
        case 18:
            return "Cluster Server Edition";
        case 25:
            return "Small Business Server Premium Edition";
        default:
            return "";
    }
}

std::string server2003(const sys::OsVersionInfo& v, uint16_t architecture) {
    std::string text;
    if (sys::systemMetric(89) != 0)
        text = "Windows Server 2003 R2, ";
    else if (v.suiteMask == 0x2000)
        text = "Windows Storage Server 2003";
    else if (v.productType == 1 && architecture == kX64)
        text = "Windows XP Professional x64 Edition";
    else
        text = "Windows Server 2003, ";
    if (v.productType == 1) return text;
    const bool datacenter = v.suiteMask & 0x0080, enterprise = v.suiteMask & 0x0002;
    if (architecture == kItanium) {
        if (datacenter) return text + "Datacenter Edition for Itanium-based Systems";
        if (enterprise) return text + "Enterprise Edition for Itanium-based Systems";
        return text;
    }
    if (architecture == kX64) {
        if (datacenter) return text + "Datacenter x64 Edition";
        if (enterprise) return text + "Enterprise x64 Edition";
        return text + "Standard x64 Edition";
    }
    if (v.suiteMask & 0x4000) return text + "Compute Cluster Edition";
    if (datacenter) return text + "Datacenter Edition";
    if (enterprise) return text + "Enterprise Edition";
    if (v.suiteMask & 0x0400) return text + "Web Edition";
    return text + "Standard Edition";
}

std::string homeOrProfessional(const sys::OsVersionInfo& v) {
    return (v.suiteMask & 0x0200) ? "Home Edition" : "Professional";
}

}  // namespace

std::string GetOSDisplayString() {
    sys::OsVersionInfo v;
    if (!sys::getVersionEx(v)) return {};
    const uint16_t architecture = sys::nativeProcessorArchitecture();
    if (v.platformId != 2 || v.majorVersion <= 4) return {};

    std::string text = "Microsoft ";
    const uint32_t major = v.majorVersion, minor = v.minorVersion;
    if (major == 6 && minor == 2 && v.buildNumber == 9200) {
        text += "Windows 10 " + architectureSuffix(architecture);
        PbLVersionOS = 10;
    } else if (major == 6 && minor == 3) {
        text += "Windows 8.1 " + architectureSuffix(architecture);
        PbLVersionOS = 8;
    } else if (major == 6 && minor == 2) {
        text += "Windows 8 " + architectureSuffix(architecture);
        PbLVersionOS = 8;
    } else if (major == 6 && minor == 1) {
        text += "Windows 7 " + homeOrProfessional(v) + architectureSuffix(architecture);
        PbLVersionOS = 7;
    } else if (major == 6 && minor == 0) {
        text += (v.productType == 1 ? "Windows Vista " : "Windows Server 2008 ") +
                editionOfVista(sys::productInfo(6, 0)) + architectureSuffix(architecture);
        PbLVersionOS = 6;
    } else if (major == 5 && minor == 2) {
        text += server2003(v, architecture);
        PbLVersionOS = 2003;
    } else if (major == 5 && minor == 1) {
        text += "Windows XP " + homeOrProfessional(v);
        PbLVersionOS = 5;
    } else if (major == 5 && minor == 0) {
        text += "Windows 2000 ";
        if (v.productType == 1)
            text += "Professional";
        else if (v.suiteMask & 0x0080)
            text += "Datacenter Server";
        else if (v.suiteMask & 0x0002)
            text += "Advanced Server";
        else
            text += "Server";
        PbLVersionOS = 2000;
    }
    text += " " + v.csdVersion.substr(0, v.csdVersion.find('\0'));
    return text + " (build " + std::to_string(v.buildNumber) + ")";
}

std::string GetHostName() { return sys::hostIPv4Address(); }

std::string ComputerName() { return sys::computerName(); }

int32_t GetMemoryUsage() { return VBA::CLng(double(sys::residentMemoryBytes()) / 1024.0 / 1024.0); }

std::string GetWinDir() { return sys::windowsFolder(); }
std::string GetWinSysDir() { return sys::systemFolder(); }
std::string GetSpecialFolderLocation(int32_t csidl) { return sys::specialFolder(csidl); }

int32_t GetShareList(std::vector<ShareInfo>& shares, const std::string& serverName) {
    std::vector<ShareInfo> listed;
    int level = 2;
    int32_t status = sys::enumShares(serverName, level, listed);
    if (status == 5) {
        level = 1;
        status = sys::enumShares(serverName, level, listed);
    }
    if (status != 0) return 0;
    if (!listed.empty()) shares = listed;
    const int32_t count = int32_t(listed.size());
    return level == 1 ? -count : count;
}

int32_t GetLocalShareList(std::vector<ShareInfo>& shares, const std::string& serverName) {
    if (PbTInfoVersionOS.platformId != 2) return 0;
    return GetShareList(shares, serverName);
}

}  // namespace Lib_Systeme
