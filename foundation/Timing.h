// Lib_Systeme's millisecond clock, log time stamp, waits and key-state recorder.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Clock.h"

// Lib_Systeme's module state; the clock's part.
struct SystemCacheRecord {
    int64_t tickOffset = 0;  // wrap offset added to every reading
    int64_t lastRead = 0;    // last raw reading
};
inline SystemCacheRecord CacheSysteme;

inline platform::LocalTimeFields PbTHeureSysteme;  // filled by every TimingMilliSec call
inline int32_t PbLMemoryUsageMo = 0;               // last memory figure shown, in megabytes
inline bool PbBToucheShift = false;
inline bool PbBToucheCtrl = false;
inline bool PbBToucheAlt = false;

namespace Lib_Systeme {

// Milliseconds since the machine started; never decreases within a run, even across the
// 32-bit counter's wrap.
int64_t GetTickCountEx();
// "HH:MM:SS:mmm" of the local time, the first column of every log line.
std::string TimingMilliSec();
// Waits more than the duration while the application keeps handling its events and timers;
// returns at once when Abandon or PbBQuitter is set.
void WaitOnDuration(int32_t milliseconds);
// Modifier mask of a key event: 1 Shift, 2 Ctrl, 4 Alt.
void TouchesEnfoncees(int16_t shift);
// Back to the start of the process: no wrap counted, no time, memory figure or key recorded.
void resetTiming();

}  // namespace Lib_Systeme

namespace Lib_Public {

// The 5-second memory timer's callback: shows the memory figure on the main window when it
// changed. The four arguments of a platform timer callback are not read.
void TimerProc(int32_t hWnd = 0, int32_t message = 0, int32_t timerId = 0, int32_t systemTime = 0);

}  // namespace Lib_Public
