// Test main for libraries without windows: one QCoreApplication for the whole run.
#include <gtest/gtest.h>
#include <QCoreApplication>

#include "platform/NumericLocale.h"
#include "platform/process/RuntimeFolder.h"
#include "tests/support/ModuleReset.h"

int main(int argc, char** argv) {
    platform::process::settleRuntimeDirectory();  // as every program does
    QCoreApplication app(argc, argv);
    platform::keepNumbersInC();  // as every program does
    ::testing::InitGoogleTest(&argc, argv);
    support::resetModulesAroundEachTest();
    return RUN_ALL_TESTS();
}
