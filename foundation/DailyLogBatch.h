// The lines of one handler's run reach the day's file in one write, when the run ends.
#pragma once

#include <cstdint>
#include <string>

namespace dailylog {

// A line asks for the buffer to reach the file: at once, or when the open run ends.
void flushSoon(const std::string& caller);

// Held for a handler's run: the flushes its lines ask for wait until the outermost one of the
// run ends. Whatever waits is written first when an event pass starts inside the run (a wait
// that lets other handlers run), so that no line waits past the end of the event that made it.
class EventLines {
public:
    EventLines();
    ~EventLines();
    EventLines(const EventLines&) = delete;
    EventLines& operator=(const EventLines&) = delete;

private:
    friend void flushSoon(const std::string& caller);

    EventLines* outer_;
    uint64_t pass_;  // the event pass the run belongs to
};

}  // namespace dailylog
