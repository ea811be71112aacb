// The audio output on real devices (a private sound server's null sinks): the start's order,
// the clamped device, the retry, the refused drivers, the restart and the shut-down.
#include <memory>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include "engine/Lib_DirectX.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "foundation/WindowHelpers.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "settings/FrmSetup.h"
#include "settings/SettingsFlags.h"
#include "tests/engine/AudioSite.h"

namespace audio_test {
namespace {

namespace dlg = platform::dialogs;
using platform::audio::Operation;

class OutputStart : public AudioSiteWithDevices {
protected:
    static void start() { Lib_DirectX::InitDirectXOut(0, "DirectX_Player_"); }
    static std::string device(int i) { return amp().GetOutputDeviceDesc(int16_t(i)); }
    // The texts from the first one that begins with `first`.
    static std::vector<std::string> from(const std::vector<std::string>& texts, const std::string& first) {
        for (size_t i = 0; i < texts.size(); ++i)
            if (texts[i].starts_with(first)) return {texts.begin() + long(i), texts.end()};
        return {};
    }
};

TEST_F(OutputStart, OpensTheStoredDeviceThenRoutesLevelsAndBufferInThatOrder) {
    storeDevice("1");
    son().TexteTailleBuffer->SetText("750");
    son().SliderAnalogLevelOut[0]->SetValue(-40);
    const size_t mark0 = mark();
    start();

    const std::string frame(std::string("Init DirectX: Out").size(), '=');
    const std::vector<std::string> expected = {
        frame,
        "Init DirectX: Out",
        frame,
        "ControlVersion: 1.0",
        "EngineVersion: " + amp().GetEngineVersion(),
        "Nb Devices: 2 Selected Device: 1",
        "Device #00: " + device(0),
        "Device #01: " + device(1),
        "Call InitDJSystem: Device: 1",
        "InitDJSystem: 4 Selected Device: 1",
        "Device: " + device(1),
        "SetPlayerOutputDevice: 0",
        "SetPlayerOutputDevice: 1",
        "SetPlayerOutputDevice: 2",
        "SetPlayerOutputDevice: 3",
        "Analog  Level set to 0",
        "Buffer Length set to 750 ms",
        std::string(31, '='),
    };
    const auto texts = textsSince(mark0);
    ASSERT_FALSE(texts.empty());
    EXPECT_TRUE(texts[0].starts_with("File: "));
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 1, texts.end()), expected);
    EXPECT_NE(lineWith("SetPlayerOutputDevice: 2").find(columns(-1, 0, 2)), std::string::npos);
    EXPECT_NE(lineWith("Nb Devices: ").find(columns(-1, 0, -1)), std::string::npos);

    EXPECT_TRUE(PbTPipesOut[0].initialised);
    EXPECT_EQ(PbTPipesOut[0].deviceCount, 2);
    EXPECT_EQ(PbTPipesOut[0].selectedDevice, 1);
    EXPECT_EQ(Lib_DirectX::PbLModeSortiePipe[0], 1);
    EXPECT_EQ(son().ComboPeripheriqueOut[0]->ListIndex(), 1);
    EXPECT_EQ(son().ComboPeripheriqueOut[0]->Tag, "O");
    EXPECT_EQ(son().SliderAnalogLevelOut[0]->Value(), 0);
    EXPECT_EQ(son().SliderDigitalLevelOut[0]->Value(), 0);
    EXPECT_TRUE(dlg::asked().empty());
    ASSERT_TRUE(amp().SystemStarted());
    for (int16_t player = 0; player < 4; ++player) {
        SCOPED_TRACE(player);
        EXPECT_TRUE(amp().PlayerOpen(player));
        EXPECT_EQ(amp().PlayerDevice(player), 1);
        EXPECT_FLOAT_EQ(amp().PlayerVolume(player), 1.0f);  // 0 dB
        EXPECT_EQ(amp().PlayerFadeOutDuration(player), 0);
    }
    EXPECT_EQ(amp().BufferLength(), 750);
    EXPECT_EQ(amp().LastApi(), platform::audio::Api::Before5);
}

