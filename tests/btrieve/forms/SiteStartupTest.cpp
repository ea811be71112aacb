// The site start-up on fixture sites: one base, three bases (command line, dialog), data test,
// redistribution copy, and what it must leave untouched.
#include <gtest/gtest.h>

#include <QTimer>

#include "btrieve/forms/FrmSelectBase.h"
#include "foundation/BaseChoice.h"
#include "foundation/FileVersions.h"
#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "platform/Dialogs.h"
#include "tests/foundation/SiteFixture.h"
#include "tests/support/DesktopLocale.h"

namespace dlg = platform::dialogs;

namespace {

const std::string kThreeBases =
    "[Site]\nNbBase=3\nDossier_Config_Global=\n"
    "[Base_01]\nDossier_Config_Global=C:\\Cfg\\B1\n"
    "[Base_02]\nDossier_Config_Global=C:\\Cfg\\B2\n"
    "[Base_03]\nDossier_Config_Global=C:\\Cfg\\B3\n";

class SiteStartup : public sitetest::Site {
protected:
    void SetUp() override {
        sitetest::Site::SetUp();
        // The program's shell installs it itself: tests/e2e/BaseChoiceTest.cpp starts the real
        // program, which must show it without this.
        FrmSelectBaseDialog::install(nullptr);
    }
    // A base folder whose system file describes the base in section Base_01, with its data.
    void base(const std::string& folder, const std::string& label, const std::string& extra = {}) {
        write(folder + "AL3_Systeme.ini", "[Base_01]\nLib=" + label +
                                              "\nActif=1\nNbStation=2\nDossier_Data=C:\\Data\\" + label +
                                              "\n" + extra);
        write("C:\\Data\\" + label + "\\FRAD000.bt6", "records");
    }
    std::string siteKey(const std::string& key) {
        const std::string text = support::readWindowsFile(drive.host(sitetest::kConfig));
        const size_t at = text.find("\n" + key + "=", text.find("[Site]"));
        if (at == std::string::npos) return "<absent>";
        const size_t start = at + key.size() + 2;
        return text.substr(start, text.find('\n', start) - start);
    }
};

}  // namespace

TEST_F(SiteStartup, OneBaseFillsBaseZeroAndWritesNothingBack) {
    write(sitetest::kConfig, "[Site]\nNbBase=1\n[Base_01]\nDossier_Config_Global=C:\\Cfg\\B1\n");
    write("C:\\Cfg\\B1\\AL3_Systeme.ini",
          "[Base_01]\nLib=Studio A\nActif=1\nNbStation=12\nDossier_Data=C:\\Data\\A\n"
          "[Base_01_Station_01]\nLib=Radio Nord\nActif=1\n[Base_01_Station_12]\nActif=0\n");
    write("C:\\Data\\A\\FRAD000.bt6", "records");
    const std::string before = bytes(sitetest::kConfig);

    Lib_Site::InitGeneralSite(-1);

    EXPECT_EQ(bytes(sitetest::kConfig), before);
    EXPECT_TRUE(dlg::asked().empty());
    EXPECT_EQ(PbSDossierConfigBase[0], "C:\\Cfg\\B1\\");
    const InfoBase& b = PbTBases[0];
    EXPECT_EQ(b.Lib, "Studio A");
    EXPECT_TRUE(b.Actif);
    EXPECT_EQ(b.NbStation, 12);
    EXPECT_EQ(PbINbStations, 7);
    EXPECT_EQ(PbINbLignesUDP, 7);
    EXPECT_EQ(b.Stations[0].Lib, "Radio Nord");
    EXPECT_TRUE(b.Stations[0].Actif);
    EXPECT_EQ(b.Stations[11].Lib, "Station 12");
    EXPECT_FALSE(b.Stations[11].Actif);
    EXPECT_EQ(b.Stations[12].Lib, "");  // only the base's stations are read
    EXPECT_EQ(b.Dossier_Data, "C:\\Data\\A\\");
    EXPECT_EQ(b.DossierIni, "C:\\Cfg\\B1\\");
    EXPECT_EQ(b.DossierIniLocal, "C:\\Vantremo\\Aerolune\\Settings\\_Local\\Serveur_Ini\\Relaytone\\00\\");
    for (const std::string& folder : std::vector<std::string>{
             "C:\\AudioLog\\", b.DossierIniLocal, "C:\\Vantremo\\Aerolune\\Shared\\Image\\Categorie\\",
             "C:\\Vantremo\\Aerolune\\Shared\\Image\\Message\\", "C:\\AL_Data\\_Bkp\\",
             "C:\\Vantremo\\Aerolune\\Notes\\Disque\\", "C:\\Vantremo\\Aerolune\\Notes\\Conducteur\\"})
        EXPECT_TRUE(exists(folder)) << folder;
    EXPECT_EQ(logged("Local_INI_Folder: " + b.DossierIniLocal), 1);
    EXPECT_EQ(logged("Schedule_Notes_Folder: C:\\Vantremo\\Aerolune\\Notes\\Conducteur\\"), 1);
    EXPECT_EQ(logged("Dossier_Redist: "), 1);  // no redistribution folder: the line alone
    EXPECT_FALSE(exists("C:\\AL\\"));
}

