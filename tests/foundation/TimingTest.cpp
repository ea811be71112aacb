// The millisecond clock across the 32-bit wrap, the log time stamp, and the waits.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

#include <QTimer>

#include "foundation/RunState.h"
#include "foundation/SystemQueries.h"
#include "foundation/Timing.h"

using namespace std::chrono;

namespace {

void manualClockAt(uint64_t tick) {
    platform::clock::setManual(platform::timeOf({.year = 2024, .month = 3, .day = 1}), tick);
}

double cpuSeconds() { return double(std::clock()) / CLOCKS_PER_SEC; }

}  // namespace

TEST(Timing, TickNeverRunsBackwardsAcrossTheWrap) {
    manualClockAt(4294967000u);
    EXPECT_EQ(Lib_Systeme::GetTickCountEx(), 4294967000);  // the first reading is the raw count
    platform::clock::setTick(4294967295u);
    EXPECT_EQ(Lib_Systeme::GetTickCountEx(), 4294967295);  // "-1" as signed reads unsigned
    platform::clock::setTick(4294967296u + 10);            // the 32-bit counter wrapped to 10
    EXPECT_EQ(Lib_Systeme::GetTickCountEx(), 4294967295 + 10);
    platform::clock::setTick(4294967296u * 2 + 3);  // and again
    EXPECT_EQ(Lib_Systeme::GetTickCountEx(), 2 * 4294967295LL + 3);
    platform::clock::setTick(4294967296u * 2 + 3);
    EXPECT_EQ(Lib_Systeme::GetTickCountEx(), 2 * 4294967295LL + 3);
}

TEST(Timing, SixtyFourBitTickPreferredOnceTheFlagIsSet) {
    manualClockAt(4294967296u * 3 + 50);
    const int64_t before = Lib_Systeme::GetTickCountEx();
    EXPECT_EQ(before, 50);
    PbBWindows64Bits = true;
    const int64_t after = Lib_Systeme::GetTickCountEx();
    EXPECT_EQ(after, int64_t(4294967296u) * 3 + 50);  // jumps forward once, never back
    platform::clock::advance(milliseconds{5});
    EXPECT_EQ(Lib_Systeme::GetTickCountEx(), after + 5);
}

TEST(Timing, TimingMilliSecStampsTheLocalTime) {
    platform::clock::setManual(
        platform::timeOf(
            {.year = 2024, .month = 1, .day = 31, .hour = 9, .minute = 5, .second = 3, .millisecond = 7}),
        0);
    EXPECT_EQ(Lib_Systeme::TimingMilliSec(), "09:05:03:007");
    EXPECT_EQ(PbTHeureSysteme.day, 31);
    platform::clock::advance(hours{14} + milliseconds{993 + 36 * 1000});
    EXPECT_EQ(Lib_Systeme::TimingMilliSec(), "23:05:40:000");
}

// On a clock that never moves only the flags (or a negative duration) can end these waits; a
// watchdog moves the clock past the wait after 2 s, so a broken check fails instead of hanging.
TEST(Timing, WaitReturnsAtOnceOnAbandonOrQuit) {
    const struct {
        const char* name;
        bool abandon, quit;
        int32_t duration;
    } cases[] = {
        {"Abandon", true, false, 60000},
        {"PbBQuitter", false, true, 60000},
        {"both", true, true, 60000},
        {"negative duration", false, false, -5},
    };
    for (const auto& c : cases) {
        manualClockAt(1000);
        Abandon = c.abandon;
        PbBQuitter = c.quit;
        bool watchdogFired = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            watchdogFired = true;
            platform::clock::advance(milliseconds{120000});
        });
        watchdog.start(2000);
        Lib_Systeme::WaitOnDuration(c.duration);
        EXPECT_FALSE(watchdogFired) << c.name << ": only the watchdog ended the wait";
        EXPECT_EQ(Abandon, c.abandon) << c.name;  // the wait reads the flags, never changes them
        EXPECT_EQ(PbBQuitter, c.quit) << c.name;
    }
    Abandon = PbBQuitter = false;
}

TEST(Timing, WaitEndsWhenATimerSetsAbandon) {
    manualClockAt(1000);
    QTimer::singleShot(30, [] { Abandon = true; });
    Lib_Systeme::WaitOnDuration(60000);
    EXPECT_TRUE(Abandon);
}

TEST(Timing, WaitLetsTimersFireWithoutSpinning) {
    int fired = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++fired; });
    timer.start(20);
    const auto wallStart = steady_clock::now();
    const double cpuStart = cpuSeconds();
    Lib_Systeme::WaitOnDuration(300);
    const double wall = duration<double>(steady_clock::now() - wallStart).count();
    EXPECT_GE(wall, 0.3);
    EXPECT_GE(fired, 5);
    EXPECT_LT(cpuSeconds() - cpuStart, wall * 0.5);  // a spinning wait uses the whole core
}

TEST(Timing, WaitOnManualClockEndsWhenTheClockMovesPastTheDuration) {
    manualClockAt(1000);
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [] { platform::clock::advance(milliseconds{100}); });
    timer.start(1);
    Lib_Systeme::WaitOnDuration(250);
    EXPECT_GE(platform::clock::tick64(), 1300u);  // the first reading more than 250 ms on
}

TEST(Timing, TouchesEnfoncees) {
    const struct {
        int16_t mask;
        bool shift, ctrl, alt;
    } cases[] = {
        {3, true, true, false}, {4, false, false, true}, {0, false, false, false}, {7, true, true, true}};
    for (const auto& c : cases) {
        Lib_Systeme::TouchesEnfoncees(c.mask);
        EXPECT_EQ(PbBToucheShift, c.shift);
        EXPECT_EQ(PbBToucheCtrl, c.ctrl);
        EXPECT_EQ(PbBToucheAlt, c.alt);
    }
}
