// The start-up message window: topmost, centred at the top edge, its loaded flag.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "foundation/RunState.h"
#include "shell/FrmMsg.h"

TEST(FrmMsg, ShowsTopmostCentredAtTheTopAndTracksItsLoadedFlag) {
    FrmMsg& win = TheFrmMsg();
    win.LoadAndShow();
    EXPECT_TRUE(PbBFrmMsgAffichee);
    EXPECT_TRUE(win.Topmost());
    EXPECT_EQ(win.y(), 0);
    const int display = QGuiApplication::primaryScreen()->geometry().width();
    EXPECT_EQ(win.x(), display / 2 - win.width() / 2);
    EXPECT_EQ(win.width(), 360);  // 5400 twips
    EXPECT_EQ(win.LabelMsgInit->Caption(), "Aerolune");
    EXPECT_EQ(win.LabelPatientez[0]->Caption(), "Patientez S.V.P.");

    win.LabelMsgInit_SetCaption("Skyplate: Open DataBase");
    EXPECT_EQ(win.LabelMsgInit->Caption(), "Skyplate: Open DataBase");
    win.Unload();
    EXPECT_FALSE(PbBFrmMsgAffichee);
    EXPECT_FALSE(win.isVisible());
}
