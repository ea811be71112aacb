// A wait that lets pending events run, sleeps between them and counts on the monotonic clock.
#pragma once

#include <chrono>
#include <functional>

// Ends early once done, asked between the sleeps (a quarter of a second at most), holds.
void WaitKeepingEvents(std::chrono::milliseconds duration, const std::function<bool()>& done = {});
