// The main window's global grid: its layout per station, the restart rows and the workbook that
// carries them from one run to the next.
#include <fstream>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QHeaderView>
#include <QImage>
#include <QTableWidget>

#include "engine/Frm_MainBis.h"
#include "foundation/ErrorReporter.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/LogBuffers.h"
#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/forms/Spread.h"
#include "shell/Frm_Main.h"
#include "shell/Lib_Tableur.h"
#include "tests/platform/xls/OtherSpreadsheets.h"
#include "tests/platform/xls/XlrdReader.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace {

using platform::forms::Spread;
constexpr int32_t kBlack = 0, kWhite = 0xFFFFFF, kRed = 255;

class Tableur : public support::SiteTest {
protected:
    Tableur() {
        PbSDossierApplication = "C:\\Prog\\";
        std::filesystem::create_directories(drive.host("C:\\Prog\\Local\\AL3_Relaytone"));
        stations({"Radio Nord", "Radio Sud", "Radio Est"});
        platform::clock::setManual(platform::timeOf({2026, 12, 10, 4, 4, 8, 15, 0}), 0);
    }
    void stations(const std::vector<std::string>& labels) {
        PbINbStations = int16_t(labels.size());
        for (size_t i = 0; i < labels.size(); ++i) PbTBases[0].Stations[i].Lib = labels[i];
    }
    // The start-up's part: build, import, the two restart rows.
    void startup(const std::string& labelText = "Début Redémarrage") {
        Lib_Tableur::InitGeneralTableur(true, true);
        Lib_Tableur::importGlobalWorkbook();
        Lib_Tableur::TableurInitDemarrage(0, labelText);
    }
    std::filesystem::path book() const { return drive.host(Lib_Tableur::globalWorkbookFile()); }
    static bool logged(const std::string& line) {
        for (const std::string& l : logbuffers::earlyBuffer())
            if (l.find(line) != std::string::npos) return true;
        return false;
    }
    bool exporter() {
        return Lib_Tableur::exportGlobalWorkbook(Lib_Tableur::globalWorkbookFile(), "SheetName",
                                                 Lib_Tableur::globalWorkbookFolder() + "Global_Export.log",
                                                 0);
    }

    Frm_Main win;
    Spread& sheetGrid = *win.fpSpreadGlobal;
};

TEST_F(Tableur, ThreeColumnsPerStationUnderItsLabelTheThirdHidden) {
    ASSERT_EQ(Lib_Tableur::fpSpreadGlobal, &sheetGrid);
    Lib_Tableur::InitGeneralTableur(true, true);
    ASSERT_EQ(sheetGrid.MaxCols(), 9);
    ASSERT_EQ(sheetGrid.MaxRows(), 50);
    const char* labels[] = {"Radio Nord", "Radio Sud", "Radio Est"};
    for (int c = 1; c <= 9; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(sheetGrid.Text(c, 0), labels[(c - 1) / 3]);
        EXPECT_EQ(sheetGrid.ColHidden(c), c % 3 == 0);
        const bool dark = c % 3 != 2;
        EXPECT_EQ(sheetGrid.BackColor(c, 50), dark ? kBlack : platform::forms::kSysWindowBackground);
        EXPECT_EQ(sheetGrid.ForeColor(c, 1), dark ? kWhite : platform::forms::kSysWindowText);
    }
    EXPECT_TRUE(sheetGrid.ColHidden(0));
    EXPECT_DOUBLE_EQ(sheetGrid.RowHeight(50), 10.5);
}

