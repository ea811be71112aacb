// Windows kept in front step back while a dialog of the foundation is up, and only those return.
#include <gtest/gtest.h>

#include "foundation/ErrorReporter.h"
#include "foundation/WindowHelpers.h"
#include "platform/forms/Form.h"
#include "tests/shell/MainWindow.h"

namespace {

class Page : public platform::forms::Form {
public:
    explicit Page(const char* name) : Form(name) {}
};

using Topmost = mainwindow_test::MainWindowTest;

TEST_F(Topmost, WindowsInFrontStepBackAroundADialogAndComeBack) {
    Page devant("Devant"), cachee("Cachee"), normale("Normale");
    devant.Show();
    Lib_Public::AfficherAuDessus(devant, -1);
    cachee.Load();
    Lib_Public::AfficherAuDessus(cachee, -1);
    normale.Show();

    Lib_Public::AfficherMessageBoxOuInputBox(-1);
    EXPECT_FALSE(devant.Topmost());
    EXPECT_EQ(devant.Tag, "-1");
    EXPECT_TRUE(cachee.Topmost());  // hidden: nothing to step back from
    EXPECT_EQ(cachee.Tag, "1");

    Lib_Public::AfficherMessageBoxOuInputBox(0);
    EXPECT_TRUE(devant.Topmost());
    EXPECT_EQ(devant.Tag, "1");
    EXPECT_FALSE(normale.Topmost());
    EXPECT_TRUE(normale.Tag.empty());
}

}  // namespace
