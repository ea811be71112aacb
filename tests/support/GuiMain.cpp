// Test main for window tests: one QApplication for the whole run (offscreen in CI).
#include <gtest/gtest.h>
#include <QApplication>

#include "platform/NumericLocale.h"
#include "platform/process/RuntimeFolder.h"
#include "tests/support/ModuleReset.h"

int main(int argc, char** argv) {
    // Test discovery runs at build time, outside CTest's environment.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::process::settleRuntimeDirectory();  // as every program does
    QApplication app(argc, argv);
    platform::keepNumbersInC();  // as every program does
    ::testing::InitGoogleTest(&argc, argv);
    support::resetModulesAroundEachTest();
    return RUN_ALL_TESTS();
}
