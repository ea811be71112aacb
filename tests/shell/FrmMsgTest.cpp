// The start-up message window: topmost, centred at the top edge, its loaded flag.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "foundation/RunState.h"
#include "shell/FrmMsg.h"

TEST(FrmMsg, ShowsTopmostCentredAtTheTopAndTracksItsLoadedFlag) {
    FrmMsg& fenetre = TheFrmMsg();
    fenetre.LoadAndShow();
    EXPECT_TRUE(PbBFrmMsgAffichee);
    EXPECT_TRUE(fenetre.Topmost());
    EXPECT_EQ(fenetre.y(), 0);
    const int ecran = QGuiApplication::primaryScreen()->geometry().width();
    EXPECT_EQ(fenetre.x(), ecran / 2 - fenetre.width() / 2);
    EXPECT_EQ(fenetre.width(), 360);  // 5400 twips
    EXPECT_EQ(fenetre.LabelMsgInit->Caption(), "Aerolune");
    EXPECT_EQ(fenetre.LabelPatientez[0]->Caption(), "Patientez S.V.P.");

    fenetre.LabelMsgInit_SetCaption("Skyplate: Open DataBase");
    EXPECT_EQ(fenetre.LabelMsgInit->Caption(), "Skyplate: Open DataBase");
    fenetre.Unload();
    EXPECT_FALSE(PbBFrmMsgAffichee);
    EXPECT_FALSE(fenetre.isVisible());
}
