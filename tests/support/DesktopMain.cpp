// Test main for the window tests that need a window manager: the run gets a desktop of its own
// (Xvfb and icewm), and the application and the programs it starts show their windows there.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

#include <gtest/gtest.h>
#include <QApplication>

#include "platform/NumericLocale.h"
#include "platform/process/RuntimeFolder.h"
#include "tests/support/Desktop.h"
#include "tests/support/ModuleReset.h"

int main(int argc, char** argv) {
    // Test discovery only lists the tests: no desktop for that.
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::string_view(argv[i]).starts_with("--gtest_list_tests");
    std::optional<support::Desktop> desktop;
    if (listing) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    } else {
        desktop.emplace();
        if (!desktop->ready()) {
            std::fprintf(stderr, "desktop: %s\n", desktop->error().c_str());
            return 1;
        }
        ::setenv("DISPLAY", desktop->display().c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    platform::process::settleRuntimeDirectory();  // as every program does
    int result = 0;
    {
        QApplication app(argc, argv);
        platform::keepNumbersInC();  // as every program does
        ::testing::InitGoogleTest(&argc, argv);
        support::resetModulesAroundEachTest();
        result = RUN_ALL_TESTS();
    }
    return result;
}
