// The real main window without its start-up sequence, for the menu, tray, look and layout tests.
#pragma once

#include <string>

#include "foundation/LogBuffers.h"
#include "foundation/RunState.h"
#include "shell/Frm_Main.h"
#include "tests/support/TempSite.h"

namespace mainwindow_test {

class TestWindow : public Frm_Main {
protected:
    void Form_Load() override {}
};

class MainWindowTest : public support::SiteTest {
protected:
    void SetUp() override {
        PbSDossierApplication = "C:\\Vantremo\\Aerolune\\";
        PbBFeuilleChargee = true;
        win.Load();
        win.SetCaption(win.normalCaption());
        win.Show();
    }
    static bool logged(const std::string& textValue) {
        for (const auto& l : logbuffers::earlyBuffer())
            if (l.find(textValue) != std::string::npos) return true;
        return false;
    }

    TestWindow win;
};

}  // namespace mainwindow_test
