// The incident alert on the real main window: caption, flashing, the Incidents tab, the purge.
#include <gtest/gtest.h>

#include <QTabWidget>

#include "foundation/DailyLog.h"
#include "foundation/RunState.h"
#include "platform/Dialogs.h"
#include "shell/Frm_Main.h"
#include "tests/support/TempSite.h"

namespace {

class Incidents : public support::SiteTest {
protected:
    void SetUp() override {
        PbBFeuilleChargee = true;
        PbBQuitter = false;
        fenetre.SetCaption(fenetre.CaptionNormale());
        fenetre.SftTabsMain->setTabVisible(1, false);
    }
    bool ongletIncidentsVisible() const { return fenetre.SftTabsMain->isTabVisible(1); }
    void incident(const std::string& texte, int16_t colonne = -1) {
        Lib_Public::TraceLog(colonne, -1, -1, texte, true);
    }

    Frm_Main fenetre;
};

TEST_F(Incidents, AnIncidentRaisesTheAlertWithoutSwitchingTabs) {
    incident("Err: something failed");
    ASSERT_EQ(fenetre.ListeIncidents[0]->ListCount(), 1);
    EXPECT_NE(fenetre.ListeIncidents[0]->List(0).find("Err: something failed"), std::string::npos);
    EXPECT_EQ(fenetre.Caption(), "Err: " + fenetre.CaptionNormale());
    EXPECT_TRUE(fenetre.TimerFlash.Enabled());
    EXPECT_TRUE(ongletIncidentsVisible());
    EXPECT_EQ(fenetre.SftTabsMain->currentIndex(), 0);
    EXPECT_EQ(fenetre.CheckIncidents[0]->Value(), 0);  // the trigger resets itself
}

TEST_F(Incidents, BeforeTheWindowShowsTheAlertWaitsForIt) {
    PbBFeuilleChargee = false;
    incident("Err: early");
    EXPECT_EQ(fenetre.Caption(), "Err: " + fenetre.CaptionNormale());
    EXPECT_TRUE(fenetre.TimerFlash.Enabled());
    EXPECT_FALSE(ongletIncidentsVisible());
    EXPECT_EQ(fenetre.CheckIncidentsFeuilleNonChargee->Value(), 1);
}

TEST_F(Incidents, AColumnOutsideTheListsGoesToListZero) {
    incident("Err: no zone", 7);
    EXPECT_EQ(fenetre.ListeIncidents[0]->ListCount(), 1);
}

TEST_F(Incidents, AFullListIsClearedBeforeTheNextLine) {
    for (int i = 0; i < 1000; ++i) fenetre.ListeIncidents[0]->AddItem("old");
    incident("Err: line 1001");
    EXPECT_EQ(fenetre.ListeIncidents[0]->ListCount(), 1001);
    incident("Err: line 1002");
    EXPECT_EQ(fenetre.ListeIncidents[0]->ListCount(), 1);
}

TEST_F(Incidents, PurgeAsksAndANoChangesNothing) {
    incident("Err: keep me");
    platform::dialogs::queueAnswers({"no"});
    fenetre.CommandIncidentsPurge[0]->click();
    ASSERT_EQ(platform::dialogs::asked().size(), 1u);
    EXPECT_EQ(platform::dialogs::asked()[0].text, "Voulez-vous purger la liste des incidents ?");
    EXPECT_EQ(platform::dialogs::asked()[0].title, fenetre.Caption());
    EXPECT_EQ(fenetre.ListeIncidents[0]->ListCount(), 1);
    EXPECT_TRUE(fenetre.TimerFlash.Enabled());
    EXPECT_TRUE(ongletIncidentsVisible());
}

TEST_F(Incidents, PurgeClearsTheListAndHidesTheTabAgain) {
    incident("Err: purge me");
    fenetre.SftTabsMain->setCurrentIndex(1);
    platform::dialogs::queueAnswers({"yes"});
    fenetre.CommandIncidentsPurge[0]->click();
    EXPECT_EQ(fenetre.ListeIncidents[0]->ListCount(), 0);
    EXPECT_FALSE(fenetre.TimerFlash.Enabled());
    EXPECT_EQ(fenetre.Caption(), fenetre.CaptionNormale());
    EXPECT_FALSE(ongletIncidentsVisible());
    EXPECT_EQ(fenetre.SftTabsMain->currentIndex(), 0);
}

TEST_F(Incidents, SwitchingToTheTabAcknowledgesButKeepsTheLines) {
    incident("Err: seen");
    fenetre.SftTabsMain->setCurrentIndex(1);
    EXPECT_FALSE(fenetre.TimerFlash.Enabled());
    EXPECT_EQ(fenetre.Caption(), fenetre.CaptionNormale());
    EXPECT_TRUE(ongletIncidentsVisible());
    EXPECT_EQ(fenetre.ListeIncidents[0]->ListCount(), 1);
}

TEST_F(Incidents, LinesLoggedBeforeTheWindowExistedAreKept) {
    // The fixture's window already exists; a second one takes over the first one's place.
    PbBFeuilleChargee = false;
    neighbours::registerFrm_Main(nullptr);
    Lib_Public::TraceLog(-1, -1, -1, "Err: before any window", true);
    Frm_Main seconde;
    ASSERT_EQ(seconde.ListeIncidents[0]->ListCount(), 1);
    EXPECT_NE(seconde.ListeIncidents[0]->List(0).find("Err: before any window"), std::string::npos);
}

}  // namespace
