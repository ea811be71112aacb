// One instance per settings window, loaded at its first access, as VB's form names behave.
#pragma once

#include <memory>

namespace settings {

template <class F>
class LoadedForm {
public:
    // The window, made and loaded at the first access.
    static F& get() {
        if (!instance()) instance() = std::make_unique<F>();
        instance()->Load();
        return *instance();
    }
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
