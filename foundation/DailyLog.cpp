// Daily log (first cut: lines are kept in memory until the file writer lands).
#include "foundation/DailyLog.h"

#include "foundation/LogBuffers.h"

namespace Lib_Public {

void TraceLog(int16_t, int16_t, int16_t, const std::string& text, bool, int16_t, std::string*,
              bool) {
    if (text.empty()) return;
    logbuffers::earlyBuffer().push_back(text);
}

void TraceLogEncadre(int16_t c1, int16_t c2, int16_t c3, const std::string& text,
                     const std::string& frame, bool display) {
    if (text.empty()) return;
    const std::string rule(text.size(), frame.empty() ? ' ' : frame[0]);
    TraceLog(c1, c2, c3, rule);
    TraceLog(c1, c2, c3, text, display);
    TraceLog(c1, c2, c3, rule);
}

}  // namespace Lib_Public
