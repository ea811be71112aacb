// LectureIni / EcritureIni over real files, the settings-file path rule and the window positions.
#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/ConversionsVba.h"
#include "foundation/LogBuffers.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "foundation/SystemQueries.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace fs = std::filesystem;
using Lib_Systeme::EcritureIni;
using Lib_Systeme::LectureIni;

namespace {

class SettingsFiles : public support::SiteTest {
protected:
    void SetUp() override {
        PbSDossierApplication = "C:\\Relaytone\\";
        PbSDossierSettings.clear();
        PbINoInstance = 0;
    }
};

class FakeForm : public Lib_Public::PositionedForm {
public:
    std::string name = "FrmSetup";
    double left = 0, top = 0, height = 2000, screenHeight = 11520;
    int16_t state = 0;
    std::string Name() const override { return name; }
    double Left() const override { return left; }
    double Top() const override { return top; }
    double Height() const override { return height; }
    void SetLeft(double v) override { left = v; }
    void SetTop(double v) override { top = v; }
    int16_t WindowState() const override { return state; }
    double ScreenHeight() const override { return screenHeight; }
};

}  // namespace

TEST_F(SettingsFiles, RefusedNamesNeverTouchTheDisk) {
    support::writeWindowsFile(drive.host("C:\\Cfg\\a.ini"), "[S]\nK=stored\n");
    for (const char* bad : {"C:\\Cfg\\a?.ini", "C:\\Cfg\\*.ini", "C:\\Cfg\\\"a\".ini", "C:\\Cfg\\a|b.ini"}) {
        EXPECT_EQ(LectureIni(bad, "S", "K", "dflt"), "dflt") << bad;
        EXPECT_FALSE(EcritureIni(bad, "S", "K", "v")) << bad;
    }
    EXPECT_FALSE(fs::exists(drive.root() / "Cfg" / "a?.ini"));
    EXPECT_TRUE(Lib_Public::NomFichierCorrect(""));
    EXPECT_TRUE(Lib_Public::NomFichierCorrect("C:\\A dir\\x.ini"));
}

TEST_F(SettingsFiles, ReadsWindowsFilesAndWritesThemBack) {
    const fs::path host = drive.host("C:\\Cfg\\AL3_Systeme.ini");
    support::writeWindowsFile(host, "[Base_00]\nDossier_Log = C:\\AudioLog\n; kept\n[Other]\nx=1\n");
    EXPECT_EQ(LectureIni("C:\\Cfg\\AL3_Systeme.ini", "BASE_00", "dossier_log", "C:\\"), "C:\\AudioLog");
    EXPECT_EQ(LectureIni("C:\\Cfg\\AL3_Systeme.ini", "Base_00", "Missing"), "");
    EXPECT_TRUE(EcritureIni("C:\\Cfg\\AL3_Systeme.ini", "Base_00", "Nom", "Été"));
    EXPECT_EQ(support::readWindowsFile(host),
              "[Base_00]\nDossier_Log = C:\\AudioLog\n; kept\nNom=Été\n[Other]\nx=1\n");
    EXPECT_EQ(LectureIni("C:\\Cfg\\AL3_Systeme.ini", "Base_00", "Nom"), "Été");
}

