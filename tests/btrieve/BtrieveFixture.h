// Shared set-up of the record-manager layer tests: a data folder, a fake main window, the seams.
#pragma once

#include <string>
#include <vector>

#include "btrieve/BtrState.h"
#include "btrieve/Seams.h"
#include "foundation/NeighbourServices.h"
#include "platform/Dialogs.h"
#include "tests/support/TempSite.h"

namespace btrieve_test {

// The main window as the error report sees it: its caption and the quit question.
class FakeMain : public neighbours::Frm_MainServices {
public:
    std::string Caption() override { return "Aerolune: Relaytone"; }
    void Quitter(bool force) override {
        quits.push_back(force);
        PbBQuitter = quitGoesAhead;
    }
    void ListeIncidents_AddItem(int16_t, const std::string& text) override { incidents.push_back(text); }
    std::vector<bool> quits;
    bool quitGoesAhead = false;
    std::vector<std::string> incidents;
};

class BtrieveTest : public support::SiteTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Every log line written so far (early and file buffers), as text.
    std::vector<std::string> logLines() const;
    // Log lines holding the text.
    std::vector<std::string> linesWith(const std::string& text) const;
    std::vector<platform::dialogs::Asked> boxes() const { return platform::dialogs::asked(); }
    // A host path under the C: root.
    std::filesystem::path hostOf(const std::string& windowsPath) const;

    FakeMain main;
    std::vector<int32_t> sleeps;  // the retries' waits, counted instead of slept
    int processEnds = 0;
    const std::string dataFolder = "C:\\AL_Data\\";
};

// The automation tool's executable in the program folder.
std::string automationTool();
// Runs the tool with the arguments; its exit code.
int runTool(const std::vector<std::string>& arguments);

}  // namespace btrieve_test
