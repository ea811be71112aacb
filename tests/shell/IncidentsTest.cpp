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
        win.SetCaption(win.normalCaption());
        win.SftTabsMain->setTabVisible(1, false);
    }
    bool incidentsTabVisible() const { return win.SftTabsMain->isTabVisible(1); }
    void incident(const std::string& textValue, int16_t column = -1) {
        Lib_Public::TraceLog(column, -1, -1, textValue, true);
    }

    Frm_Main win;
};

TEST_F(Incidents, AnIncidentRaisesTheAlertWithoutSwitchingTabs) {
    incident("Err: something failed");
    ASSERT_EQ(win.ListeIncidents[0]->ListCount(), 1);
    EXPECT_NE(win.ListeIncidents[0]->List(0).find("Err: something failed"), std::string::npos);
    EXPECT_EQ(win.Caption(), "Err: " + win.normalCaption());
    EXPECT_TRUE(win.TimerFlash.Enabled());
    EXPECT_TRUE(incidentsTabVisible());
    EXPECT_EQ(win.SftTabsMain->currentIndex(), 0);
    EXPECT_EQ(win.CheckIncidents[0]->Value(), 0);  // the trigger resets itself
}

TEST_F(Incidents, BeforeTheWindowShowsTheAlertWaitsForIt) {
    PbBFeuilleChargee = false;
    incident("Err: early");
    EXPECT_EQ(win.Caption(), "Err: " + win.normalCaption());
    EXPECT_TRUE(win.TimerFlash.Enabled());
    EXPECT_FALSE(incidentsTabVisible());
    EXPECT_EQ(win.CheckIncidentsFeuilleNonChargee->Value(), 1);
}

TEST_F(Incidents, AColumnOutsideTheListsGoesToListZero) {
    incident("Err: no zone", 7);
    EXPECT_EQ(win.ListeIncidents[0]->ListCount(), 1);
}

TEST_F(Incidents, AFullListIsClearedBeforeTheNextLine) {
    for (int i = 0; i < 1000; ++i) win.ListeIncidents[0]->AddItem("old");
    incident("Err: line 1001");
    EXPECT_EQ(win.ListeIncidents[0]->ListCount(), 1001);
    incident("Err: line 1002");
    EXPECT_EQ(win.ListeIncidents[0]->ListCount(), 1);
}

TEST_F(Incidents, PurgeAsksAndANoChangesNothing) {
    incident("Err: keep me");
    platform::dialogs::queueAnswers({"no"});
    win.CommandIncidentsPurge[0]->click();
    ASSERT_EQ(platform::dialogs::asked().size(), 1u);
    EXPECT_EQ(platform::dialogs::asked()[0].text, "Voulez-vous purger la liste des incidents ?");
    EXPECT_EQ(platform::dialogs::asked()[0].title, win.Caption());
    EXPECT_EQ(win.ListeIncidents[0]->ListCount(), 1);
    EXPECT_TRUE(win.TimerFlash.Enabled());
    EXPECT_TRUE(incidentsTabVisible());
}

TEST_F(Incidents, PurgeClearsTheListAndHidesTheTabAgain) {
    incident("Err: purge me");
    win.SftTabsMain->setCurrentIndex(1);
    platform::dialogs::queueAnswers({"yes"});
    win.CommandIncidentsPurge[0]->click();
    EXPECT_EQ(win.ListeIncidents[0]->ListCount(), 0);
    EXPECT_FALSE(win.TimerFlash.Enabled());
    EXPECT_EQ(win.Caption(), win.normalCaption());
    EXPECT_FALSE(incidentsTabVisible());
    EXPECT_EQ(win.SftTabsMain->currentIndex(), 0);
}

TEST_F(Incidents, SwitchingToTheTabAcknowledgesButKeepsTheLines) {
    incident("Err: seen");
    win.SftTabsMain->setCurrentIndex(1);
    EXPECT_FALSE(win.TimerFlash.Enabled());
    EXPECT_EQ(win.Caption(), win.normalCaption());
    EXPECT_TRUE(incidentsTabVisible());
    EXPECT_EQ(win.ListeIncidents[0]->ListCount(), 1);
}

TEST_F(Incidents, LinesLoggedBeforeTheWindowExistedAreKept) {
    // The fixture's window already exists; a second one takes over the first one's place.
    PbBFeuilleChargee = false;
    neighbours::registerFrm_Main(nullptr);
    Lib_Public::TraceLog(-1, -1, -1, "Err: before any window", true);
    Frm_Main secondCopy;
    ASSERT_EQ(secondCopy.ListeIncidents[0]->ListCount(), 1);
    EXPECT_NE(secondCopy.ListeIncidents[0]->List(0).find("Err: before any window"), std::string::npos);
}

}  // namespace
