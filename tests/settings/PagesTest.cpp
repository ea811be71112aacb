// The sound page's output handlers and the miscellaneous page's memory option and test mail.
#include <gtest/gtest.h>

#include <functional>

#include <QTest>

#include "engine/Lib_DirectX.h"
#include "foundation/NeighbourServices.h"
#include "foundation/SettingsFiles.h"
#include "platform/Dialogs.h"
#include "settings/FrmSetup.h"
#include "settings/FrmSetupDivers.h"
#include "settings/FrmSetupPeripherique.h"
#include "settings/FrmSetupSon.h"
#include "settings/PageControls.h"
#include "settings/SettingsFlags.h"
#include "tests/settings/SettingsSite.h"

namespace settings_test {
namespace {

namespace dlg = platform::dialogs;
using platform::forms::vbChecked;
using platform::forms::vbUnchecked;

// The first line of every start of the audio output.
const char* const kStartLine = " |ControlVersion: ";

class SoundPage : public SettingsSite {
protected:
    void SetUp() override {
        SettingsSite::SetUp();
        loadWindows();
        son().ComboPeripheriqueOut[0]->AddItem("Speakers");
        son().ComboPeripheriqueOut[0]->AddItem("Line out");
        son().ComboPeripheriqueOut[0]->AddItem("Headphones");
    }
    static FrmSetupSon& son() { return FrmSetupSon::get(); }
};

TEST_F(SoundPage, TheNatureStartsTheOutputOnlyWhileTheCardIsActive) {
    const struct {
        int card;
        int nature;
        const char* logLine;
        bool starts;
        bool marks;
    } cases[] = {
        {vbChecked, 1, "Pipe Nature: Set to DirectX", true, true},
        {vbChecked, 0, "Pipe Nature: Set to Null", true, true},
        {vbChecked, 2, nullptr, false, true},
        {vbUnchecked, 1, nullptr, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nature);
        son().ComboNatureTrancheOut[0]->SetListIndex(-1);
        son().CheckSoundCard->SetValue(c.card);
        OptionsModifiees = false;
        const int starts = countLogged(kStartLine);
        const int before = c.logLine ? countLogged(c.logLine) : 0;
        son().ComboNatureTrancheOut[0]->SetListIndex(c.nature);
        EXPECT_EQ(countLogged(kStartLine), starts + (c.starts ? 1 : 0));
        if (c.logLine) {
            EXPECT_EQ(countLogged(c.logLine), before + 1);
        }
        EXPECT_EQ(OptionsModifiees, c.marks);
    }
}

TEST_F(SoundPage, TheDeviceIsKeptForBothDirectXNatures) {
    const struct {
        int nature;
        int16_t kept;
    } cases[] = {{1, 2}, {0, 2}, {2, 0}};
    // With the card off no start refills the device list under the test.
    son().CheckSoundCard->SetValue(vbUnchecked);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nature);
        PbTPipesOut[0].selectedDevice = 0;
        son().ComboNatureTrancheOut[0]->SetListIndex(c.nature);
        son().ComboPeripheriqueOut[0]->SetListIndex(-1);
        OptionsModifiees = false;
        son().ComboPeripheriqueOut[0]->SetListIndex(2);
        EXPECT_EQ(PbTPipesOut[0].selectedDevice, c.kept);
        EXPECT_TRUE(OptionsModifiees);
    }
    // The save writes the kept device, not the list's selection.
    son().ComboNatureTrancheOut[0]->SetListIndex(1);
    PbTPipesOut[0].selectedDevice = 1;
    son().CheckSoundCard->SetValue(vbChecked);
    FrmSetup::get().CommandSave_Click();
    EXPECT_EQ(Lib_Systeme::LectureIni("C:\\Prog\\Settings\\AL3_Relaytone\\AL3_Relaytone.Ini",
                                      "DirectX_Player_00", "Device"),
              "1");
}

