// The two hidden log lists, process-wide.
#include "foundation/LogBuffers.h"

namespace logbuffers {

bool LogList::add(std::string line) {
    const bool room = lines_.size() < kMaxLines;
    if (!room) lines_.pop_front();
    lines_.push_back(std::move(line));
    return room;
}

LogList& earlyBuffer() {
    static LogList list;
    return list;
}

LogList& fileBuffer() {
    static LogList list;
    return list;
}

}  // namespace logbuffers
