// The main window's tab layout: the incidents tab placed to the tab control's size, never a
// negative length, nothing before the settings window, nothing while minimised; the grid's
// columns sized to its tab; the indicators in the strip's right corner; the keys only record
// the modifiers.
#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QKeyEvent>
#include <QTabWidget>

#include "foundation/Site.h"
#include "foundation/Timing.h"
#include "platform/forms/Spread.h"
#include "shell/Lib_Resize.h"
#include "shell/Lib_Tableur.h"
#include "tests/shell/MainWindow.h"

namespace {

class Layout : public mainwindow_test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        fenetre.setWindowState(Qt::WindowNoState);
        fenetre.SftTabsMain->setTabVisible(1, true);
    }
    void ongletIncidents() {
        PbBFrmSetupChargee = true;
        fenetre.SftTabsMain->setCurrentIndex(1);
    }
    void taille(int largeur, int hauteur) {
        fenetre.resize(largeur, hauteur);
        QApplication::processEvents();
    }
    double largeurOnglets() const { return fenetre.SftTabsMain->width() * 15.0; }
    // The grid's text column of each of two stations, as its tab's width gives it.
    double colonneTexteAttendue() const {
        const auto& grille = *fenetre.fpSpreadGlobal;
        return std::max(0.0, (grille.width() * 15.0 - 540) / grille.TwipsPerColumnUnit() / 2 - 6);
    }
    int droiteDans(const QWidget& w) const {
        return w.mapTo(fenetre.SftTabsMain, QPoint(w.width(), 0)).x();
    }
    double hauteurOnglets() const { return fenetre.SftTabsMain->height() * 15.0; }
};

TEST_F(Layout, TheIncidentsListFollowsTheWindowAndThePurgeButtonSitsBelowIt) {
    ongletIncidents();
    for (auto [l, h] : {std::pair{800, 600}, std::pair{1200, 500}}) {
        taille(l, h);
        auto& liste = *fenetre.ListeIncidents[0];
        auto& purger = *fenetre.CommandIncidentsPurge[0];
        EXPECT_EQ(liste.Left(), 60);
        EXPECT_EQ(liste.Top(), 60);
        EXPECT_EQ(liste.Width(), largeurOnglets() - 195);
        EXPECT_EQ(liste.Height(), hauteurOnglets() - 1080);
        EXPECT_EQ(purger.Top(), liste.Top() + liste.Height() + 80);
        EXPECT_EQ(purger.Left(), largeurOnglets() - purger.Width() - 210);
    }
}

TEST_F(Layout, ATinyTabControlGivesLengthsOfZeroNeverNegative) {
    ongletIncidents();
    fenetre.SftTabsMain->resize(8, 20);  // below what the window itself allows
    Lib_Resize::ResizeCurrentOngletMain();
    EXPECT_EQ(fenetre.ListeIncidents[0]->Width(), 0);
    EXPECT_EQ(fenetre.ListeIncidents[0]->Height(), 0);
}

TEST_F(Layout, BeforeTheSettingsWindowTheTabsKeepTheirDesignSizes) {
    fenetre.SftTabsMain->setCurrentIndex(1);
    taille(900, 700);
    EXPECT_EQ(fenetre.ListeIncidents[0]->Width(), 6000);
    EXPECT_EQ(fenetre.ListeIncidents[0]->Height(), 3000);
}

TEST_F(Layout, MinimisedTheLayoutWaitsAndTheRestoreCatchesUp) {
    ongletIncidents();
    taille(800, 600);
    const double avant = fenetre.ListeIncidents[0]->Width();
    fenetre.setWindowState(Qt::WindowMinimized);
    QApplication::processEvents();
    taille(1100, 700);
    EXPECT_EQ(fenetre.ListeIncidents[0]->Width(), avant);
    fenetre.setWindowState(Qt::WindowNoState);
    QApplication::processEvents();
    EXPECT_NE(fenetre.ListeIncidents[0]->Width(), avant);
    EXPECT_EQ(fenetre.ListeIncidents[0]->Width(), largeurOnglets() - 195);
    EXPECT_EQ(fenetre.ListeIncidents[0]->Height(), hauteurOnglets() - 1080);
}

TEST_F(Layout, TheGridsColumnsFollowTheWindowAndAreRecomputedOnReturningToItsTab) {
    PbINbStations = 2;
    PbTBases[0].Stations[0].Lib = "Radio Nord";
    PbTBases[0].Stations[1].Lib = "Radio Sud";
    Lib_Tableur::InitGeneralTableur(true, false);
    PbBFrmSetupChargee = true;
    platform::forms::Spread& grille = *fenetre.fpSpreadGlobal;
    taille(900, 600);
    EXPECT_DOUBLE_EQ(grille.ColWidth(2), colonneTexteAttendue());
    EXPECT_DOUBLE_EQ(grille.ColWidth(5), colonneTexteAttendue());

    // Resized while the incidents tab is in front: the grid's turn comes when it is back.
    fenetre.SftTabsMain->setCurrentIndex(1);
    taille(1300, 600);
    fenetre.SftTabsMain->setCurrentIndex(0);
    EXPECT_DOUBLE_EQ(grille.ColWidth(2), colonneTexteAttendue());
    EXPECT_DOUBLE_EQ(grille.ColWidth(1), 6.0);
    EXPECT_GT(grille.ColWidth(2), 20.0);
}

TEST_F(Layout, TheIndicatorsSitAtTheRightOfTheStripAndTheFigureStaysPutWhenTheShapeLights) {
    auto& figure = *fenetre.LabelAffichageMemory;
    figure.show();  // the memory is measured
    taille(800, 600);
    auto& forme = *fenetre.ShapeActivite;
    const int figureEteinte = droiteDans(figure);
    forme.show();
    QApplication::processEvents();
    EXPECT_EQ(droiteDans(figure), figureEteinte);
    EXPECT_LT(droiteDans(figure), forme.mapTo(fenetre.SftTabsMain, QPoint(0, 0)).x());
    EXPECT_LE(droiteDans(forme), fenetre.SftTabsMain->width());
    EXPECT_GE(droiteDans(forme), fenetre.SftTabsMain->width() - 12);

    taille(1000, 600);
    EXPECT_EQ(droiteDans(figure), figureEteinte + 200);
    EXPECT_GE(droiteDans(forme), fenetre.SftTabsMain->width() - 12);
}

TEST_F(Layout, SwitchingTabsLaysOutTheNewTab) {
    taille(900, 700);
    PbBFrmSetupChargee = true;
    fenetre.SftTabsMain->setCurrentIndex(1);
    EXPECT_EQ(fenetre.ListeIncidents[0]->Width(), largeurOnglets() - 195);
}

TEST_F(Layout, KeysOnlyRecordTheModifiers) {
    const int onglet = fenetre.SftTabsMain->currentIndex();
    QKeyEvent bas(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier | Qt::AltModifier);
    QApplication::sendEvent(&fenetre, &bas);
    EXPECT_TRUE(PbBToucheShift);
    EXPECT_FALSE(PbBToucheCtrl);
    EXPECT_TRUE(PbBToucheAlt);
    QKeyEvent haut(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
    QApplication::sendEvent(&fenetre, &haut);
    EXPECT_FALSE(PbBToucheShift);
    EXPECT_FALSE(PbBToucheAlt);
    EXPECT_EQ(fenetre.SftTabsMain->currentIndex(), onglet);
    EXPECT_TRUE(fenetre.Loaded());
}

}  // namespace
