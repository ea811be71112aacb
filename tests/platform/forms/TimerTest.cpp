// The VB timer's rules, observed on the real event loop (a kept and a restarted countdown lie
// 300 ms apart, room enough for a busy machine's late ticks).
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "platform/forms/Timer.h"

using platform::forms::Timer;

namespace {

void runFor(int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Milliseconds from `clock` to the timer's first tick (-1 when none within the limit).
qint64 firstTick(Timer& timer, const QElapsedTimer& clock, int limit) {
    qint64 at = -1;
    timer.OnTimer = [&] {
        if (at < 0) at = clock.elapsed();
    };
    QDeadlineTimer deadline(limit);
    while (at < 0 && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return at;
}

}  // namespace

TEST(Timer, EnablingARunningTimerKeepsItsCountdown) {
    QObject form;
    QElapsedTimer clock;
    clock.start();
    Timer t(&form, "T", 600, true);
    runFor(300);
    t.setEnabled(true);
    const qint64 at = firstTick(t, clock, 2000);
    EXPECT_GE(at, 550);
    EXPECT_LT(at, 850);  // not 300 + 600
}

TEST(Timer, OffThenOnStartsAFreshCountdown) {
    QObject form;
    QElapsedTimer clock;
    clock.start();
    Timer t(&form, "T", 600, true);
    runFor(300);
    t.setEnabled(false);
    t.setEnabled(true);
    EXPECT_GE(firstTick(t, clock, 2000), 880);
}

TEST(Timer, ANewIntervalStartsAFreshCountdown) {
    QObject form;
    QElapsedTimer clock;
    clock.start();
    Timer t(&form, "T", 600, true);
    runFor(300);
    t.setInterval(600);
    EXPECT_GE(firstTick(t, clock, 2000), 880);
}

TEST(Timer, DisabledOrZeroIntervalNeverTicks) {
    QObject form;
    Timer off(&form, "Off", 20, false);
    Timer zero(&form, "Zero", 0, true);
    int ticks = 0;
    off.OnTimer = zero.OnTimer = [&] { ++ticks; };
    runFor(150);
    EXPECT_EQ(ticks, 0);
    off.setEnabled(true);
    runFor(150);
    EXPECT_GT(ticks, 0);
}

// TimerConvert's case: enabled, 500 ms, no handler. Nothing runs for it until one is given.
TEST(Timer, ATimerWithoutAHandlerRunsNoClock) {
    QObject form;
    Timer t(&form, "TimerConvert", 500, true);
    const QTimer* clock = t.findChild<QTimer*>();
    ASSERT_NE(clock, nullptr);
    EXPECT_FALSE(clock->isActive());
    EXPECT_TRUE(t.Enabled());
    int ticks = 0;
    t.OnTimer = [&] { ++ticks; };
    EXPECT_TRUE(clock->isActive());
    t.OnTimer = nullptr;
    EXPECT_FALSE(clock->isActive());
    EXPECT_EQ(ticks, 0);
}

TEST(Timer, NeverReentersItsHandler) {
    QObject form;
    Timer t(&form, "T", 10, true);
    int depth = 0, deepest = 0, calls = 0;
    t.OnTimer = [&] {
        ++calls;
        deepest = std::max(deepest, ++depth);
        runFor(60);  // lets events run, as the dispatcher does between stations
        --depth;
    };
    runFor(400);
    EXPECT_GE(calls, 2);
    EXPECT_EQ(deepest, 1);
}

TEST(Timer, TheFormListsItsTimersAndNothingElse) {
    QObject form;
    Timer a(&form, "Timer30s", 1000, true);
    QObject unrelated(&form);
    Timer b(&form, "TimerDataArrival", 100, false);
    const auto timers = platform::forms::timersOf(form);
    ASSERT_EQ(timers.size(), 2u);
    EXPECT_EQ(timers[0]->Name(), "Timer30s");
    EXPECT_EQ(timers[1]->Name(), "TimerDataArrival");
    EXPECT_TRUE(timers[0]->Enabled());
    EXPECT_EQ(timers[1]->Interval(), 100);
}
