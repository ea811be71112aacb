// The dispatcher: one message per station per tick, oldest first, off once every queue is empty.
#include <QTimer>

#include "foundation/RunState.h"
#include "foundation/Timing.h"
#include "tests/engine/EngineFixture.h"

using enginetest::EngineTest;

namespace {

const std::string kMe = "Frm_MainBis:TimerDataArrival_Timer";

}  // namespace

TEST_F(EngineTest, HandsOnOneMessagePerStationPerTick) {
    for (const char* text : {"<NoStation:2>a", "<NoStation:2>b", "<NoStation:5>only", "<NoStation:2>c"})
        engine().UDPDataArrival_00_Pre(0, 0, text, "S");
    ASSERT_TRUE(engine().TimerDataArrival.Enabled());

    struct Tick {
        int station2, station5;
        bool running;
        std::vector<std::string> handed;
    };
    const Tick ticks[] = {
        {2, 0, true, {"<NoStation:2>a", "<NoStation:5>only"}},
        {1, 0, true, {"<NoStation:2>b"}},
        {0, 0, false, {"<NoStation:2>c"}},
    };
    for (const Tick& t : ticks) {
        clearLog();
        engine().TimerDataArrival_Timer();
        EXPECT_EQ(queued(2), t.station2);
        EXPECT_EQ(queued(5), t.station5);
        EXPECT_EQ(engine().TimerDataArrival.Enabled(), t.running);
        const auto handed = logLines("TimerDataArrival_Timer: Chaine: ");
        ASSERT_EQ(handed.size(), t.handed.size());
        for (size_t k = 0; k < handed.size(); ++k)
            EXPECT_NE(handed[k].find("Chaine: " + t.handed[k]), std::string::npos) << handed[k];
        EXPECT_EQ(logCount("UDP: TimerDataArrival.Enabled : False |Sub: " + kMe + ":C"), 1);
        EXPECT_EQ(logCount("UDP: TimerDataArrival.Enabled : True |Sub: " + kMe + ":D"), t.running ? 1 : 0);
        EXPECT_EQ(logCount("TimerDataArrival_Timer: End"), 1);
    }
    EXPECT_TRUE(mainWindow.restarts.empty());
}

TEST_F(EngineTest, TheRealTimerDrainsTheQueuesAndSwitchesItselfOff) {
    for (int k = 0; k < 3; ++k)
        engine().UDPDataArrival_00_Pre(0, 0, "<NoStation:2>m" + std::to_string(k), "S");
    engine().UDPDataArrival_00_Pre(0, 0, "<NoStation:20>last station", "S");
    ASSERT_TRUE(nettest::waitUntil([&] { return !engine().TimerDataArrival.Enabled(); }));
    EXPECT_EQ(totalQueued(), 0);
    EXPECT_EQ(logCount("TimerDataArrival_Timer: Start"), 3);
    EXPECT_EQ(logCount("TimerDataArrival_Timer: Chaine: <NoStation:20>last station"), 1);
}

TEST_F(EngineTest, AnIdleTickAboveTheMemoryLimitAsksForARestart) {
    struct Case {
        int32_t memory;
        bool leaveOneQueued;
        bool restart;
    };
    const Case cases[] = {{1025, false, true}, {1024, false, false}, {5000, true, false}, {0, false, false}};
    for (const Case& c : cases) {
        mainWindow.restarts.clear();
        clearLog();
        PbLMemoryUsageMo = c.memory;
        engine().UDPDataArrival_00_Pre(0, 0, "<NoStation:3>x", "S");
        if (c.leaveOneQueued) engine().UDPDataArrival_00_Pre(0, 0, "<NoStation:3>y", "S");
        engine().TimerDataArrival_Timer();
        const std::string line = "MemoryUsage:" + std::to_string(c.memory) + " Mo |Restart needed";
        EXPECT_EQ(logCount(line), c.restart ? 1 : 0) << c.memory;
        ASSERT_EQ(mainWindow.restarts.size(), c.restart ? 1u : 0u) << c.memory;
        if (c.restart) {
            EXPECT_FALSE(mainWindow.restarts[0].first);
            EXPECT_EQ(mainWindow.restarts[0].second, kMe);
        }
        engine().ListeDataArrival[2].Clear();
    }
}

TEST_F(EngineTest, ATickDuringStartUpOrShutDownOnlySwitchesTheTimerOff) {
    struct Case {
        bool* flag;
        const char* step;
    };
    for (const Case& c : {Case{&PbBDemarrageEnCours, "B"}, Case{&Abandon, "A"}}) {
        engine().UDPDataArrival_00_Pre(0, 0, "<NoStation:4>waiting", "S");
        clearLog();
        *c.flag = true;
        engine().TimerDataArrival_Timer();
        *c.flag = false;
        EXPECT_FALSE(engine().TimerDataArrival.Enabled());
        EXPECT_EQ(queued(4), 1);
        if (c.flag == &PbBDemarrageEnCours) {  // during shut-down the log takes no more lines
            EXPECT_EQ(
                logCount(std::string("UDP: TimerDataArrival.Enabled : False |Sub: ") + kMe + ":" + c.step),
                1);
        }
        EXPECT_EQ(logCount("TimerDataArrival_Timer: Start"), 0);
        engine().ListeDataArrival[3].Clear();
    }
}

// The shut-down can begin while the tick lets events run after a queue: the tick stops there,
// and the stations after it keep their messages for a later run.
TEST_F(EngineTest, AShutDownDuringATickStopsItAfterTheQueueItHadReached) {
    for (int stopAfter = 1; stopAfter <= 4; ++stopAfter) {
        SCOPED_TRACE(stopAfter);
        for (int station = 1; station <= 5; ++station)
            engine().UDPDataArrival_00_Pre(0, 0, "<NoStation:" + std::to_string(station) + ">m", "S");
        clearLog();
        // Runs whenever the tick lets events run, as a close request would.
        QTimer shutDown;
        QObject::connect(&shutDown, &QTimer::timeout, [&] {
            if (logCount("TimerDataArrival_Timer: Chaine: ") >= stopAfter) Abandon = true;
        });
        shutDown.start(0);
        engine().TimerDataArrival_Timer();
        shutDown.stop();
        Abandon = false;
        EXPECT_EQ(logCount("TimerDataArrival_Timer: Chaine: "), stopAfter);
        for (int station = 1; station <= 5; ++station)
            EXPECT_EQ(queued(station), station <= stopAfter ? 0 : 1) << "station " << station;
        for (auto& queue : engine().ListeDataArrival) queue.Clear();
    }
}

TEST_F(EngineTest, ABlankQueuedLineIsRemovedAndLogged) {
    engine().ListeDataArrival[0].AddItem("   ");
    engine().TimerDataArrival_Timer();
    EXPECT_EQ(queued(1), 0);
    EXPECT_EQ(logCount("TimerDataArrival_Timer: Chaine: "), 1);
}
