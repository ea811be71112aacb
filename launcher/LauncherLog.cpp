// Monthly launcher log: named and stamped through the clock seam, so AL3_CLOCK moves it.
#include "launcher/LauncherLog.h"

#include <cstdio>

#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "platform/WinPath.h"

namespace {

std::string stamp(const char* format, const platform::LocalTimeFields& t) {
    char text[32];
    std::snprintf(text, sizeof text, format, t.year, t.month, t.day, t.hour, t.minute, t.second);
    return text;
}

}  // namespace

LauncherLog::LauncherLog() {
    const std::string name =
        "AL3_Relaytone_Launcher_" + stamp("%04d-%02d", platform::clock::localNow()) + ".Log";
    file_.open(platform::winpath::toHost(platform::winpath::programFolder() + name),
               std::ios::binary | std::ios::app);
}

void LauncherLog::WriteLine(const std::string& text) {
    if (!file_.is_open()) return;
    file_ << platform::cp1252::fromUtf8(text) << "\r\n";
    file_.flush();
}

void LauncherLog::WriteDated(const std::string& text) {
    WriteLine(stamp("%04d-%02d-%02d %02d:%02d:%02d", platform::clock::localNow()) + text);
}