// "Actif" is true unless a number equal to 0, read the same under the operators' locale; a
// text that is no number is reported and the flag stays as it was.
TEST_F(SiteStartup, ActiveFlagsReadTheSameInEveryLocale) {
    const struct {
        const char* value;
        bool active;
        bool mismatch;
    } cases[] = {
        {"1", true, false},    {"0", false, false},     {"0.0", false, false}, {"0.5", true, false},
        {"-1", true, false},   {"+0", false, false},    {"0e5", false, false}, {"1e0", true, false},
        {"True", true, false}, {"false", false, false}, {"0,5", true, true},   {"abc", true, true},
    };
    support::DesktopLocale desktop("fr_FR.UTF-8");
    write(sitetest::kConfig, "[Site]\nNbBase=1\n[Base_01]\nDossier_Config_Global=C:\\Cfg\\B1\n");
    write("C:\\Data\\A\\FRAD000.bt6", "records");
    for (const auto& c : cases) {
        write("C:\\Cfg\\B1\\AL3_Systeme.ini",
              std::string("[Base_01]\nNbStation=1\nDossier_Data=C:\\Data\\A\n[Base_01_Station_01]\nActif=") +
                  c.value + "\n");
        PbTBases[0].Stations[0].Actif = true;
        const int mismatches = logged("Type mismatch");
        Lib_Site::InitGeneralSite(-1);
        EXPECT_EQ(PbTBases[0].Stations[0].Actif, c.active) << c.value;
        EXPECT_EQ(logged("Type mismatch") > mismatches, c.mismatch) << c.value;
    }
}

TEST_F(SiteStartup, CountsOutsideTheModelAreCapped) {
    const struct {
        const char* nbBase;
        const char* nbStation;
        int16_t stations;
        int16_t handled;
        const char* warning;
        const char* last;
    } cases[] = {
        {"1", "25", 20, 7, "Warning: NbStation 25 above 20", "Last"},
        {"0", "3", 3, 3, "Warning: NbBase 0 below 1", ""},
        {"-2", "0", 0, 0, "Warning: NbBase -2 below 1", ""},
    };
    for (const auto& c : cases) {
        logbuffers::earlyBuffer().clear();
        PbTBases = {};
        write(sitetest::kConfig,
              std::string("[Site]\nNbBase=") + c.nbBase + "\n[Base_01]\nDossier_Config_Global=C:\\Cfg\\B1\n");
        write("C:\\Cfg\\B1\\AL3_Systeme.ini",
              std::string("[Base_01]\nNbStation=") + c.nbStation +
                  "\nDossier_Data=C:\\Data\\A\n[Base_01_Station_20]\nLib=Last\n");
        write("C:\\Data\\A\\FRAD000.bt6", "records");
        Lib_Site::InitGeneralSite(-1);
        EXPECT_EQ(PbTBases[0].NbStation, c.stations) << c.nbStation;
        EXPECT_EQ(PbINbStations, c.handled) << c.nbStation;
        EXPECT_EQ(logged(c.warning), 1) << c.warning;
        EXPECT_EQ(PbTBases[0].Lib, "Base 1");
        EXPECT_EQ(PbTBases[0].Stations[19].Lib, c.last) << c.nbStation;
    }
}