// The operator's moves of a level slider, on the page as it shows: each applies and marks as a
// drag does; a value set by the code does neither.
TEST_F(SoundPage, EveryOperatorMoveOfALevelSliderAppliesTheLevelAndMarksTheGroup) {
    // The level goes to the four players; with no device started each refuses it.
    const std::string levelAsked = "|SetPlayerVolumeEx |Sub: Lib_DirectX:DirectXPipeSetLevelOut";
    son().Show();
    const struct {
        const char* what;
        std::function<void(settings::Slider&)> move;
    } moves[] = {
        {"key step", [](settings::Slider& s) { QTest::keyClick(&s, Qt::Key_Left); }},
        {"page step", [](settings::Slider& s) { QTest::keyClick(&s, Qt::Key_PageDown); }},
        {"click on the groove",
         [](settings::Slider& s) { QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(2, s.height() / 2)); }},
        {"drag",
         [](settings::Slider& s) {
             s.setSliderDown(true);
             s.setSliderPosition(s.sliderPosition() - 7);
             s.setSliderDown(false);
         }},
    };
    const struct {
        const char* what;
        settings::Slider* slider;
        int32_t mode;  // PbLModeSortiePipe[0]: 1 once a device was found
        int levels;    // players the level goes to
    } sliders[] = {
        {"analog, device found", son().SliderAnalogLevelOut[0], 1, 4},
        {"analog, no device yet", son().SliderAnalogLevelOut[0], 0, 0},
        {"digital", son().SliderDigitalLevelOut[0], 1, 0},
    };
    for (const auto& slider : sliders) {
        Lib_DirectX::PbLModeSortiePipe[0] = slider.mode;
        // A value from the code: no level, no mark.
        OptionsModifiees = false;
        int levels = countLogged(levelAsked);
        slider.slider->SetValue(-5);
        EXPECT_EQ(countLogged(levelAsked), levels) << slider.what;
        EXPECT_FALSE(OptionsModifiees) << slider.what;
        for (const auto& move : moves) {
            SCOPED_TRACE(std::string(slider.what) + ", " + move.what);
            OptionsModifiees = false;
            levels = countLogged(levelAsked);
            const int before = slider.slider->Value();
            move.move(*slider.slider);
            EXPECT_LT(slider.slider->Value(), before);
            EXPECT_TRUE(OptionsModifiees);
            EXPECT_EQ(countLogged(levelAsked), levels + slider.levels);
        }
    }
    // A move while the settings load marks nothing.
    FrmSetupEnChargement = true;
    OptionsModifiees = false;
    QTest::keyClick(son().SliderDigitalLevelOut[0], Qt::Key_Left);
    EXPECT_FALSE(OptionsModifiees);
    FrmSetupEnChargement = false;
}

TEST_F(SoundPage, EveryEffectControlMarksTheEffectGroup) {
    const std::function<void()> changes[] = {
        [] { son().CheckEffectActif[1]->SetValue(vbChecked); },
        [] { son().CheckEffetCutDebut->SetValue(vbChecked); },
        [] { son().CheckEffetCutFin->SetValue(vbChecked); },
        [] { son().OptionEffetTrim[1]->SetValue(true); },
        [] { son().OptionEffetNormalise[2]->SetValue(true); },
        [] { son().TexteEffetCutSeuil[1]->SetText("300"); },
        [] { son().TexteEffetNormalisationMax->SetText("9"); },
        [] { son().SliderEffetNormalisation[0]->SetValue(-20); },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        SCOPED_TRACE(i);
        OptionsConvertModifiees = false;
        changes[i]();
        EXPECT_TRUE(OptionsConvertModifiees);
        EXPECT_FALSE(OptionsModifiees);
    }
}

// What the engine window's mail is asked to send.
class RecordingEngine : public neighbours::Frm_MainBisServices {
public:
    void EnvoiMail(bool modeTest, const std::string& emailsTo, const std::string& message,
                   const std::string& captionText, bool technique) override {
        sent.push_back({modeTest, emailsTo, message, captionText, technique});
    }
    struct Mail {
        bool modeTest;
        std::string to, message, captionText;
        bool technique;
    };
    std::vector<Mail> sent;
};

class MiscPage : public SettingsSite {
protected:
    void SetUp() override {
        SettingsSite::SetUp();
        loadWindows();
        neighbours::registerFrm_MainBis(&engine);
    }
    void TearDown() override {
        neighbours::registerFrm_MainBis(nullptr);
        SettingsSite::TearDown();
    }
    static FrmSetupDivers& misc() { return FrmSetupDivers::get(); }
    RecordingEngine engine;
};

TEST_F(MiscPage, TheTestMailNeedsRecipients) {
    for (const char* blank : {"", "   "}) {
        misc().TexteEmailsAdresses->SetText(blank);
        misc().CommandEmailTest_Click();
    }
    EXPECT_TRUE(engine.sent.empty());
    ASSERT_EQ(askedSinceLoad().size(), 2u);
    EXPECT_EQ(askedSinceLoad()[0].text, "Veuillez renseigner un ou plusieurs emails (séparés pas des ;).");

    misc().TexteEmailsAdresses->SetText("ops@radio.test;tech@radio.test");
    misc().CommandEmailTest_Click();
    ASSERT_EQ(engine.sent.size(), 1u);
    EXPECT_TRUE(engine.sent[0].modeTest);
    EXPECT_EQ(engine.sent[0].to, "ops@radio.test;tech@radio.test");
    EXPECT_EQ(engine.sent[0].message, "Test d'envoi de mail.");
    EXPECT_EQ(engine.sent[0].captionText, "");
    EXPECT_TRUE(engine.sent[0].technique);
}

