// Before the window loads: the next nightly relaunch, the last drain, the required control files.
#include <gtest/gtest.h>

#include "foundation/RunState.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "shell/Frm_Main.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace {

platform::LocalClockTime instant(const char* textValue) {
    platform::LocalClockTime t;
    EXPECT_TRUE(platform::parseInstant(textValue, t)) << textValue;
    return t;
}

class FormInitialize : public support::SiteTest {
protected:
    void controlItem(const char* fichier) {
        support::writeWindowsFile(drive.host("C:\\Windows\\System32\\") / fichier, "ocx\n");
    }
    Frm_Main win;
};

TEST_F(FormInitialize, NextRelaunchIsTodayAt0402UntilFourThenTomorrow) {
    controlItem("SftMask_IX86_U_70.ocx");
    controlItem("clinetsuitex7.ocx");
    const struct {
        const char* currentTime;
        const char* restart;
    } cases[] = {
        {"2026-12-10 03:59:59", "2026-12-10 04:02:00"},
        {"2026-12-10 04:00:00", "2026-12-11 04:02:00"},
        {"2026-12-31 23:00:00", "2027-01-01 04:02:00"},
    };
    for (const auto& c : cases) {
        platform::clock::setManual(instant(c.currentTime), 1000);
        win.Form_Initialize();
        EXPECT_EQ(PbDProchaineRelance, instant(c.restart)) << c.currentTime;
        // No drain may start before the start-up replay has had its turn.
        EXPECT_EQ(PbDCheckFRADx55, PbDDateLancement);
    }
    platform::clock::useSystem();
    EXPECT_TRUE(platform::dialogs::asked().empty());
    EXPECT_FALSE(PbBComposantsManquants);
    EXPECT_EQ(PbSDossierApplication.back(), '\\');
}

TEST_F(FormInitialize, AMissingControlFileOffersTheInstaller) {
    const struct {
        bool mask, inetsuite;
        const char* version;
    } cases[] = {{false, false, "3.47.030"}, {false, true, "3.47.030"}, {true, false, "3.49.000"}};
    for (const auto& c : cases) {
        support::TempDriveC disk;
        if (c.mask)
            support::writeWindowsFile(disk.host("C:\\Windows\\System32\\SftMask_IX86_U_70.ocx"), "x\n");
        if (c.inetsuite)
            support::writeWindowsFile(disk.host("C:\\Windows\\System32\\clinetsuitex7.ocx"), "x\n");
        PbBComposantsManquants = false;
        platform::dialogs::queueAnswers({"ok", "no"});
        win.Form_Initialize();
        EXPECT_TRUE(PbBComposantsManquants);
        const auto messageBoxes = platform::dialogs::asked();
        ASSERT_EQ(messageBoxes.size(), 2u);
        EXPECT_EQ(messageBoxes[0].title, "Installation des composants Aerolune");
        EXPECT_NE(messageBoxes[0].text.find(std::string("la version ") + c.version + " des composants"),
                  std::string::npos)
            << messageBoxes[0].text;
        EXPECT_NE(messageBoxes[0].text.find("/AL/Releases/AL_34/Setup_AL3_Composants_V34.exe"),
                  std::string::npos);
        EXPECT_EQ(messageBoxes[1].text, "Voulez-vous télécharger le fichier et faire l'installation ?");
    }
}

}  // namespace
