// The grid control: cells, headers, sheets and sizes as the windows set them, and its workbook.
#include <fstream>

#include <gtest/gtest.h>

#include <QTableWidget>

#include "platform/forms/Spread.h"
#include "platform/xls/Workbook.h"
#include "tests/platform/xls/XlrdReader.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace {

using platform::forms::Spread;

class SpreadTest : public support::SiteTest {
protected:
    Spread grid{nullptr};
};

TEST_F(SpreadTest, CellsAndHeadersInsideTheGridOnly) {
    grid.SetMaxCols(3);
    grid.SetMaxRows(2);
    grid.SetText(1, 1, "08:15:00");
    grid.SetText(3, 2, "Fin Redémarrage");
    grid.SetText(2, 0, "Station 1");
    grid.SetText(0, 2, "H01");
    grid.SetText(4, 1, "outside");
    grid.SetText(1, 3, "outside");
    grid.SetBackColor(2, 2, 255);
    grid.SetForeColor(9, 9, 255);
    EXPECT_EQ(grid.Text(1, 1), "08:15:00");
    EXPECT_EQ(grid.Text(3, 2), "Fin Redémarrage");
    EXPECT_EQ(grid.Text(2, 0), "Station 1");
    EXPECT_EQ(grid.Text(0, 2), "H01");
    EXPECT_EQ(grid.Text(4, 1), "");
    EXPECT_EQ(grid.BackColor(2, 2), 255);
    EXPECT_EQ(grid.BackColor(1, 1), platform::forms::kSysWindowBackground);
    EXPECT_EQ(grid.ForeColor(1, 1), platform::forms::kSysWindowText);

    grid.SetMaxRows(1);  // a smaller grid loses the rows beyond it
    grid.SetMaxRows(2);
    EXPECT_EQ(grid.Text(3, 2), "");
    EXPECT_EQ(grid.Text(1, 1), "08:15:00");
}

TEST_F(SpreadTest, SheetsKeepTheirOwnCellsAndNames) {
    grid.SetSheetCount(3);
    EXPECT_EQ(grid.SheetCount(), 3);
    grid.SetSheet(2);
    EXPECT_EQ(grid.SheetName(), "Sheet2");
    grid.SetSheetName("Emission");
    grid.SetMaxCols(7);
    grid.SetText(7, 96, "Journal");
    grid.SetFontName("Arial");
    grid.SetSheet(1);
    EXPECT_EQ(grid.Text(7, 96), "");
    EXPECT_NE(grid.FontName(), "Arial");
    grid.SetSheet(4);  // no such sheet: stays on sheet 1
    EXPECT_EQ(grid.Sheet(), 1);
    grid.SetSheet(2);
    EXPECT_EQ(grid.SheetName(), "Emission");
    EXPECT_EQ(grid.Text(7, 96), "Journal");
    EXPECT_EQ(grid.FontName(), "Arial");

    grid.Reset();
    EXPECT_EQ(grid.SheetCount(), 1);
    EXPECT_EQ(grid.Sheet(), 1);
    EXPECT_EQ(grid.SheetName(), "Sheet1");
    EXPECT_EQ(grid.Text(7, 96), "");
}

TEST_F(SpreadTest, SizesReadBackAsSetAndNeverBelowZero) {
    grid.SetMaxCols(3);
    grid.SetMaxRows(2);
    grid.SetColWidth(1, 6.5);
    grid.SetColWidth(2, -6.0);
    grid.SetRowHeight(1, 10.5);
    grid.SetColHidden(3, true);
    grid.SetColHidden(0, true);
    EXPECT_DOUBLE_EQ(grid.ColWidth(1), 6.5);
    EXPECT_DOUBLE_EQ(grid.ColWidth(2), 0.0);
    EXPECT_DOUBLE_EQ(grid.RowHeight(1), 10.5);
    EXPECT_TRUE(grid.ColHidden(3));
    EXPECT_TRUE(grid.ColHidden(0));
    EXPECT_FALSE(grid.ColHidden(1));
    EXPECT_EQ(grid.ColWidthToTwips(6.5), 780);
    EXPECT_EQ(Spread::RowHeightToTwips(10.5), 210);
}

TEST_F(SpreadTest, ANewSheetIsFiveHundredSquareAndShowsAtTheSizeItWasGiven) {
    EXPECT_EQ(grid.MaxCols(), 500);
    EXPECT_EQ(grid.MaxRows(), 500);
    grid.SetText(500, 500, "corner");
    grid.SetText(501, 1, "outside");
    EXPECT_EQ(grid.Text(500, 500), "corner");
    EXPECT_EQ(grid.Text(501, 1), "");

    // A sheet cut down before anything is written shows at its own size.
    grid.SetSheetCount(2);
    grid.SetSheet(2);
    grid.SetMaxCols(7);
    grid.SetMaxRows(3);
    EXPECT_EQ(grid.Text(7, 3), "");
    grid.show();
    const auto* table = qobject_cast<const QTableWidget*>(grid.currentWidget());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->columnCount(), 7);
    EXPECT_EQ(table->rowCount(), 3);
    grid.SetSheet(1);
    EXPECT_EQ(grid.Text(500, 500), "corner");
}