TEST_F(SiteStartup, TooManyBasesAreCappedAtFive) {
    write(sitetest::kConfig, "[Site]\nNbBase=9\n[Base_01]\nDossier_Config_Global=C:\\Cfg\\B1\n");
    base("C:\\Cfg\\B1\\", "Un");
    dlg::queueAnswers({"1"});
    Lib_Site::InitGeneralSite(-1);
    EXPECT_EQ(logged("Warning: NbBase 9 above 5: 5 bases used"), 1);
    // Bases 2 to 5 fall back on the default folder: five lines, no more.
    ASSERT_EQ(dlg::asked().size(), 1u);
    EXPECT_EQ(dlg::asked()[0].text,
              "Sélectionnez la base et la station: Un; Base 02; Base 03; Base 04; Base 05");
    EXPECT_EQ(PbTBases[0].Lib, "Un");
}

TEST_F(SiteStartup, BaseCurrentKeepsTheConfiguredBase) {
    const struct {
        const char* site;
        const char* lib;
    } cases[] = {
        {"C:\\Cfg\\B2", "Deux"},  // the site's current base
        {"", "Un"},               // blank: base 1's folder stays
    };
    for (const auto& c : cases) {
        PbSDossierConfigBase = {};
        PbTBases = {};
        std::string config = kThreeBases;
        config.replace(config.find("Dossier_Config_Global=\n"), 23,
                       std::string("Dossier_Config_Global=") + c.site + "\n");
        write(sitetest::kConfig, config);
        base("C:\\Cfg\\B1\\", "Un");
        base("C:\\Cfg\\B2\\", "Deux");
        const std::string before = bytes(sitetest::kConfig);
        PbSLigneCommande = "/base=CURRENT /Veille=True";
        Lib_Site::InitGeneralSite(-1);
        EXPECT_EQ(PbTBases[0].Lib, c.lib);
        EXPECT_EQ(bytes(sitetest::kConfig), before);
        EXPECT_EQ(PbINbBasesSite, 1);
    }
    EXPECT_TRUE(dlg::asked().empty());
}

TEST_F(SiteStartup, NoBaseSwitchWritesTheBaseAndWorksOnIt) {
    write(sitetest::kConfig, kThreeBases);
    base("C:\\Cfg\\B1\\", "Un");
    base("C:\\Cfg\\B3\\", "Trois");
    PbIDefaultNoBase = 2;
    Lib_Site::InitGeneralSite(-1);
    EXPECT_EQ(siteKey("Dossier_Config_Global"), "C:\\Cfg\\B3\\");
    EXPECT_EQ(siteKey("NoBase"), "3");
    EXPECT_EQ(PbSDossierConfigBase[0], "C:\\Cfg\\B3\\");
    EXPECT_EQ(PbTBases[0].Lib, "Trois");
    EXPECT_EQ(PbTBases[0].Dossier_Data, "C:\\Data\\Trois\\");
    EXPECT_TRUE(dlg::asked().empty());
}

TEST_F(SiteStartup, NoBaseSwitchOutsideTheSiteAsksInstead) {
    write(sitetest::kConfig, kThreeBases);
    base("C:\\Cfg\\B2\\", "Deux");
    PbIDefaultNoBase = 3;
    dlg::queueAnswers({"2"});
    Lib_Site::InitGeneralSite(-1);
    EXPECT_EQ(logged("Warning: /NoBase=3 is not a base of the site (3 bases)"), 1);
    ASSERT_EQ(dlg::asked().size(), 1u);
    EXPECT_EQ(dlg::asked()[0].kind, dlg::Kind::Window);
    EXPECT_EQ(siteKey("NoBase"), "2");
    EXPECT_EQ(PbTBases[0].Lib, "Deux");
}