// The main window's memory label as the memory option shows and hides it.
class RecordingMainWindow : public neighbours::Frm_MainServices {
public:
    void LabelAffichageMemory_SetVisible(bool visible) override { shown.push_back(visible); }
    std::vector<bool> shown;
};

TEST_F(MiscPage, TheMemoryBoxStartsAndStopsTheMeasurement) {
    RecordingMainWindow main;
    neighbours::registerFrm_Main(&main);
    misc().CheckMemory->SetValue(vbChecked);
    EXPECT_TRUE(misc().MemoryTimerActive());
    EXPECT_TRUE(OptionsModifiees);
    misc().CheckMemory->SetValue(vbUnchecked);
    EXPECT_FALSE(misc().MemoryTimerActive());
    misc().CheckMemory->SetValue(platform::forms::vbGrayed);
    EXPECT_FALSE(misc().MemoryTimerActive());
    neighbours::registerFrm_Main(nullptr);
    EXPECT_EQ(main.shown, (std::vector<bool>{true, false}));
}

TEST_F(MiscPage, TheFoundationReadsTheLiveControls) {
    misc().TexteEmailsAdresses->SetText("alerts@radio.test");
    misc().CheckEmail[1]->SetValue(vbChecked);
    misc().ComboNbJourPoste->SetListIndex(12);
    auto& seen = neighbours::FrmSetup();
    EXPECT_EQ(seen.TexteEmailsAdresses(), "alerts@radio.test");
    EXPECT_EQ(seen.CheckEmail(1), vbChecked);
    EXPECT_EQ(seen.CheckEmail(0), vbUnchecked);
    EXPECT_EQ(seen.ComboNbJourPoste_ListIndex(), 12);
}

// The engine and the shell read the same way: unsaved edits count, out-of-range rows read empty,
// and a read after the shut-down's unload sees the boxes as they stood without loading them again.
TEST_F(MiscPage, EveryReaderSeesTheBoxesAsTheyStandAndNoReadLoadsAPage) {
    auto& seen = neighbours::FrmSetup();
    misc().CheckLaunch->SetValue(vbChecked);
    misc().CheckMiseEnVeille->SetValue(vbChecked);
    FrmSetupPeripherique::get().TexteUDPIPSource[2]->SetText("127.0.0.9");
    FrmSetupPeripherique::get().TexteUDPPortSource[2]->SetText("6300");
    FrmSetupSon::get().TexteTailleBuffer->SetText("750");
    EXPECT_EQ(seen.CheckLaunch(), vbChecked);
    EXPECT_EQ(seen.CheckMiseEnVeille(), vbChecked);
    EXPECT_EQ(seen.TexteUDPIPSource(2), "127.0.0.9");
    EXPECT_EQ(seen.TexteUDPPortSource(2), "6300");
    EXPECT_EQ(seen.TexteUDPIPSource(-1), "");
    EXPECT_EQ(seen.TexteUDPPortSource(int16_t(FrmSetupPeripherique::get().TexteUDPPortSource.size())), "");
    EXPECT_EQ(seen.CheckEmail(6), 0);
    EXPECT_EQ(seen.TexteTailleBuffer(), "750");
    EXPECT_EQ(seen.ComboPeripheriqueOut_Text(), FrmSetupSon::get().ComboPeripheriqueOut[0]->Text());

    ASSERT_TRUE(FrmSetupDivers::get().Unload(platform::forms::vbFormCode));
    EXPECT_EQ(seen.CheckLaunch(), vbChecked);
    EXPECT_FALSE(FrmSetupDivers::exists());
}

TEST_F(MiscPage, EveryOptionMarksTheGeneralGroup) {
    const std::function<void()> changes[] = {
        [] { misc().CheckEmail[3]->SetValue(vbChecked); },
        [] { misc().CheckLaunch->SetValue(vbChecked); },
        [] { misc().CheckMiseEnVeille->SetValue(vbChecked); },
        [] { misc().CheckSMTPS->SetValue(vbChecked); },
        [] { misc().ComboNbJourPoste->SetListIndex(1); },
        [] { misc().TexteEmailsAdresses->SetText("x@radio.test"); },
        [] { FrmSetupSon::get().TexteTailleBuffer->SetText("800"); },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        SCOPED_TRACE(i);
        OptionsModifiees = false;
        changes[i]();
        EXPECT_TRUE(OptionsModifiees);
        EXPECT_FALSE(OptionsPeripheriquesModifiees || OptionsConvertModifiees);
    }
}

}  // namespace
}  // namespace settings_test