TEST_F(SettingsFiles, WriteCreatesTheFolderAndClearsReadOnly) {
    EXPECT_TRUE(EcritureIni("C:\\New\\Deep\\Folder\\x.ini", "S", "K", "1"));
    EXPECT_EQ(LectureIni("C:\\New\\Deep\\Folder\\x.ini", "S", "K"), "1");

    const fs::path host = drive.host("C:\\New\\Deep\\Folder\\x.ini");
    fs::permissions(host, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_TRUE(EcritureIni("C:\\New\\Deep\\Folder\\x.ini", "S", "K", "2"));
    EXPECT_EQ(LectureIni("C:\\New\\Deep\\Folder\\x.ini", "S", "K"), "2");
}

// A file the user may write in a folder he may not: written in place, as Windows does. What
// still cannot be written leaves a line, since most callers ignore the result.
TEST_F(SettingsFiles, WritesInAReadOnlyFolderAndLogsWhatCannotBeWritten) {
    const fs::path host = drive.host("C:\\Program Files\\Cfg\\AL3_Player.ini");
    support::writeWindowsFile(host, "[Planning]\nLundi=1\n");
    fs::permissions(host.parent_path(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    logbuffers::earlyBuffer().clear();
    EXPECT_TRUE(EcritureIni("C:\\Program Files\\Cfg\\AL3_Player.ini", "Planning", "Mardi", "2"));
    EXPECT_EQ(support::readWindowsFile(host), "[Planning]\nLundi=1\nMardi=2\n");
    EXPECT_TRUE(logbuffers::earlyBuffer().empty());

    EXPECT_FALSE(EcritureIni("C:\\Program Files\\Cfg\\New.ini", "S", "K", "1"));
    fs::permissions(host.parent_path(), fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(host.parent_path() / "New.ini"));
    bool logged = false;
    for (const std::string& line : logbuffers::earlyBuffer())
        logged |= line.find(
                      "Err: EcritureIni: Unable to write: C:\\Program Files\\Cfg\\New.ini [S] K "
                      "|Access denied") != std::string::npos;
    EXPECT_TRUE(logged);
}

TEST_F(SettingsFiles, ABareNameIsAFileOfTheWindowsFolder) {
    ASSERT_FALSE(fs::exists(drive.host("C:\\Windows")));  // made on the way, as any folder
    EXPECT_TRUE(EcritureIni("Relaytone.ini", "S", "K", "1"));
    EXPECT_EQ(support::readWindowsFile(drive.host("C:\\Windows\\Relaytone.ini")), "[S]\nK=1\n");
    EXPECT_EQ(LectureIni("relaytone.ini", "S", "K", "dflt"), "1");
    EXPECT_FALSE(fs::exists(fs::current_path() / "Relaytone.ini"));
}

TEST_F(SettingsFiles, BlankNamesAndLineBreaksAreRefused) {
    const fs::path host = drive.host("C:\\Cfg\\a.ini");
    support::writeWindowsFile(host, "[S]\nK=stored\n");
    EXPECT_FALSE(EcritureIni("C:\\Cfg\\a.ini", "   ", "K", "v"));
    EXPECT_FALSE(EcritureIni("C:\\Cfg\\a.ini", "S", "  ", "v"));
    EXPECT_FALSE(EcritureIni("C:\\Cfg\\a.ini", "S", "K", "two\r\n[lines]"));
    EXPECT_EQ(support::readWindowsFile(host), "[S]\nK=stored\n");
    bool logged = false;
    for (const std::string& line : logbuffers::earlyBuffer())
        logged = logged || line.find("Err: EcritureIni") != std::string::npos;
    EXPECT_TRUE(logged);
}

TEST_F(SettingsFiles, LongValuesComeBackCut) {
    EXPECT_TRUE(EcritureIni("C:\\Cfg\\a.ini", "S", "K", std::string(300, 'v')));
    EXPECT_EQ(LectureIni("C:\\Cfg\\a.ini", "S", "K"), std::string(254, 'v'));
}

TEST_F(SettingsFiles, SettingsPathFollowsTheInstance) {
    EXPECT_EQ(Lib_Public::NomFichierSettings("", ".Ini"),
              "C:\\Relaytone\\Settings\\AL3_Relaytone\\AL3_Relaytone.Ini");
    EXPECT_EQ(PbSDossierSettings, "C:\\Relaytone\\Settings\\AL3_Relaytone\\");
    EXPECT_EQ(PbTInfoVersionOS.platformId, 2u);
    PbINoInstance = 3;
    EXPECT_EQ(Lib_Public::NomFichierSettings("", ".Ini"),
              "C:\\Relaytone\\Settings\\AL3_Relaytone\\AL3_Relaytone_3.Ini");
    EXPECT_EQ(Lib_Public::NomFichierSettings("_Positions", ".Ini"),
              "C:\\Relaytone\\Settings\\AL3_Relaytone\\AL3_Relaytone_3_Positions.Ini");
}

TEST_F(SettingsFiles, OldSettingsFileMovesOutOfTheWindowsFolder) {
    PbINoInstance = 2;
    const fs::path old = drive.host("C:\\Windows\\AL3_Relaytone_2.Ini");
    support::writeWindowsFile(old, "[Email]\nAdresse=ops@example.org\n");
    const std::string settings = Lib_Public::NomFichierSettings("", ".Ini");
    EXPECT_EQ(LectureIni(settings, "Email", "Adresse"), "ops@example.org");
    EXPECT_FALSE(fs::exists(old));
}

TEST_F(SettingsFiles, NothingMovesWhenBothSettingsFilesExist) {
    const fs::path old = drive.host("C:\\Windows\\AL3_Relaytone.Ini");
    support::writeWindowsFile(old, "[S]\nK=old\n");
    support::writeWindowsFile(drive.host("C:\\Relaytone\\Settings\\AL3_Relaytone\\AL3_Relaytone.Ini"),
                              "[S]\nK=new\n");
    EXPECT_EQ(LectureIni(Lib_Public::NomFichierSettings("", ".Ini"), "S", "K"), "new");
    EXPECT_TRUE(fs::exists(old));
}

TEST_F(SettingsFiles, PositionsComeBackOnScreen) {
    const std::string file = Lib_Public::NomFichierSettings("_Positions", ".Ini");
    const struct {
        const char* left;
        const char* top;
        double expectedLeft, expectedTop;
    } cases[] = {
        {"1200", "50000", 1200, 5760},
        {"0", "-3000", 0, 0},
        {"-25000", "10", 0, 10},
        {"30000", "300", 30000, 300},
        {"abc", "", 0, 0},
        {"-19999", "-1899", -19999, -1899},
        {"0", "-1901", 0, 0},
        {"15.5x", "11520", 15.5, 11520},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(EcritureIni(file, "FrmPos", "FrmSetup_Left", c.left));
        ASSERT_TRUE(EcritureIni(file, "FrmPos", "FrmSetup_Top", c.top));
        FakeForm form;
        Lib_Public::PositionFeuille(form);
        EXPECT_EQ(form.left, c.expectedLeft) << c.left;
        EXPECT_EQ(form.top, c.expectedTop) << c.top;
    }
    FakeForm missing;
    missing.name = "FrmSetupSon";
    missing.left = missing.top = 777;
    Lib_Public::PositionFeuille(missing);
    EXPECT_EQ(missing.left, 0);
    EXPECT_EQ(missing.top, 0);
}

TEST_F(SettingsFiles, PositionsAreWrittenAsPlainWholeNumbersThatReadBackTheSame) {
    const std::string file = Lib_Public::NomFichierSettings("_Positions", ".Ini");
    const struct {
        double position;
        const char* text;
    } cases[] = {
        {300000, "300000"}, {-19995, "-19995"}, {1234.5, "1234"}, {1235.5, "1236"}, {0, "0"},
    };
    for (const auto& c : cases) {
        FakeForm form;
        form.screenHeight = 1e7;
        form.left = form.top = c.position;
        Lib_Public::PositionFeuilleSauvegarde(form);
        EXPECT_EQ(LectureIni(file, "FrmPos", "FrmSetup_Left"), c.text) << c.position;
        EXPECT_EQ(LectureIni(file, "FrmPos", "FrmSetup_Top"), c.text) << c.position;
        FakeForm restored;
        restored.screenHeight = 1e7;
        Lib_Public::PositionFeuille(restored);
        EXPECT_EQ(restored.left, VBA::Val(c.text)) << c.position;
    }
}

TEST_F(SettingsFiles, OnlyANormalWindowSavesItsPlace) {
    FakeForm form;
    form.left = 1440;
    form.top = -300;
    Lib_Public::PositionFeuilleSauvegarde(form);
    const std::string file = Lib_Public::NomFichierSettings("_Positions", ".Ini");
    EXPECT_EQ(support::readWindowsFile(drive.host(file)),
              "[FrmPos]\nFrmSetup_Left=1440\nFrmSetup_Top=-300\n");
    for (int16_t state : {1, 2}) {
        form.state = state;
        form.left = 5;
        Lib_Public::PositionFeuilleSauvegarde(form);
    }
    EXPECT_EQ(LectureIni(file, "FrmPos", "FrmSetup_Left"), "1440");
    form.state = 0;
    Lib_Public::PositionFeuilleSauvegarde(form, "Wide");
    EXPECT_EQ(LectureIni(file, "FrmPos", "FrmSetup_Left_Wide"), "5");
}