TEST_F(Tableur, EverySheetTakesTheEnginesPictureAsItsPointer) {
    Lib_Tableur::InitGeneralTableur(true, true);
    EXPECT_TRUE(sheetGrid.CursorPicture().isNull());  // no engine window yet: the usual pointer
    Frm_MainBis::get();
    Lib_Tableur::InitGeneralTableur(true, true);
    const QImage expectedText = Frm_MainBis::get().ImageDragAndDrop.toImage();
    ASSERT_FALSE(expectedText.isNull());
    EXPECT_EQ(sheetGrid.CursorPicture().toImage(), expectedText);
    // Rebuilt around an imported workbook, the sheet keeps it.
    ASSERT_TRUE(exporter());
    Lib_Tableur::importGlobalWorkbook();
    EXPECT_EQ(sheetGrid.CursorPicture().toImage(), expectedText);
}

TEST_F(Tableur, WidthsShareTheGridBetweenStationsAndNeverGoNegative) {
    Lib_Tableur::InitGeneralTableur(true, false);
    struct Case {
        int pixels;
        double textValue;  // the second column of each station
    } cases[] = {
        {400, (400 * 15 - 540) / sheetGrid.TwipsPerColumnUnit() / 3 - 6},
        {36, 0.0},  // 540 twips: nothing left
        {20, 0.0},  // narrower still: held at 0, not -6
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pixels);
        sheetGrid.resize(c.pixels, 300);
        Lib_Tableur::InitGeneralTableurGlobal(false, true);
        for (int n = 0; n < 3; ++n) {
            EXPECT_DOUBLE_EQ(sheetGrid.ColWidth(3 * n + 1), 6.0);
            EXPECT_DOUBLE_EQ(sheetGrid.ColWidth(3 * n + 2), c.textValue);
            EXPECT_DOUBLE_EQ(sheetGrid.ColWidth(3 * n + 3), 0.0);
        }
    }
}

TEST_F(Tableur, TheTimeColumnShowsTheWholeTimeAtTheDesktopsFontAndTheStationsStillFit) {
    win.QWidget::show();  // the window alone, without its start-up
    win.resize(1200, 600);
    startup();
    QCoreApplication::processEvents();
    const int gridWidth = sheetGrid.width();
    Lib_Tableur::InitGeneralTableurGlobal(false, true);
    ASSERT_EQ(sheetGrid.Text(1, 1), "04:08:15");
    auto* table = qobject_cast<QTableWidget*>(sheetGrid.currentWidget());
    ASSERT_NE(table, nullptr);
    int widthValue = 0;
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        // What the cell needs to show its text whole, as the view itself measures it.
        const int need = static_cast<QAbstractItemView*>(table)->sizeHintForColumn(3 * n);
        EXPECT_GT(need, 0);
        EXPECT_GE(table->columnWidth(3 * n), need);
        EXPECT_DOUBLE_EQ(sheetGrid.ColWidth(3 * n + 1), 6.0);
        for (int c = 3 * n; c < 3 * n + 3; ++c)
            widthValue += table->isColumnHidden(c) ? 0 : table->columnWidth(c);
    }
    // The wider unit is the text columns' too: the three stations still share the grid's width.
    EXPECT_LE(widthValue, gridWidth - 540 / 15 + 3);
    EXPECT_GE(widthValue, gridWidth - 540 / 15 - 3);
}

// Each of a station's headers holds its label; the narrow time column's shows the label's
// beginning and an ellipsis ("Radi…"), never a clip of its middle ("adio Nor"): what it draws is
// what it draws for some beginning of the label followed by an ellipsis.
TEST_F(Tableur, TheNarrowTimeColumnsHeaderShowsTheBeginningOfTheStationsLabel) {
    win.QWidget::show();
    win.resize(1200, 600);
    startup();
    Lib_Tableur::InitGeneralTableurGlobal(false, true);
    auto* table = qobject_cast<QTableWidget*>(sheetGrid.currentWidget());
    ASSERT_NE(table, nullptr);
    QHeaderView* header = table->horizontalHeader();
    const auto drawn = [&](int column) {
        const QRect section(header->sectionViewportPosition(column), 0, header->sectionSize(column),
                            header->height());
        return header->grab(section).toImage();
    };
    QTableWidgetItem* item = table->horizontalHeaderItem(0);
    ASSERT_NE(item, nullptr);
    const QString label = item->text();
    ASSERT_EQ(label, "Radio Nord");
    ASSERT_LT(header->sectionSize(0), header->fontMetrics().horizontalAdvance(label));
    const QImage shown = drawn(0);
    QString match;
    for (int n = 1; n < label.size() && match.isEmpty(); ++n) {
        const QString beginning = label.left(n) + QChar(0x2026);
        item->setText(beginning);
        if (drawn(0) == shown) match = beginning;
    }
    item->setText(label);
    EXPECT_FALSE(match.isEmpty());
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), label);  // the text column's header holds it whole
    EXPECT_EQ(sheetGrid.Text(1, 0), "Radio Nord");
}

