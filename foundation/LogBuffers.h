// The two hidden log lists: the early buffer (before the settings window) and the file buffer.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace logbuffers {

// A list of log lines that never grows past its bound: when full, the oldest line goes.
class LogList {
public:
    static constexpr std::size_t kMaxLines = 50000;

    // False when the oldest line had to go to make room.
    bool add(std::string line);
    void clear() { lines_.clear(); }
    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    const std::string& operator[](std::size_t index) const { return lines_[index]; }
    auto begin() const { return lines_.begin(); }
    auto end() const { return lines_.end(); }

private:
    std::deque<std::string> lines_;
};

// Frm_MainBis.ListeLogTemp: lines written before the settings window is loaded.
LogList& earlyBuffer();
// FrmSetup.ListeLog: lines waiting for the next write to the day's file.
LogList& fileBuffer();

}  // namespace logbuffers
