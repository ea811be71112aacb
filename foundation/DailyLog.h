// The daily log: one stamped line per call, buffered, appended to the day's file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/LogBuffers.h"

namespace Lib_Public {

// One line: time stamp, three columns, elapsed milliseconds and the text. Display also puts it
// into the incidents list; a mail category of 0 or 1 asks for an alert mail (mailText receives
// the text sent); flush writes the buffer to the day's file when that is possible.
void TraceLog(int16_t column1, int16_t column2, int16_t column3, const std::string& text,
              bool display = false, int16_t mailCategory = -1, std::string* mailText = nullptr,
              bool flush = true);

// Rule line, text, rule line; the rule repeats the frame's first character.
void TraceLogEncadre(int16_t column1, int16_t column2, int16_t column3, const std::string& text,
                     const std::string& frame, bool display);

// Appends the list's lines to the log file (the day header first when due) and empties it.
// An empty name is the log date's file ("YYYYMMDD", written back into name); yesterday dates
// the lines and the header a day back. Lines that cannot be written stay in the list.
void TraceLogForce(logbuffers::LogList& list, std::string& name, bool yesterday, const std::string& caller);
// The file buffer into today's file: what every caller of the program asks.
void TraceLogForce(const std::string& caller = {});

// Writes the buffer, lets the user choose a log file and opens it in the text editor.
void LectureLog(const std::string& folder, const std::string& prefix);

}  // namespace Lib_Public

namespace dailylog {

// The day header's lines, as written before the day's first lines.
std::vector<std::string> DayHeader(const std::string& caller);
// "2 D 3 H 15 Min 42 Sec" for a millisecond count, and its whole days.
std::string UptimeText(int64_t milliseconds);
int64_t UptimeDays(int64_t milliseconds);

}  // namespace dailylog
