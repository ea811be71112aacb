// The daily log: one stamped line per call, buffered, appended to the day's file.
#pragma once

#include <cstdint>
#include <string>

namespace Lib_Public {

void TraceLog(int16_t column1, int16_t column2, int16_t column3, const std::string& text,
              bool display = false, int16_t mailCategory = -1, std::string* mailText = nullptr,
              bool flush = true);

// Rule line, text, rule line; the rule repeats the frame's first character.
void TraceLogEncadre(int16_t column1, int16_t column2, int16_t column3, const std::string& text,
                     const std::string& frame, bool display);

}  // namespace Lib_Public
