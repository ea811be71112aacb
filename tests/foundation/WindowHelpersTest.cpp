// Progress window, topmost and hourglass on a real window, and the sound release at shut-down.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <utility>

#include "foundation/ErrorReporter.h"
#include "foundation/LogBuffers.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/WindowHelpers.h"
#include "platform/forms/Form.h"
#include "tests/support/TempSite.h"

namespace {

struct FakeFrmMsg : neighbours::FrmMsgServices {
    int loads = 0, unloads = 0;
    std::function<void()> failure;  // what the next show or close throws
    void LoadAndShow() override {
        ++loads;
        PbBFrmMsgAffichee = true;
        if (failure) std::exchange(failure, {})();
    }
    void Unload() override {
        ++unloads;
        if (failure) std::exchange(failure, {})();
        PbBFrmMsgAffichee = false;
    }
};

size_t countLogged(const std::string& part) {
    size_t n = 0;
    for (const std::string& line : logbuffers::earlyBuffer()) n += line.find(part) != std::string::npos;
    return n;
}

struct FakeMain : neighbours::Frm_MainServices {
    FakeFrmMsg msg;
    neighbours::FrmMsgServices& FrmMsg() override { return msg; }
    int32_t hWnd() override { return 4242; }
};

struct FakeEngine : neighbours::Frm_MainBisServices {
    std::vector<std::string> calls;
    bool DirectXOutStopSound(int16_t pipe, int16_t stream, int32_t fade, const std::string& sub) override {
        calls.push_back("stop " + std::to_string(pipe) + " " + std::to_string(stream) + " " +
                        std::to_string(fade) + " " + sub);
        return false;  // refused stops change nothing
    }
    void Amp3dj1_Release(int16_t pipe) override { calls.push_back("release " + std::to_string(pipe)); }
    void Amp3dj1_SystemStart(int16_t pipe, int16_t count, int32_t hWnd, int16_t& d1, int16_t& d2, int16_t& d3,
                             int16_t& d4) override {
        calls.push_back("start " + std::to_string(pipe) + " " + std::to_string(count) + " " +
                        std::to_string(hWnd) + " " + std::to_string(d1) + std::to_string(d2) +
                        std::to_string(d3) + std::to_string(d4));
    }
};

class WindowHelpers : public support::SiteTest {
protected:
    FakeMain main;
    FakeEngine engine;
    void SetUp() override {
        neighbours::registerFrm_Main(&main);
        neighbours::registerFrm_MainBis(&engine);
    }
    void TearDown() override {
        neighbours::registerFrm_Main(nullptr);
        neighbours::registerFrm_MainBis(nullptr);
    }
};

}  // namespace

TEST_F(WindowHelpers, ProgressWindowShowsOnceAndClosesOnce) {
    Lib_Main::AfficherFrmMsg(0, "Frm_Main:Form_Load");  // not shown: nothing to close
    Lib_Main::AfficherFrmMsg(-1, "Frm_Main:Form_Load");
    Lib_Main::AfficherFrmMsg(-1, "Frm_Main:InitGeneral");
    EXPECT_EQ(main.msg.loads, 1);
    Lib_Main::AfficherFrmMsg(0, "Frm_Main:InitGeneral");
    Lib_Main::AfficherFrmMsg(5, "Frm_Main:InitGeneral");
    EXPECT_EQ(main.msg.unloads, 1);
    EXPECT_FALSE(PbBFrmMsgAffichee);
}

TEST_F(WindowHelpers, ProgressWindowFailuresAreLoggedOrReportedAndTheCallerGoesOn) {
    main.msg.failure = [] { throw std::bad_alloc(); };
    Lib_Main::AfficherFrmMsg(-1, "Frm_Main:InitGeneral");
    EXPECT_EQ(countLogged("Err: 7: Mémoire insuffisante |Sub: Frm_Main:InitGeneral:"
                          "Lib_Main:AfficherFrmMsg:10"),
              1u);
    EXPECT_EQ(countLogged("Lib_Main:AfficherFrmMsg"), 1u);  // a line, not an error report

    main.msg.failure = [] { throw std::runtime_error("window refused"); };
    Lib_Main::AfficherFrmMsg(0, "Frm_Main:Form_Unload");
    EXPECT_EQ(DerniereErreur.number, 5);
    EXPECT_EQ(DerniereErreur.line, 30);
    EXPECT_GE(countLogged("window refused"), 1u);
    EXPECT_GE(countLogged("Lib_Main:AfficherFrmMsg"), 2u);  // the report names the caller
}

TEST_F(WindowHelpers, TopmostAndHourglassOnARealWindow) {
    platform::forms::Form window("FrmSetupSon");
    window.Show();
    const struct {
        int16_t flag;
        bool topmost;
        const char* tag;
    } steps[] = {
        {-1, true, "1"},
        {1, true, "1"},
        {0, false, "0"},
        {2, false, "0"},
    };
    for (const auto& s : steps) {
        Lib_Public::AfficherAuDessus(window, s.flag);
        EXPECT_EQ(window.Topmost(), s.topmost) << s.flag;
        EXPECT_EQ(window.Tag, s.tag) << s.flag;
        EXPECT_TRUE(window.Visible()) << s.flag;
    }
    Lib_Public::SablierOn(window);
    EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
    Lib_Public::SablierOff(window);
    EXPECT_EQ(window.MousePointer(), 0);
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WindowHelpers, SoundReleaseOnlyWhenThePipeWasStarted) {
    PbTPipesOut[0] = PipeOut{false, 2, 1};
    Lib_Public::CloseSoundRessource();
    EXPECT_TRUE(engine.calls.empty());

    PbTPipesOut[0] = PipeOut{true, 2, 3};
    Lib_Public::CloseSoundRessource();
    const std::vector<std::string> expected = {"stop 0 0 0 Lib_Public:CloseSoundRessource:B",
                                               "stop 0 1 0 Lib_Public:CloseSoundRessource:B",
                                               "stop 0 2 0 Lib_Public:CloseSoundRessource:B",
                                               "stop 0 3 0 Lib_Public:CloseSoundRessource:B",
                                               "release 0",
                                               "start 0 4 4242 3333"};
    EXPECT_EQ(engine.calls, expected);
    EXPECT_TRUE(PbTPipesOut[0].initialised);
}
