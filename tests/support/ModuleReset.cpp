// The registry of the linked libraries' resets, the platform's own, and the listener that runs them.
#include "tests/support/ModuleReset.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/SystemInfo.h"

namespace support {
namespace {

struct Entry {
    ResetLayer layer;
    void (*reset)();
};

std::vector<Entry>& entries() {
    static std::vector<Entry> registered;
    return registered;
}

void resetPlatform() {
    platform::clock::resetClock();
    platform::dialogs::reset();
    platform::system::resetSystemInfo();
}

const ModuleReset platformReset{ResetLayer::Platform, resetPlatform};

class ResetAroundEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { resetModules(); }
    void OnTestEnd(const ::testing::TestInfo&) override { resetModules(); }
};

}  // namespace

ModuleReset::ModuleReset(ResetLayer layer, void (*reset)()) { entries().push_back({layer, reset}); }

void resetModules() {
    std::vector<Entry> ordered = entries();
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Entry& a, const Entry& b) { return a.layer > b.layer; });
    for (const Entry& entry : ordered) entry.reset();
}

void resetModulesAroundEachTest() {
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetAroundEachTest);
}

}  // namespace support
