// The day header: what the day's file says first about the machine and the program.
#include <filesystem>
#include <optional>

#include <QtGlobal>

#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/FileVersions.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/Registry.h"
#include "foundation/RunState.h"
#include "foundation/SystemQueries.h"
#include "foundation/Timing.h"
#include "platform/MemoryStatus.h"

namespace dailylog {
namespace {

const std::string kMark = "==:==:==:====:=:=:=:";
const std::string kRule = "===========================================";

std::string executableName() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("AL3_Relaytone") : exe.stem().string();
}

std::string activeTheme() {
    std::string value;
    Lib_Systeme::Reg_GetValue(Lib_Systeme::HKEY_CURRENT_USER,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager", "ThemeActive",
                              value);
    return VBA::Val(value) == 0 ? "WinClassic" : "WinXP";
}

std::vector<std::string> memoryLines() {
    platform::system::MemoryStatus status;
    platform::system::globalMemoryStatus(status);
    auto go = [](uint64_t bytes) {
        return Lib_Systeme::FormatGrouped2(double(bytes) / 1024 / 1024 / 1024) + " Go";
    };
    return {
        kMark + "Physical RAM:          " + go(status.totalPhys),
        kMark + "Available RAM:         " + go(status.availPhys),
        kMark + "Loaded RAM:            " + std::to_string(status.memoryLoad) + "%",
        kMark + "Page RAM:              " + go(status.totalPageFile),
        kMark + "Available Page RAM:    " + go(status.availPageFile),
        kMark + "Virtual RAM:           " + go(status.totalVirtual),
        kMark + "Available Virtual RAM: " + go(status.availVirtual),
    };
}

// The grid control's version, from the first system folder that holds its file.
std::optional<std::string> gridVersion() {
    const std::string file = "fpSPR80.OCX";
    const std::string caller = "Lib_Public:TraceLogForce";
    const std::string system = Lib_Public::CheckRep(Lib_Systeme::GetWinSysDir());
    const std::string wow = "C:\\Windows\\sysWOW64\\";
    std::optional<std::string> place;
    if (PbBWindows64Bits) {
        for (const std::string& folder : {system, wow})
            if (Lib_Systeme::File_Exist(folder + file, caller)) {
                place = folder;
                break;
            }
    } else if (PbLVersionOS >= 6 && PbLVersionOS <= 12) {
        place = Lib_Systeme::File_Exist(wow + file, caller) ? wow : system;
    } else if (Lib_Systeme::File_Exist(system + file, caller)) {
        place = system;
    }
    if (!place) return std::nullopt;
    Lib_Systeme::VersionFichier(*place + file);
    return VersionFichierInfos;
}

}  // namespace

int64_t UptimeDays(int64_t milliseconds) { return milliseconds / 1000 / 60 / 60 / 24; }

std::string UptimeText(int64_t milliseconds) {
    const double seconds = double(milliseconds) / 1000.0;
    int64_t minutes = int64_t(seconds / 60);
    const int64_t secs = VBA::CLngLng(seconds) % 60;
    int64_t hours = 0, days = 0;
    if (minutes >= 60) {
        hours = minutes / 60;
        minutes %= 60;
    }
    if (hours >= 24) {
        days = hours / 24;
        hours %= 24;
    }
    std::string text;
    if (days > 0)
        text = std::to_string(days) + " D " + std::to_string(hours) + " H ";
    else if (hours > 0)
        text = std::to_string(hours) + " H ";
    return text + std::to_string(minutes) + " Min " + std::to_string(secs) + " Sec";
}

std::vector<std::string> DayHeader(const std::string& caller) {
    const VersionRecord& version = Lib_Systeme::VersionApplicationRecord();
    const std::string radio = PbIIndexNomRadio >= 0 && PbIIndexNomRadio < int16_t(PbSNomRadio.size())
                                  ? PbSNomRadio[size_t(PbIIndexNomRadio)]
                                  : std::string();
    const std::string components = std::string("Qt ") + qVersion();
    std::vector<std::string> lines = {
        kMark + kRule + " |Sub: " + caller,
        kMark + "System started since " + UptimeText(Lib_Systeme::GetTickCountEx()),
        kMark + "App.Version: " + Lib_Systeme::VersionApplication(),
        kMark + "App.ExeName: " + PbSDossierApplication + executableName() + ".exe",
        kMark + "App.ProductName: " + version.productName,
        kMark + "Computer.Name: " + Lib_Systeme::ComputerName(),
        kMark + "ActiveTheme: " + activeTheme(),
        kMark + "Operating System: " + Lib_Systeme::GetOSDisplayString(),
    };
    for (std::string& line : memoryLines()) lines.push_back(std::move(line));
    lines.push_back(kMark + "Id Radio: " + std::to_string(PbIIdRadio) + ": " + radio);
    if (const auto grid = gridVersion()) lines.push_back(kMark + "FPSpread.Version: " + *grid);
    lines.push_back(kMark + "PropertyGrid.Version: " + components);
    lines.push_back(kMark + "SkinFramework.Version: " + components);
    lines.push_back(kMark + "Engine.Version: " + PbSBtrEngineVersion);
    lines.push_back(kMark + kRule);
    lines.push_back(kMark + PbSNomRadio[0]);
    lines.push_back(kMark + kRule);
    return lines;
}

}  // namespace dailylog
