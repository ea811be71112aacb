// The audio output's fixture site.
#include "tests/engine/AudioSite.h"

#include "foundation/SettingsFiles.h"
#include "tests/support/WindowsFiles.h"

namespace audio_test {

void AudioSite::SetUp() {
    SettingsSite::SetUp();
    Lib_Public::NomDossierSettings();
    Frm_MainBis::get();
    son();
}

void AudioSite::TearDown() {
    // The outputs close while their sound server is still there.
    if (Frm_MainBis::exists()) {
        int16_t d0 = 0, d1 = 0, d2 = 0, d3 = 0;
        amp().CloseAllPlayers();
        amp().ReleaseSystem(4, 0, d0, d1, d2, d3);
    }
    SettingsSite::TearDown();
}

void AudioSiteWithDevices::SetUp() {
    if (!server.available()) GTEST_SKIP() << server.missing();
    AudioSite::SetUp();
}

std::vector<std::string> AudioSite::textsSince(size_t mark) {
    std::vector<std::string> texts;
    const auto lines = logLines();
    for (size_t i = mark; i < lines.size(); ++i) {
        // stamp " :" c1 c2 c3 elapsed ":" text: the text follows the sixth colon after the stamp.
        const std::string& line = lines[i];
        size_t at = line.find(" :");
        for (int colons = 0; at != std::string::npos && colons < 5; ++colons) at = line.find(':', at + 1);
        texts.push_back(at == std::string::npos ? line : line.substr(at + 1));
    }
    return texts;
}

std::string AudioSite::lineWith(const std::string& fragment) {
    for (const auto& line : logLines())
        if (line.find(fragment) != std::string::npos) return line;
    return {};
}

std::string AudioSite::columns(int c1, int c2, int c3) {
    auto one = [](int v) { return v < 0 ? std::string(" :") : std::to_string(v) + ":"; };
    return " :" + one(c1) + one(c2) + one(c3);
}

void AudioSite::storeDevice(const std::string& value) const {
    writeProgramSettings("[DirectX_Player_00]\nDevice=" + value + "\n");
}

}  // namespace audio_test
