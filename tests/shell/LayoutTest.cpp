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
        win.setWindowState(Qt::WindowNoState);
        win.SftTabsMain->setTabVisible(1, true);
    }
    void incidentsTab() {
        PbBFrmSetupChargee = true;
        win.SftTabsMain->setCurrentIndex(1);
    }
    void sizeValue(int widthValue, int heightValue) {
        win.resize(widthValue, heightValue);
        QApplication::processEvents();
    }
    double tabsWidth() const { return win.SftTabsMain->width() * 15.0; }
    // The grid's text column of each of two stations, as its tab's width gives it.
    double expectedTextColumn() const {
        const auto& sheetGrid = *win.fpSpreadGlobal;
        return std::max(0.0, (sheetGrid.width() * 15.0 - 540) / sheetGrid.TwipsPerColumnUnit() / 2 - 6);
    }
    int rightInside(const QWidget& w) const { return w.mapTo(win.SftTabsMain, QPoint(w.width(), 0)).x(); }
    double tabsHeight() const { return win.SftTabsMain->height() * 15.0; }
};

TEST_F(Layout, TheIncidentsListFollowsTheWindowAndThePurgeButtonSitsBelowIt) {
    incidentsTab();
    for (auto [l, h] : {std::pair{800, 600}, std::pair{1200, 500}}) {
        sizeValue(l, h);
        auto& listBox = *win.ListeIncidents[0];
        auto& purger = *win.CommandIncidentsPurge[0];
        EXPECT_EQ(listBox.Left(), 60);
        EXPECT_EQ(listBox.Top(), 60);
        EXPECT_EQ(listBox.Width(), tabsWidth() - 195);
        EXPECT_EQ(listBox.Height(), tabsHeight() - 1080);
        EXPECT_EQ(purger.Top(), listBox.Top() + listBox.Height() + 80);
        EXPECT_EQ(purger.Left(), tabsWidth() - purger.Width() - 210);
    }
}

TEST_F(Layout, ATinyTabControlGivesLengthsOfZeroNeverNegative) {
    incidentsTab();
    win.SftTabsMain->resize(8, 20);  // below what the window itself allows
    Lib_Resize::ResizeCurrentOngletMain();
    EXPECT_EQ(win.ListeIncidents[0]->Width(), 0);
    EXPECT_EQ(win.ListeIncidents[0]->Height(), 0);
}

TEST_F(Layout, BeforeTheSettingsWindowTheTabsKeepTheirDesignSizes) {
    win.SftTabsMain->setCurrentIndex(1);
    sizeValue(900, 700);
    EXPECT_EQ(win.ListeIncidents[0]->Width(), 6000);
    EXPECT_EQ(win.ListeIncidents[0]->Height(), 3000);
}

TEST_F(Layout, MinimisedTheLayoutWaitsAndTheRestoreCatchesUp) {
    incidentsTab();
    sizeValue(800, 600);
    const double avant = win.ListeIncidents[0]->Width();
    win.setWindowState(Qt::WindowMinimized);
    QApplication::processEvents();
    sizeValue(1100, 700);
    EXPECT_EQ(win.ListeIncidents[0]->Width(), avant);
    win.setWindowState(Qt::WindowNoState);
    QApplication::processEvents();
    EXPECT_NE(win.ListeIncidents[0]->Width(), avant);
    EXPECT_EQ(win.ListeIncidents[0]->Width(), tabsWidth() - 195);
    EXPECT_EQ(win.ListeIncidents[0]->Height(), tabsHeight() - 1080);
}

TEST_F(Layout, TheGridsColumnsFollowTheWindowAndAreRecomputedOnReturningToItsTab) {
    PbINbStations = 2;
    PbTBases[0].Stations[0].Lib = "Radio Nord";
    PbTBases[0].Stations[1].Lib = "Radio Sud";
    Lib_Tableur::InitGeneralTableur(true, false);
    PbBFrmSetupChargee = true;
    platform::forms::Spread& sheetGrid = *win.fpSpreadGlobal;
    sizeValue(900, 600);
    EXPECT_DOUBLE_EQ(sheetGrid.ColWidth(2), expectedTextColumn());
    EXPECT_DOUBLE_EQ(sheetGrid.ColWidth(5), expectedTextColumn());

    // Resized while the incidents tab is in front: the grid's turn comes when it is back.
    win.SftTabsMain->setCurrentIndex(1);
    sizeValue(1300, 600);
    win.SftTabsMain->setCurrentIndex(0);
    EXPECT_DOUBLE_EQ(sheetGrid.ColWidth(2), expectedTextColumn());
    EXPECT_DOUBLE_EQ(sheetGrid.ColWidth(1), 6.0);
    EXPECT_GT(sheetGrid.ColWidth(2), 20.0);
}

TEST_F(Layout, TheIndicatorsSitAtTheRightOfTheStripAndTheFigureStaysPutWhenTheShapeLights) {
    auto& figure = *win.LabelAffichageMemory;
    figure.show();  // the memory is measured
    sizeValue(800, 600);
    auto& form = *win.ShapeActivite;
    const int figureOff = rightInside(figure);
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(rightInside(figure), figureOff);
    EXPECT_LT(rightInside(figure), form.mapTo(win.SftTabsMain, QPoint(0, 0)).x());
    EXPECT_LE(rightInside(form), win.SftTabsMain->width());
    EXPECT_GE(rightInside(form), win.SftTabsMain->width() - 12);

    sizeValue(1000, 600);
    EXPECT_EQ(rightInside(figure), figureOff + 200);
    EXPECT_GE(rightInside(form), win.SftTabsMain->width() - 12);
}

TEST_F(Layout, SwitchingTabsLaysOutTheNewTab) {
    sizeValue(900, 700);
    PbBFrmSetupChargee = true;
    win.SftTabsMain->setCurrentIndex(1);
    EXPECT_EQ(win.ListeIncidents[0]->Width(), tabsWidth() - 195);
}

TEST_F(Layout, KeysOnlyRecordTheModifiers) {
    const int tabPage = win.SftTabsMain->currentIndex();
    QKeyEvent bottom(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier | Qt::AltModifier);
    QApplication::sendEvent(&win, &bottom);
    EXPECT_TRUE(PbBToucheShift);
    EXPECT_FALSE(PbBToucheCtrl);
    EXPECT_TRUE(PbBToucheAlt);
    QKeyEvent top(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier);
    QApplication::sendEvent(&win, &top);
    EXPECT_FALSE(PbBToucheShift);
    EXPECT_FALSE(PbBToucheAlt);
    EXPECT_EQ(win.SftTabsMain->currentIndex(), tabPage);
    EXPECT_TRUE(win.Loaded());
}

}  // namespace