TEST_F(SiteStartup, DialogAnswerIsWrittenBackAndBecomesBaseZero) {
    write(sitetest::kConfig, kThreeBases);
    base("C:\\Cfg\\B1\\", "Un");
    base("C:\\Cfg\\B2\\", "Deux");
    write("C:\\Cfg\\B3\\AL3_Systeme.ini", "[Base_03]\nLib=Trois\n");  // its own section names it
    dlg::queueAnswers({"2"});
    Lib_Site::InitGeneralSite(-1);
    const auto asked = dlg::asked();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].title, "Choix de la base");
    EXPECT_EQ(asked[0].text, "Sélectionnez la base et la station: Un; Deux; Trois");
    EXPECT_EQ(siteKey("NoBase"), "2");
    EXPECT_EQ(siteKey("Dossier_Config_Global"), "C:\\Cfg\\B2\\");
    EXPECT_EQ(PbSDossierConfigBase[0], "C:\\Cfg\\B2\\");
    EXPECT_EQ(PbTBases[0].Lib, "Deux");  // read from the second base's file, section Base_01
    EXPECT_EQ(PbINbBasesSite, 1);
    EXPECT_EQ(PbINoBaseSelectionnee, 0);
    EXPECT_EQ(logged("Open Modal Form: FrmSelectBase"), 1);
}

TEST_F(SiteStartup, TheRadioIdentityComesFromTheBasesStationsAndTheSiteFile) {
    const std::string stations =
        "[Base_01_Station_01]\nLib=Radio Nord\n[Base_01_Station_02]\nLib=Radio Sud\n";
    base("C:\\Cfg\\B1\\", "Un", stations);
    const struct {
        const char* site;
        int16_t id;
        int16_t index;
        const char* warning;
    } cases[] = {
        {"", 0, 0, nullptr},
        {"Id_Radio=57\nNoStation_Radio=2\n", 57, 1, nullptr},
        {"Id_Radio=40000\n", 0, 0, "Warning: Id_Radio 40000 outside 0 to 32767: 0 used"},
        {"Id_Radio=-4\nNoStation_Radio=3\n", 0, 0,
         "Warning: NoStation_Radio 3 is not a station of the base (1 to 2)"},
        {"NoStation_Radio=abc\n", 0, 0, "Warning: NoStation_Radio abc is not a station of the base"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.site);
        logbuffers::earlyBuffer().clear();
        PbIIdRadio = PbIIndexNomRadio = 9;
        PbSNomRadio.fill("stale");
        write(sitetest::kConfig,
              std::string("[Site]\nNbBase=1\n") + c.site + "[Base_01]\nDossier_Config_Global=C:\\Cfg\\B1\n");
        Lib_Site::InitGeneralSite(-1);
        EXPECT_EQ(PbIIdRadio, c.id);
        EXPECT_EQ(PbIIndexNomRadio, c.index);
        EXPECT_EQ(PbSNomRadio[0], "Radio Nord");
        EXPECT_EQ(PbSNomRadio[1], "Radio Sud");
        EXPECT_EQ(PbSNomRadio[2], "");  // no third station
        if (c.warning)
            EXPECT_EQ(logged(c.warning), 1);
        else
            EXPECT_EQ(logged("Warning: "), 0);
    }

    // On a site of several bases the names are those of the chosen base.
    write(sitetest::kConfig, kThreeBases);
    base("C:\\Cfg\\B2\\", "Deux", "[Base_01_Station_01]\nLib=Radio Deux\n");
    write("C:\\Cfg\\B3\\AL3_Systeme.ini", "[Base_01]\nLib=Trois\n");
    dlg::queueAnswers({"2"});
    Lib_Site::InitGeneralSite(-1);
    EXPECT_EQ(PbSNomRadio[0], "Radio Deux");
    EXPECT_EQ(PbSNomRadio[1], "Station 2");
}

TEST_F(SiteStartup, TheChosenBaseRunsWithTheStationsOfItsFilesBase01) {
    write(sitetest::kConfig, kThreeBases);
    base("C:\\Cfg\\B1\\", "Un");
    base("C:\\Cfg\\B3\\", "Trois", "[Base_03]\nNbStation=4\n");  // what the dialog once listed
    dlg::queueAnswers({"3"});
    Lib_Site::InitGeneralSite(-1);
    EXPECT_EQ(PbTBases[0].NbStation, 2);
    EXPECT_EQ(PbINbStations, 2);
}

