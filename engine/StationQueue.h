// A plain list of text lines with the list-box interface the queues use (not a widget).
#pragma once

#include <deque>
#include <string>

namespace engine {

class StationQueue {
public:
    void AddItem(const std::string& text) { lines_.push_back(text); }
    // Ignored outside 0 to ListCount - 1, as the list box ignores it.
    void RemoveItem(int i) {
        if (i >= 0 && i < ListCount()) lines_.erase(lines_.begin() + i);
    }
    void Clear() { lines_.clear(); }
    int ListCount() const { return int(lines_.size()); }
    // Empty outside 0 to ListCount - 1.
    std::string List(int i) const { return i >= 0 && i < ListCount() ? lines_[size_t(i)] : ""; }

private:
    std::deque<std::string> lines_;
};

}  // namespace engine
