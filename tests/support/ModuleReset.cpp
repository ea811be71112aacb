// The registry of the linked libraries' resets, the platform's own and the test program's
// environment, and the listener that runs them.
#include "tests/support/ModuleReset.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTimer>

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/StopSignals.h"
#include "platform/SystemInfo.h"
#include "platform/net/HostLookup.h"

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

// What the test program started with: its environment and working folder.
struct ProcessStart {
    std::map<std::string, std::string> environment;
    std::filesystem::path folder;
};

std::map<std::string, std::string> environmentNow() {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        const char* equals = std::strchr(*entry, '=');
        if (equals) variables[std::string(*entry, size_t(equals - *entry))] = equals + 1;
    }
    return variables;
}

const ProcessStart& processStart() {
    static const ProcessStart start = [] {
        std::error_code ec;
        return ProcessStart{environmentNow(), std::filesystem::current_path(ec)};
    }();
    return start;
}

void restoreProcessStart() {
    const ProcessStart& start = processStart();
    for (const auto& [name, value] : environmentNow())
        if (!start.environment.contains(name)) ::unsetenv(name.c_str());
    for (const auto& [name, value] : start.environment) {
        const char* now = std::getenv(name.c_str());
        if (!now || value != now) ::setenv(name.c_str(), value.c_str(), 1);
    }
    std::error_code ec;
    if (!start.folder.empty()) std::filesystem::current_path(start.folder, ec);
}

// A shut-down that ran in a test asked the application to quit; until the application's own
// loop has run once, every nested loop (a modal box, a wait that handles events) returns at once.
void forgetAskedQuit() {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) return;
    QTimer::singleShot(0, application, &QCoreApplication::quit);
    QCoreApplication::exec();
}

void resetPlatform() {
    forgetAskedQuit();
    restoreProcessStart();
    platform::clock::resetClock();
    platform::dialogs::reset();
    platform::stopsignals::resetStopSignals();
    platform::system::resetSystemInfo();
    platform::net::HostLookup& lookups = platform::net::HostLookup::instance();
    lookups.setNameServer(nullptr);  // the system's, with no lookup under way or failure kept
    lookups.setTimeLimit(platform::net::HostLookup::kTimeLimit);
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
    processStart();
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetAroundEachTest);
}

}  // namespace support
