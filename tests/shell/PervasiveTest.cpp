// The database files of a base: the set opened at start-up and closed at shut-down.
#include <gtest/gtest.h>

#include "btrieve/BtrState.h"
#include "btrieve/Seams.h"
#include "foundation/LogBuffers.h"
#include "foundation/NeighbourServices.h"
#include "foundation/Site.h"
#include "shell/Frm_Main.h"
#include "tests/support/TempSite.h"
#include "tests/tools/automation/AutomationSide.h"

namespace {

const std::string kData = "C:\\AL_Data\\";

class TestWindow : public Frm_Main {
protected:
    void Form_Load() override {}
};

class Pervasive : public support::SiteTest {
protected:
    void SetUp() override {
        PbSDossierDataBase[0] = kData;
        PbTBases[0].Dossier_Data = kData;
        PbBFRADx55Ouvert = PbBFRAD059Ouvert = false;
        Lib_Data_BTrieve::seams::setSleep([](int32_t) {});
        logbuffers::earlyBuffer().clear();
    }
    void create(int stations, const std::vector<int16_t>& fichiers) {
        std::filesystem::create_directories(drive.host(kData));
        std::string failureText;
        ASSERT_EQ(automation::createBaseFiles(kData, stations, fichiers, failureText), 0) << failureText;
    }
    std::vector<std::string> lineList(const std::string& beginning) const {
        std::vector<std::string> foundItems;
        for (const auto& l : logbuffers::earlyBuffer())
            if (l.find(beginning) != std::string::npos) foundItems.push_back(l.substr(l.find(beginning)));
        return foundItems;
    }
    static bool ouvert(int station, int fichier) { return PbBBtrFileOpen[0][station - 1][fichier]; }

    TestWindow win;
};

TEST_F(Pervasive, OpensTheSetWithTheQueueFilesOfEveryStationAndClosesItAgain) {
    create(2, automation::baseFiles());
    win.PervasiveOuvertureFichiers(0, 1, 2);
    EXPECT_TRUE(PbBFRADx55Ouvert);
    EXPECT_TRUE(PbBFRAD059Ouvert);
    for (int fichier : {20, 47, 59}) EXPECT_TRUE(ouvert(1, fichier)) << fichier;
    EXPECT_TRUE(ouvert(1, 55));
    EXPECT_TRUE(ouvert(2, 55));

    win.PervasiveFermetureFichiers(0, 1, 2, -1);
    for (int fichier : {20, 47, 55, 59}) EXPECT_FALSE(ouvert(1, fichier)) << fichier;
    EXPECT_FALSE(ouvert(2, 55));
    EXPECT_EQ(lineList("Pervasive Files: ").size(), 2u);
    EXPECT_TRUE(PbBFRADx55Ouvert);  // never cleared by the close
}

TEST_F(Pervasive, ASecondOpenClosesTheWholeSetFirst) {
    create(1, automation::baseFiles());
    win.PervasiveOuvertureFichiers(0, 1, 1);
    win.PervasiveOuvertureFichiers(0, 1, 1);
    EXPECT_EQ(lineList("Pervasive Files: "),
              (std::vector<std::string>{"Pervasive Files: Opened", "Pervasive Files: Closed",
                                        "Pervasive Files: Opened"}));
}

TEST_F(Pervasive, WithoutStationOnesQueueFileOnly59IsOpened) {
    create(1, {20, 21, 22, 26, 31, 32, 37, 43, 44, 45, 47, 59});
    win.PervasiveOuvertureFichiers(0, 1, 1);
    EXPECT_FALSE(PbBFRADx55Ouvert);
    EXPECT_TRUE(PbBFRAD059Ouvert);
    EXPECT_FALSE(ouvert(1, 55));
    EXPECT_TRUE(ouvert(1, 59));
}

TEST_F(Pervasive, ClosingOneFileKeepsTheBaseMarkedOpen) {
    create(1, automation::baseFiles());
    win.PervasiveOuvertureFichiers(0, 1, 1);
    win.PervasiveFermetureFichiers(0, 1, 1, 55);
    EXPECT_FALSE(ouvert(1, 55));
    EXPECT_TRUE(ouvert(1, 20));
    EXPECT_EQ(lineList("Pervasive File: 55: Closed").size(), 1u);
    win.PervasiveOuvertureFichiers(0, 1, 1);
    EXPECT_EQ(lineList("Pervasive Files: Closed").size(), 1u);
}

}  // namespace