TEST_F(SpreadTest, ExportedCellsReachXlrdAndComeBackThroughTheImport) {
    grid.SetMaxCols(3);
    grid.SetMaxRows(50);
    grid.SetText(1, 1, "08:15:00");
    grid.SetForeColor(1, 1, 0xFFFFFF);
    grid.SetBackColor(1, 1, 0);
    grid.SetText(2, 1, "Début Redémarrage");
    grid.SetBackColor(2, 1, 255);
    grid.SetBackColor(3, 4, 0);  // colour without text
    grid.SetText(3, 3, "system colours");
    grid.SetBackColor(3, 3, int32_t(0x8000000Bu));  // stays automatic in the workbook
    const std::string file = "C:\\Local\\Global.xls", log = "C:\\Local\\Global_Export.log";
    std::filesystem::create_directories(drive.host("C:\\Local"));
    ASSERT_TRUE(grid.ExportToExcel(file, "SheetName", log, 0));

    platform::xls::Sheet seen;
    std::string error;
    ASSERT_TRUE(gridtest::readWithXlrd(drive.host(file), seen, error)) << error;
    EXPECT_EQ(seen.name, "SheetName");
    using platform::xls::Cell;
    const std::map<std::pair<int, int>, Cell> expected{
        {{0, 0}, Cell{"08:15:00", 0xFFFFFF, 0}},
        {{0, 1}, Cell{"Début Redémarrage", std::nullopt, 255}},
        {{2, 2}, Cell{"system colours", std::nullopt, std::nullopt}},
        {{3, 2}, Cell{"", std::nullopt, 0}},
    };
    EXPECT_EQ(seen.cells, expected);

    Spread other(nullptr);
    ASSERT_EQ(other.IsExcelFile(file), 1);
    std::vector<std::string> names;
    int16_t count = 0, handle = 0;
    ASSERT_TRUE(other.GetExcelSheetList(file, names, count, "C:\\Local\\Global_Import.log", handle, true));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(names, std::vector<std::string>{"SheetName"});
    EXPECT_FALSE(other.ImportExcelSheet(handle, 1));
    EXPECT_FALSE(other.ImportExcelSheet(int16_t(handle + 1), 0));
    ASSERT_TRUE(other.ImportExcelSheet(handle, 0));
    EXPECT_EQ(other.MaxRows(), 4);  // the workbook's used area
    EXPECT_EQ(other.MaxCols(), 3);
    EXPECT_EQ(other.Text(2, 1), "Début Redémarrage");
    EXPECT_EQ(other.BackColor(2, 1), 255);
    EXPECT_EQ(other.ForeColor(1, 1), 0xFFFFFF);
    EXPECT_EQ(other.BackColor(3, 4), 0);
    EXPECT_EQ(other.BackColor(3, 3), platform::forms::kSysWindowBackground);
}

TEST_F(SpreadTest, ADamagedWorkbookIsRefusedWithItsReasonInTheLog) {
    grid.SetMaxCols(1);
    grid.SetMaxRows(1);
    grid.SetText(1, 1, "x");
    const std::string file = "C:\\Global.xls", log = "C:\\Global_Import.log";
    ASSERT_TRUE(grid.ExportToExcel(file, "SheetName", "", 0));
    const std::string bytes = support::readBytes(drive.host(file));
    {
        std::ofstream cut(drive.host(file), std::ios::binary | std::ios::trunc);
        cut << bytes.substr(0, bytes.size() - 100);
    }
    EXPECT_EQ(grid.IsExcelFile(file), 0);
    std::vector<std::string> names;
    int16_t count = 0, handle = 0;
    EXPECT_FALSE(grid.GetExcelSheetList(file, names, count, log, handle, true));
    EXPECT_NE(support::readWindowsFile(drive.host(log)).find("truncated"), std::string::npos);
    EXPECT_EQ(grid.Text(1, 1), "x");

    EXPECT_FALSE(grid.ExportToExcel("C:\\NoFolder\\Global.xls", "SheetName", log, 0));
    EXPECT_NE(support::readWindowsFile(drive.host(log)).find("Export C:\\NoFolder\\Global.xls: "),
              std::string::npos);
}

}  // namespace
