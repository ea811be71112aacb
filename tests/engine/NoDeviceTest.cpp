// The audio output on a computer without any sound device (as in CI): every refusal is logged,
// nothing starts, nothing crashes.
#include <QMediaDevices>

#include <gtest/gtest.h>

#include "engine/Lib_DirectX.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/SystemQueries.h"
#include "foundation/WindowHelpers.h"
#include "platform/Dialogs.h"
#include "tests/engine/AudioSite.h"
#include "tests/support/WindowsFiles.h"

namespace audio_test {
namespace {

namespace dlg = platform::dialogs;
namespace fs = std::filesystem;

class NoDevice : public AudioSite {
protected:
    void SetUp() override {
        // Qt Multimedia keeps listing the devices of the first sound server this process met.
        if (!QMediaDevices::audioOutputs().isEmpty())
            GTEST_SKIP() << "Qt Multimedia lists the devices of a sound server met earlier: run "
                            "the test in a process of its own";
        AudioSite::SetUp();
    }
};

TEST_F(NoDevice, TheStartSaysNoCardWasFoundAndLeavesThePipeAsItWas) {
    son().ComboPeripheriqueOut[0]->AddItem("Left over");
    const size_t from = mark();
    Lib_DirectX::InitDirectXOut(0, "DirectX_Player_");

    const auto asked = dlg::asked();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Aucune carte son trouvée |DirectX OUT");
    EXPECT_EQ(asked[0].title, neighbours::Frm_Main().Caption());
    EXPECT_EQ(son().ComboPeripheriqueOut[0]->ListCount(), 0);
    EXPECT_EQ(Lib_DirectX::PbLModeSortiePipe[0], 0);
    EXPECT_FALSE(PbTPipesOut[0].initialised);
    EXPECT_EQ(PbTPipesOut[0].deviceCount, 0);
    EXPECT_FALSE(amp().SystemStarted());
    // Only the control file's line: the start itself never began.
    const auto texts = textsSince(from);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].starts_with("File: ")) << texts[0];
}

