// Between tests every module a test program links goes back to its start-of-process state, so
// that a test program passes run whole and with --gtest_repeat, not only one test per process.
// The environment and working folder are put back and a shut-down's quit request consumed too.
// A new process-wide value gets its reset function beside it and a call in its library's file.
#pragma once

namespace support {

// The order the resets run in, by library: the windows of the shell first (destroying them may
// still reach the layers below), then the libraries below them, platform last.
enum class ResetLayer {
    Platform,
    PlatformLibraries,
    Foundation,
    Btrieve,
    BtrieveForms,
    Settings,
    Engine,
    Shell
};

// A static object of this type in a library's reset file adds that library's reset
// (tests/support/resets: each one is linked into every test program that links its library).
struct ModuleReset {
    ModuleReset(ResetLayer layer, void (*reset)());
};

// Runs every reset this program holds, the highest layer first.
void resetModules();

// The test mains call this: every module is reset before each test starts and after it ended
// (after its fixture is gone), so a test can neither lean on nor leave behind module state.
void resetModulesAroundEachTest();

}  // namespace support
