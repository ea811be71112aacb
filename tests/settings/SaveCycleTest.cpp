// Saving by changed group, hiding, the unload question, and a restart that finds what was saved.
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include <QApplication>

#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "platform/Dialogs.h"
#include "platform/Window.h"
#include "platform/forms/Form.h"
#include "settings/FrmSetup.h"
#include "settings/FrmSetupDivers.h"
#include "settings/FrmSetupPeripherique.h"
#include "settings/FrmSetupSon.h"
#include "settings/SettingsFlags.h"
#include "tests/settings/SettingsSite.h"
#include "tests/support/WindowsFiles.h"

namespace settings_test {
namespace {

namespace dlg = platform::dialogs;
namespace fs = std::filesystem;
using platform::forms::vbChecked;
using platform::forms::vbUnchecked;

const std::string kProgramFile = "C:\\Prog\\Settings\\AL3_Relaytone\\AL3_Relaytone.Ini";
const std::string kBaseFile = "C:\\Config\\AL3_Relaytone.Ini";

const std::string kProgramFixture =
    "; kept as the operator wrote it\n[SoundCard]\nActive=1\n[Email]\nAdresse=old@radio.test\n"
    "[Windows]\nNbJoursReboot=2\n";
const std::string kBaseFixture = "[UDP_In_01]\nIP=127.0.0.1\nPort=6100\nActif=0\n[Effet_Cut]\nActive=0\n";

class SaveCycle : public SettingsSite {
protected:
    void SetUp() override {
        SettingsSite::SetUp();
        writeProgramSettings(kProgramFixture);
        writeBaseSettings(kBaseFixture);
    }
    std::string program() const { return support::readBytes(programSettings()); }
    std::string base() const { return support::readBytes(baseSettings()); }
};

TEST_F(SaveCycle, OnlyTheMarkedGroupIsWritten) {
    loadWindows();
    const std::string baseBefore = base();
    FrmSetupDivers::get().TexteEmailsAdresses->SetText("new@radio.test");
    EXPECT_TRUE(OptionsModifiees);
    EXPECT_FALSE(OptionsPeripheriquesModifiees || OptionsConvertModifiees);
    FrmSetup::get().CommandSave_Click();
    EXPECT_FALSE(OptionsModifiees);
    EXPECT_EQ(Lib_Systeme::LectureIni(kProgramFile, "Email", "Adresse"), "new@radio.test");
    EXPECT_EQ(base(), baseBefore);

    const std::string programBefore = program();
    FrmSetupPeripherique::get().TexteUDPPortCible[0]->SetText("7000");
    EXPECT_TRUE(OptionsPeripheriquesModifiees);
    FrmSetup::get().MnuMainSave_Click();
    EXPECT_FALSE(OptionsPeripheriquesModifiees);
    EXPECT_EQ(Lib_Systeme::LectureIni(kBaseFile, "UDP_Out_01", "Port"), "7000");
    EXPECT_EQ(program(), programBefore);

    const std::string baseAfterRows = base();
    FrmSetupSon::get().TexteEffetNormalisationMax->SetText("11");
    EXPECT_TRUE(OptionsConvertModifiees);
    FrmSetup::get().CommandSave_Click();
    EXPECT_EQ(Lib_Systeme::LectureIni(kBaseFile, "Effet_Normalisation", "ValeurMax"), "11");
    EXPECT_EQ(program(), programBefore);
    EXPECT_NE(base(), baseAfterRows);
    // The operator's comment and the other lines stay.
    EXPECT_NE(program().find("; kept as the operator wrote it"), std::string::npos);
}

TEST_F(SaveCycle, EachGroupWritesItsKeys) {
    fs::remove(programSettings());
    fs::remove(baseSettings());
    loadWindows();
    auto& misc = FrmSetupDivers::get();
    misc.CheckEmail[5]->SetValue(vbChecked);
    misc.CheckLaunch->SetValue(vbChecked);
    misc.ComboNbJourPoste->SetListIndex(9);
    auto& page = FrmSetupPeripherique::get();
    page.TexteUDPIPCible[1]->SetText("10.0.0.2");
    auto& son = FrmSetupSon::get();
    son.OptionEffetTrim[1]->SetValue(true);
    son.SliderEffetNormalisation[1]->SetValue(-3);
    FrmSetup::get().CommandSave_Click();

    const struct {
        const std::string& file;
        const char *section, *key, *value;
    } keys[] = {
        {kProgramFile, "SoundCard", "Active", "1"},
        {kProgramFile, "General_Out", "Pipe_00_Nature", "0"},
        // No device was found and the operator picked none: nothing to store.
        {kProgramFile, "DirectX_Player_00", "Device", "<missing>"},
        {kProgramFile, "Email", "Adresse", ""},
        {kProgramFile, "Email", "SMTPS", "0"},
        {kProgramFile, "Emails", "Err_0", "0"},
        {kProgramFile, "Emails", "Err_5", "1"},
        {kProgramFile, "Windows", "RebootVeille", "0"},
        {kProgramFile, "Windows", "Memory", "0"},
        {kProgramFile, "Windows", "Launch", "1"},
        {kProgramFile, "Windows", "NbJoursReboot", "9"},
        {kBaseFile, "UDP_In_01", "Port", "96"},
        {kBaseFile, "UDP_In_03", "Actif", "0"},
        {kBaseFile, "UDP_Out_02", "IP", "10.0.0.2"},
        {kBaseFile, "UDP_Out_03", "Port", "98"},
        {kBaseFile, "UDP_Out_03", "Port2", ""},
        {kBaseFile, "Effet_Cut", "Silence", "1"},
        {kBaseFile, "Effet_Cut", "SeuildB", "-50"},
        {kBaseFile, "Effet_Normalisation", "Nature", "0"},
        {kBaseFile, "Effet_Normalisation", "ValeurFixe", "-3"},
        {kBaseFile, "Effet_Normalisation", "ValeurMax", "8"},
    };
    for (const auto& k : keys)
        EXPECT_EQ(Lib_Systeme::LectureIni(k.file, k.section, k.key, "<missing>"), k.value)
            << k.section << "/" << k.key;
    // Rows beyond the station count are never written.
    EXPECT_EQ(Lib_Systeme::LectureIni(kBaseFile, "UDP_In_04", "Port", "<missing>"), "<missing>");
    EXPECT_EQ(Lib_Systeme::LectureIni(kProgramFile, "General_Out", "NbZones", "<missing>"), "<missing>");
}

TEST_F(SaveCycle, WithTheSoundCardOffItsOutputKeysStayAsTheFileHasThem) {
    writeProgramSettings(
        "[SoundCard]\nActive=1\n[General_Out]\nPipe_00_Nature=2\n"
        "[DirectX_Player_00]\nDevice=4\n");
    loadWindows();
    FrmSetupSon::get().CheckSoundCard->SetValue(vbUnchecked);
    EXPECT_TRUE(OptionsModifiees);
    FrmSetup::get().CommandSave_Click();
    EXPECT_EQ(Lib_Systeme::LectureIni(kProgramFile, "SoundCard", "Active"), "0");
    EXPECT_EQ(Lib_Systeme::LectureIni(kProgramFile, "General_Out", "Pipe_00_Nature"), "2");
    EXPECT_EQ(Lib_Systeme::LectureIni(kProgramFile, "DirectX_Player_00", "Device"), "4");
}

// No device found (as here): the device list stays empty and the pipe's device is not one the
// operator or the program chose, so neither a save nor the forced restart's writes it.
TEST_F(SaveCycle, WithoutASoundDeviceTheStoredDeviceStaysAcrossSavesAndTheForcedRestart) {
    writeProgramSettings(
        "[SoundCard]\nActive=1\n[General_Out]\nPipe_00_Nature=1\n"
        "[DirectX_Player_00]\nDevice=3\n");
    loadWindows();
    ASSERT_EQ(FrmSetupSon::get().ComboPeripheriqueOut[0]->ListCount(), 0);
    FrmSetupDivers::get().TexteEmailsAdresses->SetText("ops@radio.test");
    FrmSetup::get().CommandSave_Click();
    EXPECT_EQ(Lib_Systeme::LectureIni(kProgramFile, "Email", "Adresse"), "ops@radio.test");
    EXPECT_EQ(Lib_Systeme::LectureIni(kProgramFile, "DirectX_Player_00", "Device"), "3");
    EXPECT_EQ(Lib_Systeme::LectureIni(kProgramFile, "General_Out", "Pipe_00_Nature"), "1");

    FrmSetupDivers::get().CheckLaunch->SetValue(vbChecked);
    PbBRelanceForcee = true;
    unloadWindows();
    EXPECT_EQ(Lib_Systeme::LectureIni(kProgramFile, "Windows", "Launch"), "1");
    EXPECT_EQ(Lib_Systeme::LectureIni(kProgramFile, "DirectX_Player_00", "Device"), "3");
}

TEST_F(SaveCycle, UnloadAsksOnlyWhenAGroupIsMarked) {
    const struct {
        const char* name;
        bool change;
        bool forced;
        const char* answer;
        bool asked;
        bool saved;
        bool unattendedStop = false;  // nobody answers: the stored settings stay as they were
    } cases[] = {
        {"nothing changed", false, false, "yes", false, false},
        {"changed, yes", true, false, "yes", true, true},
        {"changed, no", true, false, "no", true, false},
        {"changed, forced restart", true, true, "no", false, true},
        {"changed, stop by signal", true, false, "yes", true, false, true},
        {"changed, forced restart, stop by signal", true, true, "no", false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeProgramSettings(kProgramFixture);
        dlg::reset();
        PbBRelanceForcee = c.forced;
        loadWindows();
        if (c.change) FrmSetupDivers::get().CheckMiseEnVeille->SetValue(vbChecked);
        const std::string before = program();
        const std::string caption = FrmSetup::get().Caption();
        dlg::queueAnswers({c.answer});
        // Shared with the report, which may outlive this turn of the loop.
        const auto stopLines = std::make_shared<std::vector<std::string>>();
        if (c.unattendedStop) {
            dlg::setStopReport([stopLines](const std::string& line) { stopLines->push_back(line); });
            dlg::beginStop("Stop by signal");
        }
        ASSERT_TRUE(FrmSetup::get().Unload(platform::forms::vbFormCode));
        if (c.unattendedStop && c.asked) {
            EXPECT_EQ(*stopLines,
                      std::vector<std::string>{"Warning: Stop by signal: box not shown, the answer that "
                                               "keeps the stored settings (no): " +
                                               caption + " | Voulez-vous enregistrer les options ?"});
        }
        const auto asked = askedSinceLoad();
        ASSERT_EQ(asked.size(), c.asked ? 1u : 0u);
        if (c.asked) {
            EXPECT_EQ(asked[0].text, "Voulez-vous enregistrer les options ?");
            EXPECT_EQ(asked[0].title, caption);
        }
        EXPECT_EQ(program() != before, c.saved);
        EXPECT_FALSE(OptionsModifiees || OptionsPeripheriquesModifiees || OptionsConvertModifiees);
        EXPECT_FALSE(PbBFrmSetupChargee);
        unloadWindows();
    }
}

TEST_F(SaveCycle, FermerAndTheCloseBoxOnlyHide) {
    loadWindows();
    auto& window = FrmSetup::get();
    window.Show();
    FrmSetupDivers::get().CheckSMTPS->SetValue(vbChecked);
    window.CommandFermer_Click();
    EXPECT_FALSE(window.Visible());
    EXPECT_TRUE(OptionsModifiees);
    window.Show();
    EXPECT_FALSE(window.Unload(platform::forms::vbFormControlMenu));
    EXPECT_FALSE(window.Visible());
    EXPECT_TRUE(window.Loaded());
    EXPECT_TRUE(PbBFrmSetupChargee);
    EXPECT_TRUE(OptionsModifiees);
    EXPECT_TRUE(askedSinceLoad().empty());
}

TEST_F(SaveCycle, AWriteThatFailsKeepsTheGroupMarked) {
    loadWindows();
    // A folder where the file should be: no write can succeed.
    fs::remove(programSettings());
    fs::create_directory(programSettings());
    FrmSetupDivers::get().CheckLaunch->SetValue(vbChecked);
    FrmSetup::get().CommandSave_Click();
    EXPECT_TRUE(OptionsModifiees);
    EXPECT_TRUE(logged("Err: Settings: Unable to write: " + kProgramFile));
    EXPECT_TRUE(askedSinceLoad().empty());  // hidden window: no box

    FrmSetup::get().Show();
    FrmSetup::get().CommandSave_Click();
    EXPECT_TRUE(OptionsModifiees);
    ASSERT_EQ(askedSinceLoad().size(), 1u);
    EXPECT_NE(askedSinceLoad()[0].text.find(kProgramFile), std::string::npos);

    fs::remove(programSettings());
    FrmSetup::get().CommandSave_Click();
    EXPECT_FALSE(OptionsModifiees);
    EXPECT_EQ(Lib_Systeme::LectureIni(kProgramFile, "Windows", "Launch"), "1");
}

// The main window as the save sees it: each pointer change, with the boxes asked by then and
// whether a pointer was forced on the whole application.
struct PointerWitness : neighbours::Frm_MainServices, platform::Window {
    struct Change {
        int shape;
        size_t boxes;
        bool applicationWide;
    };
    std::vector<Change> changes;
    platform::Window* MainWindow() override { return this; }
    void SetTopmost(bool) override {}
    void SetMousePointer(int shape) override {
        changes.push_back({shape, dlg::asked().size(), QApplication::overrideCursor() != nullptr});
    }
};

TEST_F(SaveCycle, TheHourglassIsTheMainWindowsAndLeavesAFailureBoxTheNormalPointer) {
    loadWindows();
    PointerWitness main;
    neighbours::registerFrm_Main(&main);
    fs::remove(programSettings());
    fs::create_directory(programSettings());  // no write can succeed
    FrmSetup::get().Show();
    FrmSetupDivers::get().CheckLaunch->SetValue(vbChecked);
    const size_t before = dlg::asked().size();
    FrmSetup::get().CommandSave_Click();
    neighbours::registerFrm_Main(nullptr);

    ASSERT_EQ(dlg::asked().size(), before + 1);  // the failure box
    ASSERT_EQ(main.changes.size(), 2u);
    EXPECT_EQ(main.changes[0].shape, platform::forms::vbHourglass);
    EXPECT_EQ(main.changes[0].boxes, before);
    EXPECT_EQ(main.changes[1].shape, platform::forms::vbDefault);
    EXPECT_EQ(main.changes[1].boxes, before + 1);
    EXPECT_FALSE(main.changes[0].applicationWide || main.changes[1].applicationWide);
}

TEST_F(SaveCycle, ARestartFindsWhatWasSaved) {
    loadWindows();
    auto& misc = FrmSetupDivers::get();
    misc.TexteEmailsAdresses->SetText("é@radio.test");
    misc.CheckEmail[2]->SetValue(vbChecked);
    misc.ComboNbJourPoste->SetListIndex(0);
    auto& page = FrmSetupPeripherique::get();
    page.TexteUDPIPSource[2]->SetText("127.0.0.2");
    page.TexteUDPPortSource[2]->SetText("6200");
    page.CheckUDPOutActif[1]->SetValue(vbChecked);
    auto& son = FrmSetupSon::get();
    son.CheckEffetCutFin->SetValue(vbChecked);
    son.OptionEffetNormalise[2]->SetValue(true);
    FrmSetup::get().CommandSave_Click();
    unloadWindows();

    loadWindows();
    EXPECT_EQ(FrmSetupDivers::get().TexteEmailsAdresses->Text(), "é@radio.test");
    EXPECT_EQ(FrmSetupDivers::get().CheckEmail[2]->Value(), vbChecked);
    EXPECT_EQ(FrmSetupDivers::get().ComboNbJourPoste->ListIndex(), 0);
    EXPECT_EQ(FrmSetupPeripherique::get().TexteUDPIPSource[2]->Text(), "127.0.0.2");
    EXPECT_EQ(FrmSetupPeripherique::get().TexteUDPPortSource[2]->Text(), "6200");
    EXPECT_EQ(FrmSetupPeripherique::get().CheckUDPOutActif[1]->Value(), vbChecked);
    EXPECT_EQ(FrmSetupSon::get().CheckEffetCutFin->Value(), vbChecked);
    EXPECT_TRUE(FrmSetupSon::get().OptionEffetNormalise[2]->Value());
}

}  // namespace
}  // namespace settings_test