TEST_F(Tableur, WithoutStationsTheGridHasNoColumnsAndTheRowsWriteNothing) {
    stations({});
    startup();
    Lib_Tableur::InitGeneralTableurGlobal(false, true);
    EXPECT_EQ(sheetGrid.MaxCols(), 0);
    EXPECT_EQ(sheetGrid.MaxRows(), 50);
}

TEST_F(Tableur, RestartRowsPushTheOlderOnesDownAndTheOldestOff) {
    Lib_Tableur::InitGeneralTableur(true, true);
    Lib_Tableur::TableurInitDemarrage(0, "Début Redémarrage");
    for (int c = 1; c <= 9; c += 3) {
        EXPECT_EQ(sheetGrid.Text(c, 1), "04:08:15");
        EXPECT_EQ(sheetGrid.BackColor(c, 1), kBlack);
        EXPECT_EQ(sheetGrid.ForeColor(c, 1), kWhite);
        EXPECT_EQ(sheetGrid.Text(c + 1, 1), "Début Redémarrage");
        EXPECT_EQ(sheetGrid.BackColor(c + 1, 1), kRed);
        EXPECT_EQ(sheetGrid.Text(c + 2, 1), "2026-12-10 04:08:15");
    }
    for (int i = 1; i < 60; ++i) Lib_Tableur::TableurInitDemarrage(0, "L" + std::to_string(i));
    EXPECT_EQ(sheetGrid.Text(2, 1), "L59");
    EXPECT_EQ(sheetGrid.Text(5, 2), "L58");
    EXPECT_EQ(sheetGrid.Text(8, 50), "L10");  // 60 rows written, the last 50 kept
    EXPECT_EQ(sheetGrid.BackColor(8, 50), kRed);
    EXPECT_EQ(sheetGrid.BackColor(7, 50), kBlack);
}

TEST_F(Tableur, TheWorkbookCarriesTheRowsIntoTheNextRunRebuiltForTheCurrentSite) {
    startup("Début Redémarrage");
    Lib_Tableur::TableurInitDemarrage(0, "Fin Redémarrage");
    ASSERT_TRUE(exporter());

    platform::xls::Sheet vu;
    std::string errorText;
    ASSERT_TRUE(gridtest::readWithXlrd(book(), vu, errorText)) << errorText;
    EXPECT_EQ(vu.name, "SheetName");
    EXPECT_EQ(vu.cells.at({0, 7}).text, "Fin Redémarrage");
    EXPECT_EQ(vu.cells.at({1, 7}).backColour, kRed);
    EXPECT_EQ(vu.cells.at({49, 0}).backColour, kBlack);  // the empty rows keep their colours

    // The next run serves two stations under new names.
    stations({"Nord FM", "Sud FM"});
    Frm_Main following;
    Spread& fresh = *following.fpSpreadGlobal;
    Lib_Tableur::InitGeneralTableur(true, true);
    ASSERT_TRUE(Lib_Tableur::importGlobalWorkbook());
    EXPECT_EQ(fresh.MaxCols(), 6);
    EXPECT_EQ(fresh.MaxRows(), 50);
    EXPECT_EQ(fresh.Text(1, 0), "Nord FM");
    EXPECT_EQ(fresh.Text(6, 0), "Sud FM");
    EXPECT_TRUE(fresh.ColHidden(6));
    EXPECT_EQ(fresh.Text(2, 1), "Fin Redémarrage");
    EXPECT_EQ(fresh.Text(5, 2), "Début Redémarrage");
    EXPECT_EQ(fresh.BackColor(5, 2), kRed);
    EXPECT_EQ(fresh.Text(6, 2), "2026-12-10 04:08:15");
    Lib_Tableur::TableurInitDemarrage(0, "Début Redémarrage");
    EXPECT_EQ(fresh.Text(2, 2), "Fin Redémarrage");
    EXPECT_EQ(fresh.Text(2, 3), "Début Redémarrage");
}