TEST_F(SiteStartup, BasesWithoutFolderGetNoLineAndTheOthersKeepTheirNumber) {
    write(
        sitetest::kConfig,
        "[Site]\nNbBase=3\n[Base_01]\nDossier_Config_Global=C:\\Cfg\\B1\n[Base_02]\nDossier_Config_Global=\n"
        "[Base_03]\nDossier_Config_Global=C:\\Cfg\\B3\n");
    base("C:\\Cfg\\B1\\", "Un");
    base("C:\\Cfg\\B3\\", "Trois");
    dlg::queueAnswers({"3"});
    Lib_Site::InitGeneralSite(-1);
    EXPECT_EQ(dlg::asked()[0].text, "Sélectionnez la base et la station: Un; Trois");
    EXPECT_EQ(siteKey("NoBase"), "3");
    EXPECT_EQ(siteKey("Dossier_Config_Global"), "C:\\Cfg\\B3\\");
    EXPECT_EQ(PbTBases[0].Lib, "Trois");
}

TEST_F(SiteStartup, TheConfiguredBaseIsPreselectedWhateverItsLetterCase) {
    std::string config = kThreeBases;
    config.replace(config.find("Dossier_Config_Global=\n"), 23, "Dossier_Config_Global=c:\\cfg\\b3\\\n");
    write(sitetest::kConfig, config);
    base("C:\\Cfg\\B1\\", "Un");
    base("C:\\Cfg\\B3\\", "Trois");
    dlg::queueAnswers({"ok"});  // "Valider" on the preselected line
    Lib_Site::InitGeneralSite(-1);
    EXPECT_EQ(siteKey("NoBase"), "3");
    EXPECT_EQ(PbTBases[0].Lib, "Trois");
}