TEST_F(OutputStart, AStoredDeviceOutsideTheListIsHeldToIt) {
    const struct {
        const char* stored;
        int16_t used;
    } cases[] = {{"7", 1}, {"-3", 0}, {"abc", 0}, {"1", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        storeDevice(c.stored);
        start();
        EXPECT_EQ(PbTPipesOut[0].selectedDevice, c.used);
        EXPECT_EQ(amp().PlayerDevice(3), c.used);
        EXPECT_TRUE(amp().SystemStarted());
    }
}

TEST_F(OutputStart, ABufferTextThatIsNoLengthKeepsTheControlsBuffer) {
    son().TexteTailleBuffer->SetText("abc");
    start();
    EXPECT_TRUE(logged("Buffer Length set to abc ms"));
    EXPECT_EQ(amp().BufferLength(), 500);
    EXPECT_TRUE(amp().PlayerOpen(0));
}

TEST_F(OutputStart, AFailedStartIsTriedAgainAfterSixSecondsOfLiveWaiting) {
    platform::clock::setManual(platform::LocalClockTime{}, 1'000'000);
    // The wait runs on the clock: move it on once the wait is under way.
    QTimer::singleShot(50, [] { platform::clock::advance(std::chrono::milliseconds(6001)); });
    amp().failNext(Operation::InitDJSystem, -5);
    const size_t mark0 = mark();
    start();

    const auto texts = from(textsSince(mark0), "Call InitDJSystem");
    ASSERT_GE(texts.size(), 5u);
    EXPECT_EQ(texts[0], "Call InitDJSystem: Device: 0");
    EXPECT_EQ(texts[1], "Err: Init Sound Card |New try in few seconds: Selected Device: 0 |" + device(0));
    EXPECT_EQ(texts[2], "Err: Init Sound Card |New try Now");
    EXPECT_EQ(texts[3], "Call InitDJSystem: Device: 0");
    EXPECT_EQ(texts[4], "InitDJSystem: 4 Selected Device: 0");
    EXPECT_TRUE(PbTPipesOut[0].initialised);
    EXPECT_TRUE(amp().PlayerOpen(3));
}

TEST_F(OutputStart, TwoFailedStartsAreAnIncidentAndANoDriverDeviceIsNotTriedAgain) {
    platform::clock::setManual(platform::LocalClockTime{}, 1'000'000);
    QTimer::singleShot(50, [] { platform::clock::advance(std::chrono::milliseconds(6001)); });
    amp().failNext(Operation::InitDJSystem, platform::audio::kNoValidDriver, 2);
    start();

    const std::string incident = "Err: Init Sound Card: Selected Device: 0 |" + device(0);
    EXPECT_EQ(countLogged("Call InitDJSystem: Device: 0"), 2);
    EXPECT_NE(lineWith(incident).find(columns(-1, 0, -1)), std::string::npos);
    auto& main = neighbours::Frm_Main();
    ASSERT_GE(main.ListeIncidents_ListCount(0), 1);
    EXPECT_NE(main.ListeIncidents_List(0, 0).find(incident), std::string::npos);
    const std::string report =
        "Err: The sound card chosen as the output device doesn't have a "
        "valid driver |InitDJSystem |Sub: Lib_DirectX:InitDirectXOut";
    EXPECT_NE(lineWith(report).find(columns(-1, 0, 0)), std::string::npos);
    EXPECT_TRUE(logged(std::string(report.size(), '-')));
    EXPECT_FALSE(PbTPipesOut[0].initialised);
    EXPECT_TRUE(Lib_DirectX::PbBDriverInvalide[0]);
    EXPECT_FALSE(amp().SystemStarted());

    // That device is now only said to be unavailable.
    const size_t mark0 = mark();
    start();
    const auto texts = from(textsSince(mark0), "=");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1], "Device 0 unavailable");
    EXPECT_FALSE(amp().SystemStarted());
}

TEST_F(OutputStart, APlayerWithoutAValidDriverOffersTheOtherDrivers) {
    const struct {
        const char* answer;
        const char* nature;           // the stored nature afterwards
        bool unattendedStop = false;  // nobody answers: the stored nature stays as it was
    } cases[] = {{"yes", "2"}, {"no", ""}, {"yes", "", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.answer) + (c.unattendedStop ? ", stop by signal" : ""));
        const std::string settings = Lib_Public::NomFichierSettings("", ".Ini");
        storeDevice("1");
        Lib_DirectX::PbBDriverInvalide = {};
        dlg::reset();
        dlg::queueAnswers({"ok", c.answer, "ok"});
        // Shared with the report, which may outlive this turn of the loop.
        const auto stopLines = std::make_shared<std::vector<std::string>>();
        if (c.unattendedStop) {
            dlg::setStopReport([stopLines](const std::string& line) { stopLines->push_back(line); });
            dlg::beginStop("Stop by signal");
        }
        // Player 0 is refused: the routing of the others is given up.
        amp().failNext(Operation::SetPlayerOutputDevice, platform::audio::kNoValidDriver);
        start();
        EXPECT_FALSE(logged("SetPlayerOutputDevice: "));
        EXPECT_TRUE(
            logged("Err: Le périphérique choisi (" + device(1) + ") ne possède pas de driver valide"));
        EXPECT_EQ(Lib_Systeme::LectureIni(settings, "General_Out", "Pipe_00_Nature"), c.nature);
        EXPECT_TRUE(Lib_DirectX::PbBDriverInvalide[1]);
        EXPECT_TRUE(PbTPipesOut[0].initialised);
        EXPECT_TRUE(logged("Buffer Length set to 500 ms"));
        const auto asked = dlg::asked();
        ASSERT_GE(asked.size(), 2u);
        EXPECT_EQ(asked[0].text, "Le périphérique choisi (" + device(1) +
                                     ") ne possède pas de driver valide\r\n\r\n"
                                     "Veuillez utiliser les drivers NP de Digigram");
        EXPECT_EQ(asked[1].text,
                  "Voulez-vous changer le paramétrage pour utiliser les drivers NP de Digigram ?");
        const bool changed = std::string(c.nature) == "2";
        ASSERT_EQ(asked.size(), changed ? 3u : 2u);
        if (c.unattendedStop) {
            ASSERT_EQ(stopLines->size(), 2u);
            EXPECT_EQ((*stopLines)[1],
                      "Warning: Stop by signal: box not shown, the answer that keeps the stored "
                      "settings (no): " +
                          asked[1].title + " | " + asked[1].text);
        }
        if (asked.size() == 3) {
            EXPECT_EQ(asked[2].text, "Le paramétrage a été changé\r\n\r\nVeuillez relancer le programme");
        }
    }
}

