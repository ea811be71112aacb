// Clock over the platform tick, and a wait that blocks on the event loop in short slices.
#include "foundation/Timing.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/SystemQueries.h"

namespace Lib_Systeme {
namespace {

constexpr int32_t kLongestSliceMs = 10;

// Lets timers, sockets and windows run for up to ms, sleeping while nothing happens.
void processEventsFor(int32_t ms) {
    if (!QCoreApplication::instance()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

int64_t GetTickCountEx() {
    int64_t raw = 0;
    if (PbBWindows64Bits) raw = int64_t(platform::clock::tick64());
    if (raw == 0) raw = int64_t(platform::clock::tick32());
    if (raw < CacheSysteme.lastRead) CacheSysteme.tickOffset += 4294967295LL;
    CacheSysteme.lastRead = raw;
    return CacheSysteme.tickOffset + raw;
}

std::string TimingMilliSec() {
    PbTHeureSysteme = platform::clock::localNow();
    const platform::LocalTimeFields& t = PbTHeureSysteme;
    const auto two = [](char* at, int value) {
        at[0] = char('0' + value / 10 % 10);
        at[1] = char('0' + value % 10);
    };
    char text[12] = {0, 0, ':', 0, 0, ':', 0, 0, ':'};
    two(text, t.hour);
    two(text + 3, t.minute);
    two(text + 6, t.second);
    text[9] = char('0' + t.millisecond / 100 % 10);
    two(text + 10, t.millisecond);
    return std::string(text, sizeof text);
}

void WaitOnDuration(int32_t milliseconds) {
    const int64_t start = GetTickCountEx();
    for (;;) {
        if (Abandon || PbBQuitter) return;
        const int64_t elapsed = std::llabs(GetTickCountEx() - start);
        if (elapsed > milliseconds) return;
        processEventsFor(int32_t(std::clamp<int64_t>(milliseconds - elapsed + 1, 1, kLongestSliceMs)));
    }
}

void TouchesEnfoncees(int16_t shift) {
    PbBToucheCtrl = (shift & 2) != 0;
    PbBToucheAlt = (shift & 4) != 0;
    PbBToucheShift = (shift & 1) != 0;
}

void resetTiming() {
    CacheSysteme = {};
    PbTHeureSysteme = {};
    PbLMemoryUsageMo = 0;
    PbBToucheShift = false;
    PbBToucheCtrl = false;
    PbBToucheAlt = false;
}

}  // namespace Lib_Systeme

namespace Lib_Public {

void TimerProc(int32_t, int32_t, int32_t, int32_t) {
    const int32_t figure = Lib_Systeme::GetMemoryUsage();
    if (figure == PbLMemoryUsageMo) return;
    PbLMemoryUsageMo = figure;
    neighbours::Frm_Main().LabelAffichageMemory_SetCaption(std::to_string(figure));
}

}  // namespace Lib_Public
