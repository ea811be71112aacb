// A re-entry or "under way" flag raised for one scope and lowered on every way out of it, an
// exception included, so that no failure leaves a guard jammed for the rest of the run.
#pragma once

namespace platform {

class ScopedFlag {
public:
    explicit ScopedFlag(bool& flag) : flag_(&flag) { flag = true; }
    ~ScopedFlag() { release(); }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

    // Lowers the flag before the scope ends; the end of the scope then leaves it alone.
    void release() {
        if (flag_) *flag_ = false;
        flag_ = nullptr;
    }

private:
    bool* flag_;
};

}  // namespace platform
