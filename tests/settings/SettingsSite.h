// A fixture site for the settings window: program folder, one base of three stations.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "tests/support/TempSite.h"

namespace settings_test {

class SettingsSite : public support::SiteTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads the engine window, then the settings window (which loads its pages).
    void loadWindows();
    // The boxes asked since loadWindows: the load's own (no sound device for the output) left out.
    static std::vector<platform::dialogs::Asked> askedSinceLoad();
    // Unloads the settings window and its pages and forgets them, as at the end of a run.
    void unloadWindows();

    std::filesystem::path programSettings() const;  // Settings\AL3_Relaytone\AL3_Relaytone.Ini
    std::filesystem::path baseSettings() const;     // the base's AL3_Relaytone.Ini
    std::filesystem::path systemFile() const;       // the base's AL3_Systeme.ini
    void writeProgramSettings(const std::string& text) const;
    void writeBaseSettings(const std::string& text) const;

    // Every log line written so far, oldest first.
    static std::vector<std::string> logLines();
    static bool logged(const std::string& fragment);
    static int countLogged(const std::string& fragment);
    // A loopback port that nothing holds at the moment.
    static uint16_t freeUdpPort();
};

}  // namespace settings_test
