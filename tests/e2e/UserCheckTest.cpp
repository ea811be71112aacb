// The real program on a site that requires a user: the start-up's user check through the
// registry's current user and rights, answered through AL3_ANSWERS.
#include <gtest/gtest.h>

#include "foundation/Registry.h"
#include "shell/Lib_Utilisateurs.h"
#include "tests/e2e/support/E2eProgram.h"
#include "tests/support/WindowsFiles.h"

namespace {

void siteWithMandatoryUser(const e2e::E2eSite& site) {
    const auto systemDir = site.host("C:\\Vantremo\\Aerolune\\Config\\AL3_Systeme.ini");
    support::writeWindowsFile(systemDir,
                              support::readWindowsFile(systemDir) + "[DroitsUsers]\r\nActif=1\r\n");
}

void utilisateur(const std::string& droits) {
    const auto writeOut = [](const char* valueText, const std::string& textValue) {
        Lib_Systeme::Reg_SetValue(Lib_Systeme::HKEY_LOCAL_MACHINE, Lib_Utilisateurs::kUserKey, valueText,
                                  textValue);
    };
    writeOut("AL_User", "op1");
    writeOut("AL_User_Name", "Opératrice");
    writeOut("AL_User_Droits", droits);
    writeOut("AL_User_Button", "OK");
}

TEST(UserCheck, AnUnauthorisedUserWithoutTheUserProgramEndsTheStart) {
    e2e::E2eSite site;
    siteWithMandatoryUser(site);
    utilisateur(std::string(40, '0'));
    e2e::ProgramOptions options;
    options.answers = "ok,ok";
    e2e::E2eProgram program(site, options);
    EXPECT_EQ(program.waitForExit(), 0);
    const std::string messageBoxes = program.errorOutput();
    EXPECT_NE(messageBoxes.find("Utilisateur (Opératrice) non autorisé"), std::string::npos) << messageBoxes;
    EXPECT_NE(messageBoxes.find("Programme non trouvé:"), std::string::npos) << messageBoxes;
    EXPECT_EQ(messageBoxes.find("Voulez-vous quitter"), std::string::npos) << messageBoxes;
    EXPECT_NE(program.logPosition("Form closed by code action"), std::string::npos) << program.log();
}

TEST(UserCheck, AnAuthorisedUserStartsAsUsual) {
    e2e::E2eSite site;
    siteWithMandatoryUser(site);
    utilisateur(std::string(31, '0') + "1");
    e2e::E2eProgram program(site);
    ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End")) << program.log();
    EXPECT_TRUE(e2e::askTime(site.port(1)).has_value());
    EXPECT_TRUE(program.running());
    EXPECT_EQ(program.errorOutput().find("non autorisé"), std::string::npos);
    EXPECT_EQ(program.terminate(), 0);
}

}  // namespace
