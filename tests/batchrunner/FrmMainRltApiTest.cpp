// The runner's window driven in-process: the poll, the run between its boxes, the quit question.
#include <gtest/gtest.h>

#include <algorithm>

#include "batchrunner/Frm_Main_RLT_API.h"
#include "platform/Dialogs.h"
#include "platform/process/Process.h"
#include "tests/support/Programs.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace dlg = platform::dialogs;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

class RunnerWindow : public support::SiteTest {
protected:
    void SetUp() override { dropFolder = drive.root() / "Vantremo" / "Aerolune" / "RLT"; }

    // A batch file that appends a line to its marker, with the CRLF its Windows writer gives it.
    fs::path drop(const std::string& name) {
        const fs::path marker = drive.root() / (name + ".ran");
        support::writeWindowsFile(dropFolder / name, "echo ran >> '" + marker.string() + "'\n");
        return marker;
    }
    std::vector<std::string> texts() {
        std::vector<std::string> out;
        for (const auto& a : dlg::asked()) out.push_back(a.text);
        return out;
    }
    std::vector<std::string> queued() {
        std::vector<std::string> out;
        for (int i = 0; i < form.ListeBatch->ListCount(); ++i) out.push_back(form.ListeBatch->List(i));
        return out;
    }

    fs::path dropFolder;
    Frm_Main_RLT_API form;
};

TEST_F(RunnerWindow, PollQueuesOnlyMatchingNormalFilesAndHandsOver) {
    form.Load();
    form.TimerMain_Timer();
    EXPECT_EQ(form.ListeBatch->ListCount(), 0) << "no folder yet";
    EXPECT_TRUE(form.TimerMain->Enabled());
    EXPECT_FALSE(form.TimerBis->Enabled());

    drop("AL3_Relaytone_b.bat");
    drop("al3_relaytone_A.BAT");
    drop("Other.bat");
    drop("AL3_Relaytone_c.txt");
    drop("My AL3_Relaytone.bat");
    fs::create_directories(dropFolder / "AL3_Relaytone_dir.bat");
    form.TimerMain_Timer();
    EXPECT_EQ(queued(), (std::vector<std::string>{"C:\\Vantremo\\Aerolune\\RLT\\al3_relaytone_A.BAT",
                                                  "C:\\Vantremo\\Aerolune\\RLT\\AL3_Relaytone_b.bat"}));
    EXPECT_FALSE(form.TimerMain->Enabled());
    EXPECT_TRUE(form.TimerBis->Enabled());
    EXPECT_TRUE(dlg::asked().empty());
}

