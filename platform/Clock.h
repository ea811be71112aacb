// The one seam for wall-clock time and the millisecond tick; tests set and advance it.
// A process started with AL3_CLOCK="YYYY-MM-DD HH:MM:SS" runs its clock from that instant; any
// other text is ignored with one line on standard error.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace platform {

// Local wall-clock time, kept as milliseconds since 1970-01-01 00:00 local (no time zone).
using LocalClockTime = std::chrono::time_point<std::chrono::system_clock, std::chrono::milliseconds>;

struct LocalTimeFields {
    int year = 1970, month = 1, day = 1;
    int dayOfWeek = 4;  // 0 = Sunday, as the Windows time record counts
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

LocalTimeFields fieldsOf(LocalClockTime t);
LocalClockTime timeOf(const LocalTimeFields& f);  // dayOfWeek is ignored
// "YYYY-MM-DD HH:MM:SS"; false when the text is not such a moment.
bool parseInstant(const std::string& text, LocalClockTime& out);

namespace clock {

LocalClockTime now();
LocalTimeFields localNow();
// Milliseconds since the machine started: 32-bit (wrapping) and 64-bit counters.
uint32_t tick32();
uint64_t tick64();

// Test control: a manual clock that only moves when told to.
void setManual(LocalClockTime start, uint64_t tickMs);
void advance(std::chrono::milliseconds delta);
void setTick(uint64_t tickMs);
void useSystem();
bool isManual();
// Back to the start of the process: the system's clock, AL3_CLOCK read again at the next reading.
void resetClock();

}  // namespace clock
}  // namespace platform
