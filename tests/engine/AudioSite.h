// The audio output's fixture: the settings site with the engine window and the sound page loaded.
#pragma once

#include <string>
#include <vector>

#include "engine/Frm_MainBis.h"
#include "settings/FrmSetupSon.h"
#include "tests/engine/SoundServer.h"
#include "tests/settings/SettingsSite.h"

namespace audio_test {

class AudioSite : public settings_test::SettingsSite {
protected:
    void SetUp() override;
    void TearDown() override;

    static platform::audio::Amp3dj& amp() { return Frm_MainBis::get().Amp3dj1[0]; }
    static FrmSetupSon& son() { return FrmSetupSon::get(); }
    // The texts of the log lines written since the mark, without stamp and columns.
    static std::vector<std::string> textsSince(size_t mark);
    static size_t mark() { return logLines().size(); }
    // The whole line holding the fragment (empty when none): its columns can be read.
    static std::string lineWith(const std::string& fragment);
    // The columns as a log line shows them: " :0:2:" for (none, 0, 2).
    static std::string columns(int c1, int c2, int c3);
    void storeDevice(const std::string& value) const;
};

// The same with a private sound server of two null sinks; skipped where the host has none.
class AudioSiteWithDevices : public AudioSite {
protected:
    void SetUp() override;
    SoundServer server{drive.host("C:\\SoundServer"), 2};
};

}  // namespace audio_test