TEST_F(NoDevice, TheControlFileIsLookedForWhereTheSystemKeepsIt) {
    const std::string system = Lib_Systeme::GetWinSysDir() + "\\";
    const struct {
        bool windows64;
        int32_t versionOS;
        const char* present;  // a file laid down first, or nullptr
        std::string logged;
    } cases[] = {
        {true, 10, nullptr, "C:\\Windows\\sysWOW64\\amp3dj.ocx"},
        {true, 10, "amp3dj64.ocx", system + "amp3dj64.ocx"},
        {false, 6, nullptr, system + "amp3dj.ocx"},
        {false, 12, "C:\\Windows\\sysWOW64\\amp3dj.ocx", "C:\\Windows\\sysWOW64\\amp3dj.ocx"},
        {false, 5, nullptr, system + "amp3dj.ocx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.logged);
        PbBWindows64Bits = c.windows64;
        PbLVersionOS = c.versionOS;
        std::vector<fs::path> laid;
        if (c.present) {
            const std::string file =
                std::string(c.present).find('\\') == std::string::npos ? system + c.present : c.present;
            laid.push_back(drive.host(file));
            fs::create_directories(laid.back().parent_path());
            support::writeWindowsFile(laid.back(), "not a control");
        }
        Lib_DirectX::InitDirectXOut(-1, "DirectX_Player_");
        // A file without a version record counts as version 0.
        EXPECT_TRUE(logged("File: " + c.logged + " |ControlVersion: 0"));
        EXPECT_EQ(Lib_DirectX::ControlVersionAmp3dj, 0.0f);
        for (const auto& file : laid) fs::remove(file);
    }
    // A negative pipe stops after the file's line: no box.
    EXPECT_TRUE(dlg::asked().empty());
}

TEST_F(NoDevice, AControlFileWithAVersionChoosesTheNewerEntryPoints) {
    PbBWindows64Bits = true;
    const std::string file = Lib_Systeme::GetWinSysDir() + "\\amp3dj64.ocx";
    fs::create_directories(drive.host(file).parent_path());
    // Our own executables (this test too) carry a version record whose product version is above 5.
    fs::copy_file(fs::read_symlink("/proc/self/exe"), drive.host(file));

    Lib_DirectX::PbLModeSortiePipe[0] = 1;
    Lib_DirectX::DirectXPipeSetLevelOut(0);
    EXPECT_EQ(amp().LastApi(), platform::audio::Api::Before5);

    Lib_DirectX::InitDirectXOut(-1, "DirectX_Player_");
    EXPECT_GE(Lib_DirectX::ControlVersionAmp3dj, 5.0f);
    Lib_DirectX::DirectXPipeSetLevelOut(0);
    EXPECT_EQ(amp().LastApi(), platform::audio::Api::From5);
}

TEST_F(NoDevice, APipeThatDoesNotExistIsReportedAndNothingElseHappens) {
    Lib_DirectX::InitDirectXOut(1, "DirectX_Player_");
    EXPECT_TRUE(logged("Lib_DirectX:InitDirectXOut"));
    EXPECT_TRUE(dlg::asked().empty());
    EXPECT_FALSE(Lib_DirectX::DirectXOutStopSound(3, 0, 0, "Test:Stop"));
    EXPECT_TRUE(logged("Lib_DirectX:DirectXOutStopSound"));
}

TEST_F(NoDevice, StoppingAPlayerOfAControlNeverStartedIsAnAlert) {
    const size_t from = mark();
    EXPECT_FALSE(Lib_DirectX::DirectXOutStopSound(0, 2, 0, "Test:Stop"));
    const std::string text =
        "Err: The call was made to an invalid player (probably the "
        "InitSoundSystem method was not called) |StopSound |Sub: Test:Stop";
    const auto texts = textsSince(from);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], std::string(text.size(), '+'));
    EXPECT_EQ(texts[1], text);
    EXPECT_EQ(texts[2], texts[0]);
    EXPECT_NE(lineWith(text).find(columns(-1, 0, 2)), std::string::npos) << lineWith(text);
    EXPECT_FALSE(logged("Sound stopped"));
    // An alert also goes to the incidents list.
    auto& main = neighbours::Frm_Main();
    ASSERT_GE(main.ListeIncidents_ListCount(0), 1);
    EXPECT_NE(main.ListeIncidents_List(0, main.ListeIncidents_ListCount(0) - 1).find(text),
              std::string::npos);
}

TEST_F(NoDevice, TheControlCodesInWords) {
    const struct {
        int32_t code;
        bool alert;
        std::string text;  // empty: nothing is logged
    } cases[] = {
        {-95, true, "Err: -95 |Act |Sub: Test:Codes"},
        {-124, false, "Err: Invalid casting identifier |Act |Sub: Test:Codes"},
        {-125, false, "Err: Invalid encode mode |Act |Sub: Test:Codes"},
        {-130, true, "Err: Casting connection died |Act |Sub: Test:Codes"},
        {-22, false,
         "Err: The sound card chosen as the output device doesn't have a valid driver |Act |Sub: Test:Codes"},
        {-200, false, "Err: -200 |Act |Sub: Test:Codes"},
        {0, true, ""},
        {7, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        const size_t from = mark();
        const int32_t incidents = neighbours::Frm_Main().ListeIncidents_ListCount(0);
        Lib_DirectX::AfficherErreurDJStudio(c.code, 0, 3, "Act", "Test:Codes", c.alert);
        const auto texts = textsSince(from);
        if (c.text.empty()) {
            EXPECT_TRUE(texts.empty());
            continue;
        }
        ASSERT_EQ(texts.size(), 3u);
        EXPECT_EQ(texts[1], c.text);
        EXPECT_EQ(texts[0], std::string(c.text.size(), c.alert ? '+' : '-'));
        EXPECT_EQ(neighbours::Frm_Main().ListeIncidents_ListCount(0), incidents + (c.alert ? 1 : 0));
    }
}

TEST_F(NoDevice, TheShutDownTouchesNoControlThatNeverStarted) {
    const size_t from = mark();
    Lib_Public::CloseSoundRessource();
    EXPECT_TRUE(textsSince(from).empty());
    EXPECT_FALSE(amp().SystemStarted());
}

}  // namespace
}  // namespace audio_test
