// AL3_Config.ini in both layouts: the layout latch, the precedence of "Site" and "Base_NN".
#include <gtest/gtest.h>

#include "foundation/FamilyConfig.h"
#include "platform/Dialogs.h"
#include "tests/foundation/SiteFixture.h"

namespace dlg = platform::dialogs;
using namespace Lib_Public;

class FamilyConfig : public sitetest::Site {};

TEST_F(FamilyConfig, RecentWindowsWithoutTheFileReadsDefaults) {
    EXPECT_EQ(DetermineDossierConfig(1), sitetest::kConfig);
    EXPECT_TRUE(ConfigParSite);
    EXPECT_TRUE(dlg::asked().empty());
    bool preferBase = true;
    EXPECT_EQ(DetermineDossierConfig_Bases_Dossier(sitetest::kConfig, 1, preferBase),
              "C:\\Vantremo\\Aerolune\\Config\\");
    EXPECT_EQ(DetermineDossierConfig_Bases_Nombre(sitetest::kConfig), 1);
    EXPECT_EQ(DetermineDossierConfig_Fichier(sitetest::kConfig, 1), "C:\\Prog\\Config\\");
    EXPECT_EQ(logged("Dossier_Config_Global:  /A"), 1);
    EXPECT_EQ(logged("Dossier_Config_Global: C:\\Prog\\Config\\ /B"), 1);
}

TEST_F(FamilyConfig, OldWindowsWithoutTheFileSwitchesToTheOlderLayoutOnce) {
    PbLVersionOS = 5;
    EXPECT_EQ(DetermineDossierConfig(1), sitetest::kConfig);
    EXPECT_FALSE(ConfigParSite);
    write(sitetest::kConfig, "[Site]\nNbBase=3\n");  // appearing later changes nothing
    EXPECT_EQ(DetermineDossierConfig(1), sitetest::kConfig);
    EXPECT_FALSE(ConfigParSite);
    const auto asked = dlg::asked();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Fichier de configuration non trouvé: \r\n\r\n" + sitetest::kConfig);
    EXPECT_EQ(DetermineDossierConfig_Bases_Nombre(sitetest::kConfig), 0);
    EXPECT_EQ(DetermineDossierConfig_Fichier(sitetest::kConfig, 1), "C:\\Prog\\Config\\");
    EXPECT_EQ(logged("INI_AEROLUNE: C:\\Prog\\Config\\"), 1);
}

TEST_F(FamilyConfig, OldWindowsWithTheFileKeepsTheNewerLayout) {
    PbLVersionOS = 5;
    write(sitetest::kConfig, "[Sites]\nNbBase=2.5\n");
    DetermineDossierConfig(1);
    EXPECT_TRUE(ConfigParSite);
    EXPECT_TRUE(dlg::asked().empty());
    EXPECT_EQ(DetermineDossierConfig_Bases_Nombre(sitetest::kConfig), 2);  // a half to the even one
}

TEST_F(FamilyConfig, SiteAndBaseFolderPrecedence) {
    const struct {
        const char* site;  // "Site"/"Dossier_Config_Global", nullptr when absent
        const char* base;  // "Base_03"/"Dossier_Config_Global", nullptr when absent
        bool preferBase;
        const char* folder;
    } cases[] = {
        {"D:\\Cfg", "", true, "D:\\Cfg\\"},  // blank base key: the site's
        {"D:\\Cfg", "C:\\B3", true, "C:\\B3\\"},
        {"D:\\Cfg", nullptr, true, "C:\\Vantremo\\Aerolune\\Config\\"},
        {"D:\\Cfg", "C:\\B3", false, "D:\\Cfg\\"},
        {"", "C:\\B3\\", false, "C:\\B3\\"},
        {nullptr, nullptr, false, "C:\\Vantremo\\Aerolune\\Config\\"},
        {nullptr, "", true, ""},
    };
    DetermineDossierConfig(1);
    for (const auto& c : cases) {
        std::string text = "[Site]\n";
        if (c.site) text += std::string("Dossier_Config_Global=") + c.site + "\n";
        text += "[Base_03]\n";
        if (c.base) text += std::string("Dossier_Config_Global=") + c.base + "\n";
        write(sitetest::kConfig, text);
        bool preferBase = c.preferBase;
        EXPECT_EQ(DetermineDossierConfig_Bases_Dossier(sitetest::kConfig, 3, preferBase), c.folder)
            << text << " prefer " << c.preferBase;
    }
}

// The older layout is latched when the file was missing at the first call; the lookups then
// read the "Vantremo" keys of whatever file is there later.
TEST_F(FamilyConfig, OlderLayoutKeys) {
    PbLVersionOS = 5;
    DetermineDossierConfig(1);
    ASSERT_FALSE(ConfigParSite);
    const struct {
        const char* unc;
        const char* local;
        const char* folder;
        const char* line;
    } cases[] = {
        {"ON", "C:\\Loc", "\\\\srv\\cfg\\", "INI_AEROLUNE_UNC: \\\\srv\\cfg\\"},
        {"on", "C:\\Loc", "C:\\Loc\\", "INI_AEROLUNE: C:\\Loc\\"},
        {"On", "C:\\Loc", "C:\\Loc\\", "INI_AEROLUNE: C:\\Loc\\"},
        {"0FF", "", "C:\\Ini2\\", "Ini_Base_02: C:\\Ini2"},  // blank folder: the base's own key
    };
    for (const auto& c : cases) {
        logbuffers::earlyBuffer().clear();
        write(sitetest::kConfig, std::string("[Vantremo]\nNb_Base=4\nIni_Base_02=C:\\Ini2\nUNC_Actif=") +
                                     c.unc + "\nINI_AEROLUNE=" + c.local +
                                     "\nINI_AEROLUNE_UNC=\\\\srv\\cfg\n");
        EXPECT_EQ(DetermineDossierConfig_Fichier(sitetest::kConfig, 2), c.folder) << c.unc;
        EXPECT_EQ(logged(c.line), 1) << c.unc;
    }
    bool preferBase = true;
    EXPECT_EQ(DetermineDossierConfig_Bases_Dossier(sitetest::kConfig, 2, preferBase), "C:\\Ini2\\");
    EXPECT_EQ(DetermineDossierConfig_Bases_Dossier(sitetest::kConfig, 3, preferBase), "");
    EXPECT_EQ(DetermineDossierConfig_Bases_Nombre(sitetest::kConfig), 4);
}
