// The real main window without its start-up sequence, for the menu, tray, look and layout tests.
#pragma once

#include <string>

#include "foundation/LogBuffers.h"
#include "foundation/RunState.h"
#include "shell/Frm_Main.h"
#include "tests/support/TempSite.h"

namespace mainwindow_test {

class Fenetre : public Frm_Main {
protected:
    void Form_Load() override {}
};

class MainWindowTest : public support::SiteTest {
protected:
    void SetUp() override {
        PbSDossierApplication = "C:\\Vantremo\\Aerolune\\";
        PbBFeuilleChargee = true;
        fenetre.Load();
        fenetre.SetCaption(fenetre.CaptionNormale());
        fenetre.Show();
    }
    static bool logged(const std::string& texte) {
        for (const auto& l : logbuffers::earlyBuffer())
            if (l.find(texte) != std::string::npos) return true;
        return false;
    }

    Fenetre fenetre;
};

}  // namespace mainwindow_test
