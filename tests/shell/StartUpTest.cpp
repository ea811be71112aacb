// The whole start-up in this process, on a fixture site: what only the window itself can show.
#include <gtest/gtest.h>

#include <QTabWidget>

#include "foundation/DailyLog.h"
#include "foundation/RunState.h"
#include "shell/Frm_Main.h"
#include "tests/e2e/support/E2eSite.h"

namespace {

TEST(StartUpInProcess, AnIncidentBeforeTheShowRaisesTheAlertRightAfterIt) {
    e2e::E2eSite site;
    Frm_Main fenetre;
    Lib_Public::TraceLog(-1, -1, -1, "Err: before the window shows", true);
    EXPECT_EQ(fenetre.CheckIncidentsFeuilleNonChargee->Value(), 1);

    // The program folder is the site's, not this test's.
    PbSDossierApplication = "C:\\Vantremo\\Aerolune\\";
    fenetre.Load();
    ASSERT_TRUE(PbBDemarrageTermine);
    ASSERT_TRUE(PbBFeuilleChargee);
    EXPECT_EQ(fenetre.CheckIncidentsFeuilleNonChargee->Value(), 0);
    EXPECT_EQ(fenetre.Caption().rfind("Err: Aerolune: Relaytone - ", 0), 0u) << fenetre.Caption();
    EXPECT_TRUE(fenetre.SftTabsMain->isTabVisible(1));
    EXPECT_EQ(fenetre.SftTabsMain->currentIndex(), 0);
    EXPECT_TRUE(fenetre.TimerFlash.Enabled());
}

}  // namespace
