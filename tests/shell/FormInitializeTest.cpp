// Before the window loads: the next nightly relaunch, the last drain, the required control files.
#include <gtest/gtest.h>

#include "foundation/RunState.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "shell/Frm_Main.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace {

platform::LocalClockTime instant(const char* texte) {
    platform::LocalClockTime t;
    EXPECT_TRUE(platform::parseInstant(texte, t)) << texte;
    return t;
}

class FormInitialize : public support::SiteTest {
protected:
    void controle(const char* fichier) {
        support::writeWindowsFile(drive.host("C:\\Windows\\System32\\") / fichier, "ocx\n");
    }
    Frm_Main fenetre;
};

TEST_F(FormInitialize, NextRelaunchIsTodayAt0402UntilFourThenTomorrow) {
    controle("SftMask_IX86_U_70.ocx");
    controle("clinetsuitex7.ocx");
    const struct { const char* maintenant; const char* relance; } cases[] = {
        {"2026-12-10 03:59:59", "2026-12-10 04:02:00"},
        {"2026-12-10 04:00:00", "2026-12-11 04:02:00"},
        {"2026-12-31 23:00:00", "2027-01-01 04:02:00"},
    };
    for (const auto& c : cases) {
        platform::clock::setManual(instant(c.maintenant), 1000);
        fenetre.Form_Initialize();
        EXPECT_EQ(PbDProchaineRelance, instant(c.relance)) << c.maintenant;
        // No drain may start before the start-up replay has had its turn.
        EXPECT_EQ(PbDCheckFRADx55, PbDDateLancement);
    }
    platform::clock::useSystem();
    EXPECT_TRUE(platform::dialogs::asked().empty());
    EXPECT_FALSE(PbBComposantsManquants);
    EXPECT_EQ(PbSDossierApplication.back(), '\\');
}

TEST_F(FormInitialize, AMissingControlFileOffersTheInstaller) {
    const struct { bool masque, inetsuite; const char* version; } cases[] = {
        {false, false, "3.47.030"}, {false, true, "3.47.030"}, {true, false, "3.49.000"}};
    for (const auto& c : cases) {
        support::TempDriveC disque;
        if (c.masque) support::writeWindowsFile(disque.host("C:\\Windows\\System32\\SftMask_IX86_U_70.ocx"), "x\n");
        if (c.inetsuite) support::writeWindowsFile(disque.host("C:\\Windows\\System32\\clinetsuitex7.ocx"), "x\n");
        PbBComposantsManquants = false;
        platform::dialogs::queueAnswers({"ok", "no"});
        fenetre.Form_Initialize();
        EXPECT_TRUE(PbBComposantsManquants);
        const auto boites = platform::dialogs::asked();
        ASSERT_EQ(boites.size(), 2u);
        EXPECT_EQ(boites[0].title, "Installation des composants Aerolune");
        EXPECT_NE(boites[0].text.find(std::string("la version ") + c.version + " des composants"),
                  std::string::npos) << boites[0].text;
        EXPECT_NE(boites[0].text.find("/AL/Releases/AL_34/Setup_AL3_Composants_V34.exe"), std::string::npos);
        EXPECT_EQ(boites[1].text, "Voulez-vous télécharger le fichier et faire l'installation ?");
    }
}

}  // namespace
