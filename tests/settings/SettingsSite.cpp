// The settings window's fixture site.
#include "tests/settings/SettingsSite.h"

#include <algorithm>
#include <sstream>

#include <QUdpSocket>

#include "engine/Frm_MainBis.h"
#include "foundation/LogBuffers.h"
#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "foundation/SystemQueries.h"
#include "platform/WinPath.h"
#include "settings/FrmSetup.h"
#include "settings/SettingsFlags.h"
#include "tests/settings/SettingsWindows.h"
#include "tests/support/WindowsFiles.h"

namespace settings_test {
namespace fs = std::filesystem;

void SettingsSite::SetUp() {
    PbSDossierApplication = "C:\\Prog\\";
    fs::create_directories(drive.host("C:\\Prog\\"));
    PbLVersionOS = 10;
    support::writeWindowsFile(drive.host("C:\\Prog\\Settings\\AL3_Config.ini"),
                              "[Site]\nDossier_Config_Global=C:\\Config\\\nNbBase=1\n"
                              "[Sites]\nNbBase=1\n");
    PbSDossierConfigBase[0] = "C:\\Config\\";
    PbTBases[0].NbStation = 3;
    for (int s = 0; s < 3; ++s) PbTBases[0].Stations[s].Lib = "Station " + std::to_string(s + 1);
    PbINbLignesUDP = 3;
    PbINbStations = 3;
}

void SettingsSite::TearDown() {
    OptionsModifiees = OptionsPeripheriquesModifiees = OptionsConvertModifiees = false;
    unloadWindows();
    if (Frm_MainBis::exists()) Frm_MainBis::get().Unload(platform::forms::vbFormCode);
}

namespace {
size_t boxesAtLoad = 0;
}

void SettingsSite::loadWindows() {
    Frm_MainBis::get();
    FrmSetup::get();
    boxesAtLoad = platform::dialogs::asked().size();
}

std::vector<platform::dialogs::Asked> SettingsSite::askedSinceLoad() {
    auto asked = platform::dialogs::asked();
    if (boxesAtLoad <= asked.size()) asked.erase(asked.begin(), asked.begin() + long(boxesAtLoad));
    return asked;
}

void SettingsSite::unloadWindows() { unloadSettingsWindows(); }

fs::path SettingsSite::programSettings() const {
    return drive.host("C:\\Prog\\Settings\\AL3_Relaytone\\AL3_Relaytone.Ini");
}

fs::path SettingsSite::baseSettings() const { return drive.host("C:\\Config\\AL3_Relaytone.Ini"); }

fs::path SettingsSite::systemFile() const { return drive.host("C:\\Config\\AL3_Systeme.ini"); }

void SettingsSite::writeProgramSettings(const std::string& text) const {
    support::writeWindowsFile(programSettings(), text);
}

void SettingsSite::writeBaseSettings(const std::string& text) const {
    support::writeWindowsFile(baseSettings(), text);
}

std::vector<std::string> SettingsSite::logLines() {
    std::vector<std::string> lines;
    const fs::path folder = platform::winpath::toHost(PbSDossierLog);
    if (!PbSDossierLog.empty() && fs::is_directory(folder)) {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            std::istringstream text(support::readWindowsFile(file));
            for (std::string line; std::getline(text, line);) lines.push_back(line);
        }
    }
    for (const auto& line : logbuffers::earlyBuffer()) lines.push_back(line);
    for (const auto& line : logbuffers::fileBuffer()) lines.push_back(line);
    return lines;
}

bool SettingsSite::logged(const std::string& fragment) { return countLogged(fragment) > 0; }

int SettingsSite::countLogged(const std::string& fragment) {
    const auto lines = logLines();
    return int(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(fragment) != std::string::npos;
    }));
}

uint16_t SettingsSite::freeUdpPort() {
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

}  // namespace settings_test