TEST_F(Tableur, AnErrorReportBeforeTheImportLeavesTheWorkbookAlone) {
    startup();
    ASSERT_TRUE(exporter());
    const std::string avant = support::readBytes(book());

    // The next run reports an error while its grid is still empty (before its import step).
    Lib_Tableur::PbBClasseurGlobalLu = false;
    Frm_Main following;
    Lib_Tableur::InitGeneralTableur(true, true);
    Lib_Public::ReportError(53, "File not found", "Frm_Main:InitGeneral");
    EXPECT_TRUE(support::readBytes(book()) == avant);

    ASSERT_TRUE(Lib_Tableur::importGlobalWorkbook());
    EXPECT_EQ(following.fpSpreadGlobal->Text(2, 1), "Début Redémarrage");
    Lib_Tableur::TableurInitDemarrage(0, "Fin Redémarrage");
    Lib_Public::ReportError(53, "File not found", "Frm_Main:Form_Load");  // now it saves the grid
    std::vector<platform::xls::Sheet> reread;
    ASSERT_TRUE(platform::xls::readWorkbook(book(), reread).ok());
    EXPECT_EQ(reread.at(0).cells.at({0, 1}).text, "Fin Redémarrage");
}

TEST_F(Tableur, ADamagedWorkbookIsKeptUnderItsDateBeforeTheNextExportReplacesIt) {
    startup();
    ASSERT_TRUE(exporter());
    std::string cut = support::readBytes(book());
    cut.resize(cut.size() / 2);
    {
        std::ofstream out(book(), std::ios::binary | std::ios::trunc);
        out << cut;
    }
    const std::string copyPath = "C:\\Prog\\Local\\AL3_Relaytone\\Global_20261210_040815.xls";
    std::ofstream(drive.host(copyPath)) << "an older copy";  // never overwritten
    const std::string secondCopy = "C:\\Prog\\Local\\AL3_Relaytone\\Global_20261210_040815_2.xls";

    Lib_Tableur::PbBClasseurGlobalLu = false;
    Frm_Main following;
    logbuffers::earlyBuffer().clear();
    Lib_Tableur::InitGeneralTableur(true, true);
    EXPECT_FALSE(Lib_Tableur::importGlobalWorkbook());
    EXPECT_TRUE(support::readBytes(drive.host(secondCopy)) == cut);
    EXPECT_EQ(support::readBytes(drive.host(copyPath)), "an older copy");
    EXPECT_TRUE(
        logged("Warning: Workbook not imported: C:\\Prog\\Local\\AL3_Relaytone\\Global.xls |Reason: "
               "compound file truncated (allocation table) |Kept as: " +
               secondCopy + " |Sub: Frm_Main:Form_Load"));
    EXPECT_EQ(following.fpSpreadGlobal->Text(2, 1), "");  // the empty layout
    EXPECT_EQ(following.fpSpreadGlobal->MaxCols(), 9);

    Lib_Tableur::TableurInitDemarrage(0, "Début Redémarrage");
    ASSERT_TRUE(exporter());
    std::vector<platform::xls::Sheet> reread;
    ASSERT_TRUE(platform::xls::readWorkbook(book(), reread).ok());
    EXPECT_EQ(reread.at(0).cells.at({0, 1}).text, "Début Redémarrage");
    EXPECT_TRUE(support::readBytes(drive.host(secondCopy)) == cut);
}