TEST_F(SiteStartup, DialogCancelledEndsTheProgramAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    write(sitetest::kConfig, kThreeBases);
    base("C:\\Cfg\\B1\\", "Un");
    const std::string before = bytes(sitetest::kConfig);
    EXPECT_EXIT(
        {
            dlg::queueAnswers({"cancel"});
            Lib_Site::InitGeneralSite(-1);
            std::_Exit(3);  // went on
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(bytes(sitetest::kConfig), before);
}

class DataTest : public SiteStartup {
protected:
    void SetUp() override {
        SiteStartup::SetUp();
        write(sitetest::kConfig, "[Site]\nNbBase=1\n[Base_01]\nDossier_Config_Global=C:\\Cfg\\B1\n");
        write("C:\\Cfg\\B1\\AL3_Systeme.ini", "[Base_01]\nLib=Studio A\nDossier_Data=C:\\Data\\A\n");
        write("C:\\Found\\FRAD000.bt6", "records");
        write("C:\\Empty\\FRAD000.bt6", "");
    }
    std::string systemFile() { return support::readWindowsFile(drive.host("C:\\Cfg\\B1\\AL3_Systeme.ini")); }
};

TEST_F(DataTest, NoGoesOnWithTheFolderUnchanged) {
    dlg::queueAnswers({"no"});
    Lib_Site::InitGeneralSite(-1);
    const auto asked = dlg::asked();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text,
              "Impossible de trouver la base de données pour la base: Studio A\r\n\r\n"
              "Fichier 'C:\\Data\\A\\FRAD000.bt6' non trouvé\r\n\r\n"
              "Voulez-vous rechercher manuellement la localisation de la base de données Aerolune ?");
    EXPECT_EQ(PbTBases[0].Dossier_Data, "C:\\Data\\A\\");
    EXPECT_TRUE(exists("C:\\Data\\A\\"));
}

TEST_F(DataTest, PickedFoldersUntilOneHoldsTheData) {
    // An empty file counts as missing; a cancelled pick changes nothing; a good pick is kept.
    dlg::queueAnswers({"yes", "C:\\Empty", "yes", "cancel", "yes", "C:\\Found"});
    Lib_Site::InitGeneralSite(-1);
    const auto asked = dlg::asked();
    ASSERT_EQ(asked.size(), 6u);
    EXPECT_EQ(asked[1].kind, dlg::Kind::Folder);
    EXPECT_NE(asked[2].text.find("Fichier 'C:\\Empty\\FRAD000.bt6' non trouvé"), std::string::npos);
    EXPECT_EQ(asked[3].kind, dlg::Kind::Folder);
    EXPECT_EQ(PbTBases[0].Dossier_Data, "C:\\Found\\");
    EXPECT_NE(systemFile().find("Dossier_Data=C:\\Found\\"), std::string::npos);
}

TEST_F(DataTest, AFolderWithoutTheDataIsUsedButNotWrittenBack) {
    dlg::queueAnswers({"yes", "C:\\Empty", "no"});
    Lib_Site::InitGeneralSite(-1);
    EXPECT_EQ(PbTBases[0].Dossier_Data, "C:\\Empty\\");
    EXPECT_NE(systemFile().find("Dossier_Data=C:\\Data\\A\n"), std::string::npos);
}

TEST_F(DataTest, TheSameAnswerOverAndOverGivesUpTheSearchAndTheStartUpGoesOn) {
    const std::string givenUp = "Err: Database not found: ";
    auto picks = [](int times, const std::string& folder) {
        std::vector<std::string> answers;
        for (int i = 0; i < times; ++i) answers.insert(answers.end(), {"yes", folder});
        return answers;
    };
    struct Case {
        const char* what;
        std::vector<std::string> answers;
        const char* folder;
        bool gaveUp;
    };
    std::vector<std::string> lateFind = picks(9, "cancel");
    lateFind.insert(lateFind.end(), {"yes", "C:\\Found"});
    const Case cases[] = {
        {"the boxes' defaults", {}, "C:\\Data\\A\\", true},
        {"one folder without the data", picks(10, "C:\\Empty"), "C:\\Empty\\", true},
        {"nine cancelled picks, then the data", lateFind, "C:\\Found\\", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dlg::reset();
        logbuffers::earlyBuffer().clear();
        dlg::queueAnswers(c.answers);  // then every box takes its default
        Lib_Site::InitGeneralSite(-1);
        EXPECT_EQ(dlg::asked().size(), 20u);
        EXPECT_EQ(PbTBases[0].Dossier_Data, c.folder);
        EXPECT_EQ(logged(givenUp), c.gaveUp ? 1 : 0);
        if (c.gaveUp) {
            EXPECT_EQ(logged(givenUp + c.folder +
                             "FRAD000.bt6 |The same answer 10 times: search "
                             "given up |Sub: Lib_Site:InitGeneralSite"),
                      1);
        }
        EXPECT_EQ(logged("Schedule_Notes_Folder: "), 1);  // the base's set-up went on
        write("C:\\Cfg\\B1\\AL3_Systeme.ini", "[Base_01]\nLib=Studio A\nDossier_Data=C:\\Data\\A\n");
    }
}

TEST_F(DataTest, ACloseDuringTheQuestionStopsTheStartUpWhereItIs) {
    // The close is handled among the events the question lets run after its first answer.
    QTimer::singleShot(0, [] { Abandon = true; });
    dlg::queueAnswers({});
    Lib_Site::InitGeneralSite(-1);
    Abandon = false;
    EXPECT_EQ(dlg::asked().size(), 2u);
    EXPECT_EQ(logged("Err: Database not found: "), 0);
    EXPECT_FALSE(exists("C:\\AL_Data\\_Bkp\\"));
    EXPECT_FALSE(exists("C:\\Vantremo\\Aerolune\\Notes\\"));
    EXPECT_EQ(logged("Dossier_Redist: "), 0);
    EXPECT_EQ(PbTBases[0].Stations[0].Lib, "");
}

TEST_F(DataTest, CancelEndsTheProgramAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dlg::queueAnswers({"cancel"});
            Lib_Site::InitGeneralSite(-1);
            std::_Exit(3);  // went on
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(SiteStartup, RedistributionCopyOncePerVersion) {
    write(sitetest::kConfig, "[Site]\nNbBase=1\n[Base_01]\nDossier_Config_Global=C:\\Cfg\\B1\n");
    base("C:\\Cfg\\B1\\", "Un", "Dossier_Redist=C:\\Redist\n");
    write(sitetest::kProgram + "AL3_Relaytone", "build one");
    const std::string copy =
        "C:\\Redist\\AL\\Backup\\Programmes\\AL3_Relaytone " + Lib_Systeme::VersionApplication() + ".exe";
    Lib_Site::InitGeneralSite(-1);
    EXPECT_EQ(bytes(copy), support::readBytes(drive.host(sitetest::kProgram + "AL3_Relaytone")));
    EXPECT_EQ(logged("Dossier_Redist: C:\\Redist\\AL\\Backup\\Programmes\\"), 1);

    write(sitetest::kProgram + "AL3_Relaytone", "same version, other bytes");
    Lib_Site::InitGeneralSite(-1);
    EXPECT_EQ(support::readWindowsFile(drive.host(copy)), "build one");
}
