// The folder set-up of the settings window's load: zones, each zone's folders, sound folders.
#include <filesystem>

#include <gtest/gtest.h>

#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "settings/SettingsFlags.h"
#include "tests/settings/SettingsSite.h"
#include "tests/support/WindowsFiles.h"

namespace settings_test {
namespace {

namespace fs = std::filesystem;

class FolderSetup : public SettingsSite {};

TEST_F(FolderSetup, DefaultsWithoutTheBaseSystemFile) {
    loadWindows();
    EXPECT_EQ(PbINbZones, 1);
    EXPECT_EQ(PbSDossierIniBase[0], "C:\\Config\\");
    EXPECT_EQ(PbSDossierIniBase[4], "C:\\Config\\");  // one base: every entry takes entry 0's
    EXPECT_EQ(PbSDossierDataBase[0], "C:\\AL_Data\\");
    EXPECT_EQ(PbSDossierLog, "C:\\AudioLog\\Histo_AL3_Relaytone\\");
    EXPECT_EQ(PbSDossierSettings, "C:\\Prog\\Settings\\AL3_Relaytone\\");
    for (const char* folder :
         {"C:\\AL_Data\\", "C:\\AudioLog\\Histo_AL3_Relaytone\\", "C:\\Prog\\Settings\\_Local\\",
          "C:\\Vantremo\\Aerolune\\Shared\\", "C:\\Vantremo\\Aerolune\\Settings\\_Local\\"})
        EXPECT_TRUE(fs::is_directory(drive.host(folder))) << folder;
    EXPECT_EQ(countLogged("Sound Folder: "), 13);
    EXPECT_EQ(countLogged("C:\\AL_Sons\\Sons\\"), 13);
    EXPECT_TRUE(logged("Data_Folder: C:\\AL_Data\\"));
    EXPECT_TRUE(logged("AL3_Config.ini: C:\\Prog\\Settings\\AL3_Config.ini |Nb Base: 1"));
}

TEST_F(FolderSetup, ConfiguredFoldersGetTheirBackslashAndSoundFoldersInherit) {
    support::writeWindowsFile(systemFile(),
                              "[Base_01]\nDossier_Data=C:\\Data1\nDossier_Log=C:\\Logs\n"
                              "Dossier_Shared=C:\\Partage\n"
                              "[Dossiers_Sons_Jin]\n00=C:\\Jingles\n03=C:\\Jingles\\Noel\\\n");
    loadWindows();
    EXPECT_EQ(PbSDossierDataBase[0], "C:\\Data1\\");
    EXPECT_EQ(PbSDossierLog, "C:\\Logs\\Histo_AL3_Relaytone\\");
    EXPECT_TRUE(fs::is_directory(drive.host("C:\\Partage\\")));
    EXPECT_TRUE(logged("Folder_Shared: C:\\Partage\\"));
    EXPECT_TRUE(logged("Sound Folder: Mus 00: C:\\AL_Sons\\Sons\\"));
    EXPECT_TRUE(logged("Sound Folder: Jin 00: C:\\Jingles\\"));
    EXPECT_TRUE(logged("Sound Folder: Jin 03: C:\\Jingles\\Noel\\"));
    // Categories without a slot 0 take the previous category's, backslash included.
    EXPECT_TRUE(logged("Sound Folder: Lin 00: C:\\Jingles\\"));
    EXPECT_TRUE(logged("Sound Folder: Ext 00: C:\\Jingles\\"));
}

TEST_F(FolderSetup, ZoneCountIsHeldFrom1To20AndOnlyFiveZonesHaveFolders) {
    const struct {
        const char* stored;
        int16_t zones;
        bool warned;
    } cases[] = {{nullptr, 1, false}, {"0", 1, false},  {"3", 3, false},
                 {"7", 7, true},      {"25", 20, true}, {"abc", 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(none)");
        writeProgramSettings(c.stored ? std::string("[General_Out]\nNbZones=") + c.stored + "\n"
                                      : std::string());
        PbSDossierDataBase = {};
        const int warningsBefore = countLogged("Warning: FrmSetup: Init General: NbZones: ");
        loadWindows();
        EXPECT_EQ(PbINbZones, c.zones);
        EXPECT_EQ(countLogged("Warning: FrmSetup: Init General: NbZones: ") - warningsBefore,
                  c.warned ? 1 : 0);
        for (int base = 0; base < 5; ++base)
            EXPECT_EQ(PbSDossierDataBase[base].empty(), base >= c.zones) << base;
        unloadWindows();
    }
}

TEST_F(FolderSetup, ABaseWithoutFolderTakesTheDefaultsAndReadsNoStrayFile) {
    support::writeWindowsFile(drive.host("C:\\Prog\\Settings\\AL3_Config.ini"),
                              "[Site]\nDossier_Config_Global=C:\\Config\\\n[Sites]\nNbBase=2\n");
    support::writeWindowsFile(systemFile(), "[Base_01]\nDossier_Data=C:\\Data1\\\n");
    writeProgramSettings("[General_Out]\nNbZones=2\n");
    // A system file in the working folder must not stand in for the missing base folder.
    const fs::path workFolder = drive.root() / "work";
    fs::create_directories(workFolder);
    support::writeWindowsFile(workFolder / "AL3_Systeme.ini", "[Base_02]\nDossier_Data=C:\\Wrong\\\n");
    fs::current_path(workFolder);
    loadWindows();
    EXPECT_EQ(PbSDossierIniBase[1], "");
    EXPECT_EQ(PbSDossierDataBase[0], "C:\\Data1\\");
    EXPECT_EQ(PbSDossierDataBase[1], "C:\\AL_Data\\");
}

}  // namespace
}  // namespace settings_test
