// The player control's notifications on the engine window: the stream status lines and the
// range checks, raised through the control's own events.
#include <gtest/gtest.h>

#include "foundation/NeighbourServices.h"
#include "tests/engine/AudioSite.h"

namespace audio_test {
namespace {

class PlayerEvents : public AudioSite {};

TEST_F(PlayerEvents, EachNotificationWritesItsStatusLine) {
    auto& control = amp();
    const struct {
        const char* name;
        std::function<void()> raise;
        std::string text;  // empty: no line
        int player;
    } cases[] = {
        {"loaded", [&] { control.SoundLoaded(2, 77); }, "Sound loaded |Sub: Frm_MainBis:Amp3dj1_SoundLoaded",
         2},
        {"closed", [&] { control.SoundClosed(1); }, "", 1},
        {"done", [&] { control.SoundDone(3); }, "Sound done |Sub: Lib_DirectX:DirectXOutSoundDone", 3},
        {"paused far", [&] { control.SoundPaused(7); }, "Sound paused |Sub: Frm_MainBis:Amp3dj1_SoundPaused",
         7},
        {"playing", [&] { control.SoundPlaying(0); }, "Sound playing |Sub: Frm_MainBis:Amp3dj1_SoundPlaying",
         0},
        {"resumed", [&] { control.SoundResumed(1); }, "Sound playing |Sub: Frm_MainBis:Amp3dj1_SoundPlaying",
         1},
        {"trigger", [&] { control.TriggerReached(2, 5); }, "", 2},
        {"negative loaded", [&] { control.SoundLoaded(-1, 0); }, "", -1},
        {"negative paused", [&] { control.SoundPaused(-4); }, "", -1},
        {"negative playing", [&] { control.SoundPlaying(-1); }, "", -1},
        {"negative done", [&] { control.SoundDone(-2); }, "", -1},
        {"negative trigger", [&] { control.TriggerReached(-1, 0); }, "", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t from = mark();
        c.raise();
        const auto texts = textsSince(from);
        if (c.text.empty()) {
            EXPECT_TRUE(texts.empty());
            continue;
        }
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0], c.text);
        EXPECT_NE(logLines().back().find(columns(-1, 0, c.player)), std::string::npos) << logLines().back();
    }
    EXPECT_TRUE(neighbours::Frm_Main().ListeIncidents_ListCount(0) == 0);
}

TEST_F(PlayerEvents, OutOfRangeStreamsAndPipesAreLoggedNotReported) {
    auto& window = Frm_MainBis::get();
    const struct {
        std::function<void()> raise;
        std::string text;
        int pipe, player;
    } cases[] = {
        {[&] { window.Amp3dj1_SoundDone(0, 5); },
         "Err: NoStream Out of range: 5 |Sub: Frm_MainBis:Amp3dj1_SoundDone", 0, 5},
        {[&] { window.Amp3dj1_SoundLoaded(0, 4, 0); },
         "Err: NoStream Out of range: 4 |Sub: Frm_MainBis:Amp3dj1_SoundLoaded", 0, 4},
        {[&] { window.Amp3dj1_SoundClosed(1, 9); },
         "Err: NoPipe Out of range: 1 |Sub: Frm_MainBis:Amp3dj1_SoundClosed", 1, 9},
        // Only the range-checked notifications refuse another pipe.
        {[&] { window.Amp3dj1_SoundPaused(2, 1); }, "Sound paused |Sub: Frm_MainBis:Amp3dj1_SoundPaused", 2,
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const size_t from = mark();
        c.raise();
        const auto texts = textsSince(from);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0], c.text);
        EXPECT_NE(logLines().back().find(columns(-1, c.pipe, c.player)), std::string::npos);
    }
    // A closed sound of another pipe past player 3: the pipe is what is wrong first.
    window.Amp3dj1_SoundClosed(-1, 2);
    EXPECT_TRUE(logged("Err: NoPipe Out of range: -1"));
    EXPECT_EQ(neighbours::Frm_Main().ListeIncidents_ListCount(0), 0);
}

TEST_F(PlayerEvents, StatusesWithoutTextWriteNothing) {
    auto& window = Frm_MainBis::get();
    for (int16_t status : {11, 14, 0, 18, -1}) {
        SCOPED_TRACE(status);
        const size_t from = mark();
        window.CheckStreamStatus(0, 1, status, "Test:Status");
        EXPECT_TRUE(textsSince(from).empty());
    }
    window.CheckStreamStatus(0, 1, 17, "Test:Status");
    EXPECT_TRUE(logged("Stream stopped |Sub: Test:Status"));
}

}  // namespace
}  // namespace audio_test
