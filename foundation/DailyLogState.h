// The daily log's own process-wide state, shared by the line writer and the file writer.
#pragma once

#include <cstdint>
#include <string>

namespace dailylog {

struct State {
    int64_t elapsedBase = 0;  // moment the elapsed column is measured from
    bool blankLine = false;   // the last line handled was the empty line
    bool flushGuard = false;  // the file writer is running
    std::string headerDay;    // day whose header was last written
    std::string purgeDay;     // day old files were last purged
    bool rebootAdvised = false;
    bool rebootOverdue = false;
    bool writeFailureReported = false;  // reported once until a write succeeds again
    bool overflowWarned = false;        // buffer-full warning given since the last write
    std::string failedFile;             // the file a write failed on, tried again at retryAt
    uint64_t retryAt = 0;               // platform tick
};

State& state();
// Back to the start of the process: this state fresh, no line waiting in either list, the day's
// file closed.
void resetDailyLog();

// A line stamped as TraceLog stamps it, with no column values.
std::string stampedLine(const std::string& text);

}  // namespace dailylog
