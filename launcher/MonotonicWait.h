// A wait that lets pending events run, sleeps between them and counts on the monotonic clock.
#pragma once

#include <chrono>

void WaitKeepingEvents(std::chrono::milliseconds duration);
