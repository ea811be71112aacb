// The real program on a site that requires a user: the start-up's user check through the
// registry's current user and rights, answered through AL3_ANSWERS.
#include <gtest/gtest.h>

#include "foundation/Registry.h"
#include "shell/Lib_Utilisateurs.h"
#include "tests/e2e/support/E2eProgram.h"
#include "tests/support/WindowsFiles.h"

namespace {

void siteAvecUtilisateurObligatoire(const e2e::E2eSite& site) {
    const auto systeme = site.host("C:\\Vantremo\\Aerolune\\Config\\AL3_Systeme.ini");
    support::writeWindowsFile(systeme, support::readWindowsFile(systeme) + "[DroitsUsers]\r\nActif=1\r\n");
}

void utilisateur(const std::string& droits) {
    const auto ecrire = [](const char* valeur, const std::string& texte) {
        Lib_Systeme::Reg_SetValue(Lib_Systeme::HKEY_LOCAL_MACHINE, Lib_Utilisateurs::kCleUser, valeur, texte);
    };
    ecrire("AL_User", "op1");
    ecrire("AL_User_Name", "Opératrice");
    ecrire("AL_User_Droits", droits);
    ecrire("AL_User_Button", "OK");
}

TEST(UserCheck, AnUnauthorisedUserWithoutTheUserProgramEndsTheStart) {
    e2e::E2eSite site;
    siteAvecUtilisateurObligatoire(site);
    utilisateur(std::string(40, '0'));
    e2e::ProgramOptions options;
    options.answers = "ok,ok";
    e2e::E2eProgram program(site, options);
    EXPECT_EQ(program.waitForExit(), 0);
    const std::string boites = program.errorOutput();
    EXPECT_NE(boites.find("Utilisateur (Opératrice) non autorisé"), std::string::npos) << boites;
    EXPECT_NE(boites.find("Programme non trouvé:"), std::string::npos) << boites;
    EXPECT_EQ(boites.find("Voulez-vous quitter"), std::string::npos) << boites;
    EXPECT_NE(program.logPosition("Form closed by code action"), std::string::npos) << program.log();
}

TEST(UserCheck, AnAuthorisedUserStartsAsUsual) {
    e2e::E2eSite site;
    siteAvecUtilisateurObligatoire(site);
    utilisateur(std::string(31, '0') + "1");
    e2e::E2eProgram program(site);
    ASSERT_TRUE(program.waitForLog("Traitement des données non encore traitées: End")) << program.log();
    EXPECT_TRUE(e2e::askTime(site.port(1)).has_value());
    EXPECT_TRUE(program.running());
    EXPECT_EQ(program.errorOutput().find("non autorisé"), std::string::npos);
    EXPECT_EQ(program.terminate(), 0);
}

}  // namespace
