// Clock seam: system time (optionally shifted by AL3_CLOCK) or a manual test clock.
#include "platform/Clock.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <optional>

namespace platform {

using namespace std::chrono;

LocalTimeFields fieldsOf(LocalClockTime t) {
    const auto dayPoint = floor<days>(t);
    const year_month_day ymd{dayPoint};
    const weekday wd{dayPoint};
    const auto inDay = t - dayPoint;
    LocalTimeFields f;
    f.year = int(ymd.year());
    f.month = int(unsigned(ymd.month()));
    f.day = int(unsigned(ymd.day()));
    f.dayOfWeek = int(wd.c_encoding());
    f.hour = int(duration_cast<hours>(inDay).count());
    f.minute = int(duration_cast<minutes>(inDay).count() % 60);
    f.second = int(duration_cast<seconds>(inDay).count() % 60);
    f.millisecond = int(inDay.count() % 1000);
    return f;
}

LocalClockTime timeOf(const LocalTimeFields& f) {
    const sys_days d{year{f.year} / month{unsigned(f.month)} / day{unsigned(f.day)}};
    return LocalClockTime{duration_cast<milliseconds>(d.time_since_epoch())} + hours{f.hour} +
           minutes{f.minute} + seconds{f.second} + milliseconds{f.millisecond};
}

bool parseInstant(const std::string& text, LocalClockTime& out) {
    // Exactly "YYYY-MM-DD HH:MM:SS": no sign, no blanks, every field at its full width.
    static constexpr char kShape[] = "0000-00-00 00:00:00";
    if (text.size() != sizeof kShape - 1) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kShape[i] == '0' ? !digit : text[i] != kShape[i]) return false;
    }
    const auto field = [&](size_t at, size_t width) {
        int value = 0;
        for (size_t i = at; i < at + width; ++i) value = value * 10 + (text[i] - '0');
        return value;
    };
    LocalTimeFields f;
    f.year = field(0, 4);
    f.month = field(5, 2);
    f.day = field(8, 2);
    f.hour = field(11, 2);
    f.minute = field(14, 2);
    f.second = field(17, 2);
    const year_month_day ymd{year{f.year}, month{unsigned(f.month)}, day{unsigned(f.day)}};
    if (!ymd.ok() || f.hour > 23 || f.minute > 59 || f.second > 59) return false;
    out = timeOf(f);
    return true;
}

namespace clock {
namespace {

struct State {
    std::mutex mutex;
    bool manual = false;
    LocalClockTime manualTime{};
    uint64_t manualTick = 0;
    std::optional<milliseconds> shift;  // AL3_CLOCK minus the real start instant
};

State& state() {
    static State s;
    return s;
}

LocalClockTime systemLocalNow() {
    const auto utc = time_point_cast<milliseconds>(system_clock::now());
    const std::time_t secs = system_clock::to_time_t(utc);
    std::tm local{};
    localtime_r(&secs, &local);
    return utc + seconds{local.tm_gmtoff};
}

uint64_t systemTick() {
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u;
}

milliseconds startShift(State& s) {
    if (!s.shift) {
        s.shift = milliseconds{0};
        LocalClockTime wanted;
        if (const char* env = std::getenv("AL3_CLOCK"); env) {
            if (parseInstant(env, wanted))
                s.shift = wanted - systemLocalNow();
            else
                std::fprintf(stderr, "AL3_CLOCK=%s is not \"YYYY-MM-DD HH:MM:SS\": the system's clock runs\n",
                             env);
        }
    }
    return *s.shift;
}

}  // namespace

LocalClockTime now() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (s.manual) return s.manualTime;
    return systemLocalNow() + startShift(s);
}

LocalTimeFields localNow() { return fieldsOf(now()); }

uint64_t tick64() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.manual ? s.manualTick : systemTick();
}

uint32_t tick32() { return uint32_t(tick64() & 0xFFFFFFFFu); }

void setManual(LocalClockTime start, uint64_t tickMs) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.manual = true;
    s.manualTime = start;
    s.manualTick = tickMs;
}

void advance(milliseconds delta) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.manualTime += delta;
    s.manualTick += uint64_t(delta.count());
}

void setTick(uint64_t tickMs) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.manualTick = tickMs;
}

void useSystem() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.manual = false;
}

void resetClock() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.manual = false;
    s.manualTime = {};
    s.manualTick = 0;
    s.shift.reset();
}

bool isManual() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return s.manual;
}

}  // namespace clock
}  // namespace platform
