// Rounds one clock reading; a second reading could straddle a second and give a wrong time.
#include "engine/TimeReply.h"

#include <chrono>
#include <cstdio>

namespace engine {

std::string dateTimeText(const platform::LocalTimeFields& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", t.day, t.month, t.year, t.hour,
                  t.minute, t.second);
    return text;
}

std::string timeReply(const platform::LocalTimeFields& reading) {
    platform::LocalTimeFields whole = reading;
    whole.millisecond = 0;
    platform::LocalClockTime t = platform::timeOf(whole);
    if (reading.millisecond > 500) t += std::chrono::seconds{1};
    return "<Relaytone_Time:" + dateTimeText(platform::fieldsOf(t)) + ">";
}

}  // namespace engine
