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
    Page inFront("Devant"), hiddenNow("Cachee"), normal("Normale");
    inFront.Show();
    Lib_Public::AfficherAuDessus(inFront, -1);
    hiddenNow.Load();
    Lib_Public::AfficherAuDessus(hiddenNow, -1);
    normal.Show();

    Lib_Public::AfficherMessageBoxOuInputBox(-1);
    EXPECT_FALSE(inFront.Topmost());
    EXPECT_EQ(inFront.Tag, "-1");
    EXPECT_TRUE(hiddenNow.Topmost());  // hidden: nothing to step back from
    EXPECT_EQ(hiddenNow.Tag, "1");

    Lib_Public::AfficherMessageBoxOuInputBox(0);
    EXPECT_TRUE(inFront.Topmost());
    EXPECT_EQ(inFront.Tag, "1");
    EXPECT_FALSE(normal.Topmost());
    EXPECT_TRUE(normal.Tag.empty());
}

}  // namespace