TEST_F(Tableur, AnUnreadableWorkbookThatCannotBeCopiedIsNotReplacedThisRun) {
    std::ofstream(book(), std::ios::binary) << "Relaytone\r\nDébut Redémarrage\r\n";
    const std::string avant = support::readBytes(book());
    Lib_Tableur::InitGeneralTableur(true, true);
    logbuffers::earlyBuffer().clear();
    Lib_Systeme::seams::failNextFileOperation(ENOSPC);
    EXPECT_FALSE(Lib_Tableur::importGlobalWorkbook());
    EXPECT_TRUE(logged(
        "Err: Workbook not imported: C:\\Prog\\Local\\AL3_Relaytone\\Global.xls |Reason: file too "
        "short for a compound file header |No copy kept: not replaced this run |Sub: Frm_Main:Form_Load"));

    Lib_Tableur::TableurInitDemarrage(0, "Début Redémarrage");
    EXPECT_TRUE(exporter());  // nothing to report: the file is left as it was on purpose
    Lib_Public::ReportError(53, "File not found", "Frm_Main:Form_Load");
    platform::dialogs::queueAnswers({"ok"});
    Lib_Tableur::exportGlobalWorkbookOnClose("Aerolune: Relaytone");
    EXPECT_TRUE(platform::dialogs::asked().empty());
    EXPECT_EQ(support::readBytes(book()), avant);
    for (const auto& entry : std::filesystem::directory_iterator(book().parent_path()))
        EXPECT_EQ(entry.path().filename().string().rfind("Global_2", 0), std::string::npos) << entry.path();
}

TEST_F(Tableur, AnEmptyWorkbookNeedsNoCopyAndTheNextExportReplacesIt) {
    std::ofstream(book(), std::ios::binary | std::ios::trunc).flush();
    Lib_Tableur::InitGeneralTableur(true, true);
    logbuffers::earlyBuffer().clear();
    EXPECT_FALSE(Lib_Tableur::importGlobalWorkbook());
    EXPECT_TRUE(
        logged("Warning: Workbook not imported: C:\\Prog\\Local\\AL3_Relaytone\\Global.xls |Reason: "
               "empty file |Empty file: no copy needed |Sub: Frm_Main:Form_Load"));
    EXPECT_NE(support::readWindowsFile(drive.host("C:\\Prog\\Local\\AL3_Relaytone\\Global_Import.log"))
                  .find("Import C:\\Prog\\Local\\AL3_Relaytone\\Global.xls: empty file"),
              std::string::npos);

    Lib_Tableur::TableurInitDemarrage(0, "Début Redémarrage");
    ASSERT_TRUE(exporter());
    std::vector<platform::xls::Sheet> reread;
    ASSERT_TRUE(platform::xls::readWorkbook(book(), reread).ok());
    EXPECT_EQ(reread.at(0).cells.at({0, 1}).text, "Début Redémarrage");
    for (const auto& entry : std::filesystem::directory_iterator(book().parent_path()))
        EXPECT_EQ(entry.path().filename().string().rfind("Global_2", 0), std::string::npos) << entry.path();
}