TEST_F(OutputStart, RoutingAndLevelErrorsAreAlertsAndTheRestGoesOn) {
    amp().failNext(Operation::SetPlayerOutputDevice, -139);
    amp().failNext(Operation::SetPlayerVolumeEx, platform::audio::kPlayerBusy);
    start();
    const std::string routing = "Err: Invalid device |SetPlayerOutputDevice |Sub: Lib_DirectX:InitDirectXOut";
    EXPECT_NE(lineWith(routing).find(columns(-1, 0, 0)), std::string::npos);
    EXPECT_TRUE(logged(std::string(routing.size(), '+')));
    for (int player = 1; player < 4; ++player)
        EXPECT_TRUE(logged("SetPlayerOutputDevice: " + std::to_string(player)));
    // A busy player keeps its level quietly; player 0's line is then missing.
    EXPECT_FALSE(logged("Analog  Level set to 0"));
    EXPECT_FALSE(logged("Player is busy"));

    amp().failNext(Operation::SetPlayerVolumeEx, -3, 4);
    Lib_DirectX::DirectXPipeSetLevelOut(0);
    EXPECT_EQ(countLogged("|SetPlayerVolumeEx |Sub: Lib_DirectX:DirectXPipeSetLevelOut"), 4);
}

TEST_F(OutputStart, AStartedPipeIsStoppedAndReleasedBeforeItStartsAgain) {
    start();
    ASSERT_TRUE(PbTPipesOut[0].initialised);
    storeDevice("1");
    const size_t mark0 = mark();
    start();
    const auto texts = textsSince(mark0);
    const auto stopped = from(texts, "Sound stopped");
    ASSERT_FALSE(stopped.empty());
    EXPECT_EQ(stopped[0], "Sound stopped |FadeOutDuration: 0 ms |Sub: Lib_DirectX:InitDirectXOut");
    EXPECT_EQ(countLogged("Sound stopped"), 1);
    EXPECT_EQ(stopped[1], std::string(17, '='));  // then the start's frame
    EXPECT_TRUE(PbTPipesOut[0].initialised);
    for (int16_t player = 0; player < 4; ++player) EXPECT_EQ(amp().PlayerDevice(player), 1);
}

TEST_F(OutputStart, TheShutDownStopsTheFourPlayersAndReleasesTheDevice) {
    start();
    const size_t mark0 = mark();
    Lib_Public::CloseSoundRessource();
    const auto texts = textsSince(mark0);
    ASSERT_EQ(texts.size(), 4u);
    for (int player = 0; player < 4; ++player) {
        EXPECT_EQ(texts[size_t(player)],
                  "Sound stopped |FadeOutDuration: 0 ms |Sub: Lib_Public:CloseSoundRessource:B");
        EXPECT_FALSE(amp().PlayerOpen(int16_t(player)));
    }
    EXPECT_FALSE(amp().SystemStarted());
    EXPECT_TRUE(PbTPipesOut[0].initialised);  // the program is closing: nothing reads it again
}

TEST_F(OutputStart, StopsWhileClosingWriteNoLineAndTheToleratedCodeCountsAsStopped) {
    start();
    Abandon = true;
    EXPECT_TRUE(Lib_DirectX::DirectXOutStopSound(0, 1, 0, "Test:Stop"));
    EXPECT_FALSE(amp().PlayerOpen(1));
    Abandon = false;
    EXPECT_FALSE(logged("Sound stopped"));

    amp().failNext(Operation::StopSound, platform::audio::kUnknownError);
    EXPECT_TRUE(Lib_DirectX::DirectXOutStopSound(0, 2, 0, "Test:Stop"));
    EXPECT_TRUE(logged("Sound stopped |FadeOutDuration: 0 ms |Sub: Test:Stop"));
    amp().failNext(Operation::StopSound, -2);
    EXPECT_FALSE(Lib_DirectX::DirectXOutStopSound(0, 3, 0, "Test:Stop"));
    EXPECT_TRUE(logged("Err: Not enough memory |StopSound |Sub: Test:Stop"));
    EXPECT_TRUE(amp().PlayerOpen(3));
}