// "AL3_Relaytone*.bat": the program's name, anything or nothing, then the batch extension.
TEST_F(RunnerWindow, ThePatternTakesTheProgramsNameFollowedByAnythingAndBat) {
    const struct {
        const char* name;
        bool queued;
    } cases[] = {
        {"AL3_Relaytone.bat", true}, {"AL3_Relaytone2.bat", true},     {"AL3_Relaytone_x.bat", true},
        {"AL3_RELAYTONE.BAT", true}, {"AL3_Relaytone .bat", true},     {"AL3_Relaytone.bat.bat", true},
        {"AL3_Relayton.bat", false}, {"AL3_Relaytone.bat.txt", false}, {"AL3_Relaytone.cmd", false},
        {"AL3_Relaytonebat", false}, {"XAL3_Relaytone.bat", false},    {"AL3-Relaytone.bat", false},
    };
    form.Load();
    std::vector<std::string> expected;
    for (const auto& c : cases) {
        drop(c.name);
        if (c.queued) expected.push_back(std::string("C:\\Vantremo\\Aerolune\\RLT\\") + c.name);
    }
    form.TimerMain_Timer();
    std::vector<std::string> got = queued();
    std::sort(got.begin(), got.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(got, expected);
}

TEST_F(RunnerWindow, RunStartsEachFileBetweenItsTwoBoxesAndTheFilesStay) {
    const fs::path first = drop("AL3_Relaytone_1.bat"), second = drop("AL3_Relaytone_2.bat");
    const std::string bytes = support::readBytes(dropFolder / "AL3_Relaytone_1.bat");
    form.Load();
    for (int cycle = 1; cycle <= 2; ++cycle) {
        form.TimerMain_Timer();
        form.TimerBis_Timer();
        EXPECT_EQ(form.ListeBatch->ListCount(), 0);
        EXPECT_TRUE(form.TimerMain->Enabled());
        EXPECT_FALSE(form.TimerBis->Enabled());
        std::string lines;
        for (int i = 0; i < cycle; ++i) lines += "ran\n";
        ASSERT_TRUE(support::eventually(
            [&] { return support::readBytes(first) == lines && support::readBytes(second) == lines; }, 5s))
            << "cycle " << cycle;
    }
    const std::string folder = "C:\\Vantremo\\Aerolune\\RLT\\";
    const std::vector<std::string> oneCycle{"FichierBatch: Avant: " + folder + "AL3_Relaytone_1.bat",
                                            "FichierBatch: Après: " + folder + "AL3_Relaytone_1.bat",
                                            "FichierBatch: Avant: " + folder + "AL3_Relaytone_2.bat",
                                            "FichierBatch: Après: " + folder + "AL3_Relaytone_2.bat"};
    std::vector<std::string> twoCycles = oneCycle;
    twoCycles.insert(twoCycles.end(), oneCycle.begin(), oneCycle.end());
    EXPECT_EQ(texts(), twoCycles);
    EXPECT_EQ(dlg::asked()[0].title, "AL3_Relaytone_API");
    EXPECT_EQ(support::readBytes(dropFolder / "AL3_Relaytone_1.bat"), bytes);
}

TEST_F(RunnerWindow, AFileGoneBeforeItsStartIsReportedOnceAndTheQueueGoesOn) {
    drop("AL3_Relaytone_1.bat");
    const fs::path second = drop("AL3_Relaytone_2.bat");
    form.Load();
    form.TimerMain_Timer();
    fs::remove(dropFolder / "AL3_Relaytone_1.bat");
    form.TimerBis_Timer();
    const auto asked = dlg::asked();
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_TRUE(
        asked[1].text.starts_with("FichierBatch: Erreur: C:\\Vantremo\\Aerolune\\RLT\\AL3_Relaytone_1.bat"))
        << asked[1].text;
    EXPECT_EQ(asked[3].text, "FichierBatch: Après: C:\\Vantremo\\Aerolune\\RLT\\AL3_Relaytone_2.bat");
    EXPECT_TRUE(support::eventually([&] { return fs::exists(second); }, 5s));
    EXPECT_TRUE(form.TimerMain->Enabled()) << "the poll goes on";
    form.TimerMain_Timer();
    EXPECT_EQ(queued().size(), 1u) << "the poll runs again after a run";
}

TEST_F(RunnerWindow, QuitAsksOnTheButtonAndTheCloseBoxButNotOnAShutDown) {
    int ended = 0;
    form.Ended = [&] { ++ended; };
    form.Load();
    dlg::queueAnswers({"no", "no"});
    form.CommandQuitter->click();
    form.close();
    EXPECT_TRUE(form.Loaded());
    EXPECT_TRUE(form.TimerMain->Enabled()) << "still polling";
    form.CommandVeille->click();
    const auto asked = dlg::asked();
    ASSERT_EQ(asked.size(), 2u) << "the standby button does nothing";
    for (const auto& a : asked) {
        EXPECT_EQ(a.text, "Voulez-vous quitter le programme ?");
        EXPECT_EQ(a.title, "Relaytone API");
    }

    dlg::queueAnswers({"yes"});
    form.close();
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(form.TimerMain->Enabled());

    form.Load();
    EXPECT_TRUE(form.Unload(platform::forms::vbAppWindows));
    EXPECT_EQ(dlg::asked().size(), 3u) << "a shut-down closes without asking";
    EXPECT_EQ(ended, 2);
}