// Another spreadsheet's workbook: its figures come in as their texts, what the grid of one
// station cannot hold is listed, and the file is kept aside before the export replaces it.
TEST_F(Tableur, AForeignWorkbookIsImportedAsShownListedAndKeptAsideOnce) {
    std::string errorText;
    ASSERT_TRUE(gridtest::writeFiguresWithXlwt(book(), errorText)) << errorText;
    const std::string avant = support::readBytes(book());
    stations({"Radio Nord"});
    Lib_Tableur::InitGeneralTableur(true, true);
    logbuffers::earlyBuffer().clear();
    ASSERT_TRUE(Lib_Tableur::importGlobalWorkbook());
    EXPECT_EQ(sheetGrid.MaxCols(), 3);
    EXPECT_EQ(sheetGrid.Text(1, 1), "marker-text");
    EXPECT_EQ(sheetGrid.Text(2, 1), "4217");
    EXPECT_EQ(sheetGrid.Text(3, 1), "3.25");
    EXPECT_EQ(sheetGrid.Text(2, 2), "0.1");
    EXPECT_EQ(sheetGrid.Text(3, 2), "1E+20");

    const std::string copyPath = "C:\\Prog\\Local\\AL3_Relaytone\\Global_20261210_040815.xls";
    EXPECT_TRUE(support::readBytes(drive.host(copyPath)) == avant);
    EXPECT_TRUE(
        logged("Warning: Workbook imported in part: C:\\Prog\\Local\\AL3_Relaytone\\Global.xls |Not "
               "held by the grid: 12 (Global_Import.log) |Kept as: " +
               copyPath + " |Sub: Frm_Main:Form_Load"));
    const std::string listBox =
        support::readWindowsFile(drive.host("C:\\Prog\\Local\\AL3_Relaytone\\Global_Import.log"));
    for (const char* lineText :
         {"Sheet 2 \"Notes\" not imported: 1 cells",
          "D1 outside the grid (3 columns, 50 rows), not imported: ",
          "F1 outside the grid (3 columns, 50 rows), not imported: #DIV/0!",
          "E2 outside the grid (3 columns, 50 rows), not imported: TRUE",
          "A2 formula, imported as its result: ", "C1 number, imported as its text: 3.25"})
        EXPECT_NE(listBox.find(lineText), std::string::npos) << lineText << "\n" << listBox;

    Lib_Tableur::TableurInitDemarrage(0, "Début Redémarrage");
    ASSERT_TRUE(exporter());
    std::vector<platform::xls::Sheet> reread;
    ASSERT_TRUE(platform::xls::readWorkbook(book(), reread).ok());
    EXPECT_EQ(reread.at(0).cells.at({1, 1}).text, "4217");
    EXPECT_EQ(reread.at(0).cells.at({1, 1}).origin, platform::xls::Origin::Text);

    // Written by this program, it holds only texts now: the next run keeps no other copy.
    platform::clock::advance(std::chrono::seconds(5));
    Frm_Main following;
    Lib_Tableur::InitGeneralTableur(true, true);
    logbuffers::earlyBuffer().clear();
    ASSERT_TRUE(Lib_Tableur::importGlobalWorkbook());
    EXPECT_EQ(following.fpSpreadGlobal->Text(2, 2), "4217");
    EXPECT_FALSE(logged("Workbook imported in part"));
    int copies = 0;
    for (const auto& entry : std::filesystem::directory_iterator(book().parent_path()))
        copies += entry.path().filename().string().rfind("Global_2", 0) == 0;
    EXPECT_EQ(copies, 1);
}

TEST_F(Tableur, AFailedExportAtShutDownSaysSoUnlessTheQuitIsForced) {
    startup();
    std::filesystem::remove_all(drive.host("C:\\Prog\\Local"));
    platform::dialogs::queueAnswers({"ok"});
    Lib_Tableur::exportGlobalWorkbookOnClose("Aerolune: Relaytone");
    ASSERT_EQ(platform::dialogs::asked().size(), 1u);
    EXPECT_EQ(platform::dialogs::asked()[0].text,
              "Impossible de créer le fichier:\r\n\r\nC:\\Prog\\Local\\AL3_Relaytone\\Global.xls");
    EXPECT_EQ(platform::dialogs::asked()[0].title, "Aerolune: Relaytone");

    PbBRelanceForcee = true;
    Lib_Tableur::exportGlobalWorkbookOnClose("Aerolune: Relaytone");
    EXPECT_EQ(platform::dialogs::asked().size(), 1u);
}

}  // namespace