TEST_F(OutputStart, AFadeLowersThePlayerToSilenceBeforeItCloses) {
    start();
    EXPECT_TRUE(Lib_DirectX::DirectXOutStopSound(0, 1, 300, "Test:Fade"));
    EXPECT_TRUE(logged("FadeOutDuration: 300 ms"));
    EXPECT_TRUE(logged("Sound stopped |FadeOutDuration: 300 ms |Sub: Test:Fade"));
    EXPECT_TRUE(amp().PlayerOpen(1));
    EXPECT_TRUE(amp().PlayerFading(1));
    // A level while fading: the player is busy, which the level setting lets pass.
    EXPECT_EQ(amp().SetPlayerVolumeEx(1, 0, 1, platform::audio::Api::Before5), platform::audio::kPlayerBusy);
    float lowest = 1.0f;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 3000 && amp().PlayerOpen(1)) {
        lowest = std::min(lowest, amp().PlayerVolume(1));
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_GE(waited.elapsed(), 250);
    EXPECT_FALSE(amp().PlayerOpen(1));
    EXPECT_LT(lowest, 0.5f);
    EXPECT_TRUE(amp().PlayerOpen(0));  // the others play on
}

// The start lets window events run while it waits: a nature picked meanwhile is ignored.
TEST_F(OutputStart, ANatureChosenWhileTheOutputStartsIsIgnored) {
    son().CheckSoundCard->SetValue(platform::forms::vbChecked);
    son().ComboNatureTrancheOut[0]->SetListIndex(2);
    platform::clock::setManual(platform::LocalClockTime{}, 1'000'000);
    amp().failNext(Operation::InitDJSystem, -5);
    QTimer::singleShot(20, [] {
        son().ComboNatureTrancheOut[0]->SetListIndex(0);
        platform::clock::advance(std::chrono::milliseconds(6001));
    });
    const int starts = countLogged(" |ControlVersion: ");
    son().ComboNatureTrancheOut[0]->SetListIndex(1);
    EXPECT_EQ(countLogged(" |ControlVersion: "), starts + 1);
    EXPECT_TRUE(logged("Warning: Pipe Nature: Output start already under way"));
    // Once the start is over, a choice starts the output again.
    son().ComboNatureTrancheOut[0]->SetListIndex(1 - son().ComboNatureTrancheOut[0]->ListIndex());
    EXPECT_EQ(countLogged(" |ControlVersion: "), starts + 2);
}

// The settings window's load starts the output; a shut-down that comes while the start waits to
// try again ends the load there: no second start, no row bound, the window never counts as loaded.
TEST_F(OutputStart, AShutDownDuringTheRetryWaitEndsTheSettingsLoadThere) {
    const uint16_t port = freeUdpPort();
    writeProgramSettings(
        "[SoundCard]\nActive=1\n[General_Out]\nPipe_00_Nature=1\n"
        "[DirectX_Player_00]\nDevice=0\n");
    writeBaseSettings("[UDP_In_01]\nIP=127.0.0.1\nPort=" + std::to_string(port) + "\nActif=1\n");
    platform::clock::setManual(platform::LocalClockTime{}, 1'000'000);
    amp().failNext(Operation::InitDJSystem, -5);
    bool wasWaiting = false;
    // Acts in the first event pass after the retry line, that is inside the retry wait.
    QTimer duringTheWait;
    QObject::connect(&duringTheWait, &QTimer::timeout, [&] {
        if (!logged("Err: Init Sound Card |New try in few seconds")) return;
        duringTheWait.stop();
        wasWaiting = FrmSetupEnChargement;
        // What the main window's unload does first: the flag, then the settings window goes.
        Abandon = true;
        FrmSetup::get().Unload(platform::forms::vbFormCode);
    });
    duringTheWait.start(5);
    loadWindows();
    const bool wasLoaded = PbBFrmSetupChargee;
    const bool started = amp().SystemStarted();
    Abandon = false;

    EXPECT_TRUE(wasWaiting);
    EXPECT_TRUE(logged("Err: Init Sound Card |New try in few seconds"));
    EXPECT_FALSE(started);
    EXPECT_FALSE(wasLoaded);
    EXPECT_FALSE(FrmSetupEnChargement);
    QUdpSocket free;
    EXPECT_TRUE(free.bind(QHostAddress::LocalHost, port, QUdpSocket::DontShareAddress));
}

}  // namespace
}  // namespace audio_test
