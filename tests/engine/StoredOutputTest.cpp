// What the file holds for the output survives the saves: a device missing for now, and the
// nature the driver offer stored, until the operator picks another.
#include <gtest/gtest.h>

#include "engine/Lib_DirectX.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "platform/Dialogs.h"
#include "settings/FrmSetup.h"
#include "settings/FrmSetupDivers.h"
#include "settings/SettingsFlags.h"
#include "tests/engine/AudioSite.h"

namespace audio_test {
namespace {

namespace dlg = platform::dialogs;
using platform::audio::Operation;

class StoredOutput : public AudioSiteWithDevices {
protected:
    void storeOutput(const std::string& device) const {
        writeProgramSettings(
            "[SoundCard]\nActive=1\n[General_Out]\nPipe_00_Nature=1\n"
            "[DirectX_Player_00]\nDevice=" +
            device + "\n");
    }
    static std::string stored(const char* section, const char* key) {
        return Lib_Systeme::LectureIni(Lib_Public::NomFichierSettings("", ".Ini"), section, key, "<missing>");
    }
    // A change of the general group that has nothing to do with the sound, then the save.
    static void saveGeneral(const std::string& recipient) {
        FrmSetupDivers::get().TexteEmailsAdresses->SetText(recipient);
        FrmSetup::get().CommandSave_Click();
        ASSERT_EQ(stored("Email", "Adresse"), recipient);
    }
};

// Two devices here: a stored third one is a card unplugged for now, and the output falls back
// on the last device without forgetting it.
TEST_F(StoredOutput, AStoredDeviceTheStartHeldToTheListStaysUntilTheOperatorPicksOne) {
    const struct {
        const char* stored;
        int16_t used;
    } cases[] = {{"5", 1}, {"1", 1}, {"0", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        storeOutput(c.stored);
        loadWindows();
        EXPECT_EQ(PbTPipesOut[0].selectedDevice, c.used);
        EXPECT_TRUE(PbTPipesOut[0].initialised);
        saveGeneral("ops@radio.test");
        EXPECT_EQ(stored("DirectX_Player_00", "Device"), c.stored);
        unloadWindows();
    }

    // The operator's pick is stored, and a later restart of the output keeps it.
    storeOutput("5");
    loadWindows();
    son().ComboPeripheriqueOut[0]->SetListIndex(0);
    EXPECT_EQ(PbTPipesOut[0].selectedDevice, 0);
    FrmSetup::get().CommandSave_Click();
    EXPECT_EQ(stored("DirectX_Player_00", "Device"), "0");
    son().ComboNatureTrancheOut[0]->SetListIndex(0);  // starts the output again from the file
    EXPECT_EQ(PbTPipesOut[0].selectedDevice, 0);
    saveGeneral("night@radio.test");
    EXPECT_EQ(stored("DirectX_Player_00", "Device"), "0");
}

// The offer's Yes stores the third nature for the next start: neither a save nor the forced
// restart's save writes the nature the page had before.
TEST_F(StoredOutput, TheNatureTheDriverOfferStoredSurvivesTheSavesAndTheForcedRestart) {
    storeOutput("1");
    dlg::queueAnswers({"ok", "yes", "ok"});
    amp().failNext(Operation::SetPlayerOutputDevice, platform::audio::kNoValidDriver);
    loadWindows();
    ASSERT_EQ(dlg::asked().size(), 3u);
    EXPECT_EQ(stored("General_Out", "Pipe_00_Nature"), "2");
    EXPECT_EQ(son().ComboNatureTrancheOut[0]->ListIndex(), FrmSetupSon::NatureMaker);
    EXPECT_FALSE(logged("Output start already under way"));
    EXPECT_FALSE(OptionsModifiees);
    EXPECT_TRUE(PbTPipesOut[0].initialised);  // the running output is left as it is

    saveGeneral("ops@radio.test");
    EXPECT_EQ(stored("General_Out", "Pipe_00_Nature"), "2");
    EXPECT_EQ(stored("DirectX_Player_00", "Device"), "1");

    FrmSetupDivers::get().CheckLaunch->SetValue(platform::forms::vbChecked);
    PbBRelanceForcee = true;
    unloadWindows();
    EXPECT_EQ(stored("Windows", "Launch"), "1");
    EXPECT_EQ(stored("General_Out", "Pipe_00_Nature"), "2");

    // The next start reads it: this nature starts no output.
    PbBRelanceForcee = false;
    const size_t from = mark();
    loadWindows();
    EXPECT_EQ(son().ComboNatureTrancheOut[0]->ListIndex(), FrmSetupSon::NatureMaker);
    for (const std::string& text : textsSince(from)) EXPECT_NE(text, "Init DirectX: Out");
}

}  // namespace
}  // namespace audio_test
