// The time reply to the automation, and the date-time text it and the monitor share.
#pragma once

#include <string>

#include "platform/Clock.h"

namespace engine {

// "DD/MM/YYYY HH:MM:SS", whatever the system's separators.
std::string dateTimeText(const platform::LocalTimeFields& t);
// "<Relaytone_Time:DD/MM/YYYY HH:MM:SS>" for one clock reading taken to the nearest second
// (a millisecond part above 500 adds a second, carrying into the date).
std::string timeReply(const platform::LocalTimeFields& reading);

}  // namespace engine
