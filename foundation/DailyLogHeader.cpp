// The day header: what the day's file says first about the machine and the program.
#include <QtGlobal>

#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/FileVersions.h"
#include "foundation/RunState.h"
#include "foundation/Timing.h"
#include "platform/WinPath.h"

namespace dailylog {
namespace {

const std::string kMark = "==:==:==:====:=:=:=:";
const std::string kRule = "===========================================";

std::string executableName() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("AL3_Relaytone") : exe.stem().string();
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
    const std::string radio =
        PbIIndexNomRadio >= 0 && PbIIndexNomRadio < int16_t(PbSNomRadio.size())
            ? PbSNomRadio[size_t(PbIIndexNomRadio)]
            : std::string();
    const std::string components = std::string("Qt ") + qVersion();
    std::vector<std::string> lines = {
        kMark + kRule + " |Sub: " + caller,
        kMark + "System started since " + UptimeText(Lib_Systeme::GetTickCountEx()),
        kMark + "App.Version: " + Lib_Systeme::VersionApplication(),
        kMark + "App.ExeName: " + PbSDossierApplication + executableName() + ".exe",
        kMark + "App.ProductName: " + version.productName,
    };
    lines.push_back(kMark + "Id Radio: " + std::to_string(PbIIdRadio) + ": " + radio);
    lines.push_back(kMark + "PropertyGrid.Version: " + components);
    lines.push_back(kMark + "SkinFramework.Version: " + components);
    lines.push_back(kMark + "Engine.Version: " + PbSBtrEngineVersion);
    lines.push_back(kMark + kRule);
    lines.push_back(kMark + PbSNomRadio[0]);
    lines.push_back(kMark + kRule);
    return lines;
}

}  // namespace dailylog
