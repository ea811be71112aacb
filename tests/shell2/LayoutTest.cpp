// The main window's tab layout: the incidents tab placed to the tab control's size, never a
// negative length, nothing before the settings window; the keys only record the modifiers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTabWidget>

#include "foundation/Timing.h"
#include "shell/Lib_Resize.h"
#include "tests/shell2/MainWindow.h"

namespace {

class Layout : public shell2_test::MainWindowTest {
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
