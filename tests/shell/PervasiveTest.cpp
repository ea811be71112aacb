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

class Fenetre : public Frm_Main {
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
    void creer(int stations, const std::vector<int16_t>& fichiers) {
        std::filesystem::create_directories(drive.host(kData));
        std::string echec;
        ASSERT_EQ(automation::createBaseFiles(kData, stations, fichiers, echec), 0) << echec;
    }
    std::vector<std::string> lignes(const std::string& debut) const {
        std::vector<std::string> trouvees;
        for (const auto& l : logbuffers::earlyBuffer())
            if (l.find(debut) != std::string::npos) trouvees.push_back(l.substr(l.find(debut)));
        return trouvees;
    }
    static bool ouvert(int station, int fichier) { return PbBBtrFileOpen[0][station - 1][fichier]; }

    Fenetre fenetre;
};

TEST_F(Pervasive, OpensTheSetWithTheQueueFilesOfEveryStationAndClosesItAgain) {
    creer(2, automation::baseFiles());
    fenetre.PervasiveOuvertureFichiers(0, 1, 2);
    EXPECT_TRUE(PbBFRADx55Ouvert);
    EXPECT_TRUE(PbBFRAD059Ouvert);
    for (int fichier : {20, 47, 59}) EXPECT_TRUE(ouvert(1, fichier)) << fichier;
    EXPECT_TRUE(ouvert(1, 55));
    EXPECT_TRUE(ouvert(2, 55));

    fenetre.PervasiveFermetureFichiers(0, 1, 2, -1);
    for (int fichier : {20, 47, 55, 59}) EXPECT_FALSE(ouvert(1, fichier)) << fichier;
    EXPECT_FALSE(ouvert(2, 55));
    EXPECT_EQ(lignes("Pervasive Files: ").size(), 2u);
    EXPECT_TRUE(PbBFRADx55Ouvert);  // never cleared by the close
}

TEST_F(Pervasive, ASecondOpenClosesTheWholeSetFirst) {
    creer(1, automation::baseFiles());
    fenetre.PervasiveOuvertureFichiers(0, 1, 1);
    fenetre.PervasiveOuvertureFichiers(0, 1, 1);
    EXPECT_EQ(lignes("Pervasive Files: "),
              (std::vector<std::string>{"Pervasive Files: Opened", "Pervasive Files: Closed",
                                        "Pervasive Files: Opened"}));
}

TEST_F(Pervasive, WithoutStationOnesQueueFileOnly59IsOpened) {
    creer(1, {20, 21, 22, 26, 31, 32, 37, 43, 44, 45, 47, 59});
    fenetre.PervasiveOuvertureFichiers(0, 1, 1);
    EXPECT_FALSE(PbBFRADx55Ouvert);
    EXPECT_TRUE(PbBFRAD059Ouvert);
    EXPECT_FALSE(ouvert(1, 55));
    EXPECT_TRUE(ouvert(1, 59));
}

TEST_F(Pervasive, ClosingOneFileKeepsTheBaseMarkedOpen) {
    creer(1, automation::baseFiles());
    fenetre.PervasiveOuvertureFichiers(0, 1, 1);
    fenetre.PervasiveFermetureFichiers(0, 1, 1, 55);
    EXPECT_FALSE(ouvert(1, 55));
    EXPECT_TRUE(ouvert(1, 20));
    EXPECT_EQ(lignes("Pervasive File: 55: Closed").size(), 1u);
    fenetre.PervasiveOuvertureFichiers(0, 1, 1);
    EXPECT_EQ(lignes("Pervasive Files: Closed").size(), 1u);
}

}  // namespace
