// One instance per window, loaded at its first access, as VB's form names behave.
#pragma once

#include <memory>
#include <vector>

namespace settings {

// How to destroy each window LoadedForm made, the last made last.
inline std::vector<void (*)()>& loadedFormReleases() {
    static std::vector<void (*)()> releases;
    return releases;
}

// Back to the start of the process: every window LoadedForm made is destroyed, the last made
// first, without running its unload handlers; the next access makes it again from its design.
inline void releaseLoadedForms() {
    std::vector<void (*)()>& releases = loadedFormReleases();
    while (!releases.empty()) {
        void (*release)() = releases.back();
        releases.pop_back();
        release();
    }
}

template <class F>
class LoadedForm {
public:
    // The window, made and loaded at the first access, and loaded again after an unload.
    static F& get() {
        if (!instance()) {
            instance() = std::make_unique<F>();
            loadedFormReleases().push_back(&LoadedForm::release);
        }
        instance()->Load();
        return *instance();
    }
    // The window if it was made, loaded or not; nothing is made.
    static F* existing() { return instance().get(); }
    static bool exists() { return instance() && instance()->Loaded(); }
    // Forgets an unloaded window, so that the next access starts again from its design state.
    static void release() { instance().reset(); }

private:
    static std::unique_ptr<F>& instance() {
        static std::unique_ptr<F> window;
        return window;
    }
};

}  // namespace settings
