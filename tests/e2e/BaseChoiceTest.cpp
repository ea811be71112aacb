// The real program on a site of three bases started without a switch: the operator chooses the
// base in FrmSelectBase, or cancels and the program ends at once.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "platform/IniFile.h"
#include "tests/e2e/support/E2eProgram.h"

namespace {

using namespace std::chrono_literals;

const char* const kConfig = "C:\\Vantremo\\Aerolune\\Settings\\AL3_Config.ini";

std::string siteKey(const char* key) {
    return platform::ini::getString(kConfig, "Site", key, "<absent>", 255);
}

TEST(BaseChoice, TheChosenBaseIsTheOneTheProgramRunsOnAndIsRecorded) {
    e2e::E2eSite site(2, 3);
    e2e::ProgramOptions options;
    options.answers = "2";
    e2e::E2eProgram program(site, options);
    ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End")) << program.log();

    // The window itself was asked, not the windowless default.
    const std::string messageBoxes = program.errorOutput();
    EXPECT_NE(messageBoxes.find("[dialog] Choix de la base | "), std::string::npos) << messageBoxes;
    EXPECT_NE(program.logPosition("Open Modal Form: FrmSelectBase"), std::string::npos);

    // Base 2's rows answer; base 1's were never bound.
    for (int station : {1, 2}) {
        const auto reply = e2e::askTime(site.port(station, 2));
        ASSERT_TRUE(reply) << "base 2, station " << station << "\n" << program.log();
        EXPECT_EQ(reply->rfind("<Relaytone_Time:", 0), 0u) << *reply;
    }
    EXPECT_FALSE(e2e::askTime(site.port(1, 1), 500ms));

    EXPECT_EQ(siteKey("NoBase"), "2");
    EXPECT_EQ(siteKey("Dossier_Config_Global"), e2e::E2eSite::configFolder(2));
    EXPECT_EQ(program.terminate(), 0);
}

TEST(BaseChoice, ACancelEndsTheProgramAtOnceBeforeTheSettingsLoad) {
    e2e::E2eSite site(2, 3);
    e2e::ProgramOptions options;
    options.answers = "cancel";
    QElapsedTimer clockSource;
    clockSource.start();
    e2e::E2eProgram program(site, options);
    EXPECT_EQ(program.waitForExit(), 0);
    EXPECT_LT(clockSource.elapsed(), 15000);

    const std::string messageBoxes = program.errorOutput();
    EXPECT_NE(messageBoxes.find("[dialog] Choix de la base | "), std::string::npos) << messageBoxes;
    EXPECT_NE(messageBoxes.find("| cancel"), std::string::npos) << messageBoxes;
    // No settings window, no orderly shut-down: nothing was bound, saved or recorded.
    EXPECT_EQ(program.log().find("FrmSetup: Init General: Start"), std::string::npos) << program.log();
    EXPECT_FALSE(std::filesystem::exists(site.positionsFile()));
    EXPECT_EQ(siteKey("NoBase"), "<absent>");
    EXPECT_EQ(siteKey("Dossier_Config_Global"), e2e::E2eSite::configFolder(1));
}

}  // namespace
