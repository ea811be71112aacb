// The spreadsheet grid control: sheets of cells with texts and colours, headers, sizes, and the
// Excel workbook import and export.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <QPixmap>
#include <QStackedWidget>

#include "platform/forms/Control.h"
#include "platform/xls/Workbook.h"

class QShowEvent;
class QTableWidget;

namespace platform::forms {

// Colours are VB's 0x00BBGGRR; values with the top bit set name a system colour.
inline constexpr int32_t kSysWindowBackground = int32_t(0x80000005u);
inline constexpr int32_t kSysWindowText = int32_t(0x80000008u);

// Cells are addressed (column, row) from 1; row 0 holds the column headers and column 0 the
// row headers. Every sheet is one QTableWidget; the active one is shown.
class Spread : public Control<QStackedWidget> {
public:
    explicit Spread(QWidget* parent, int index = -1);
    ~Spread() override;

    // Column widths count in units of 120 twips unless the grid is given another unit, row
    // heights in points (20 twips).
    static constexpr int kTwipsPerColumnUnit = 120;
    static constexpr int kTwipsPerRowUnit = 20;
    double TwipsPerColumnUnit() const { return twipsPerColumnUnit_; }
    void SetTwipsPerColumnUnit(double twips);  // every sheet's widths follow

    // Back to one empty sheet with the defaults.
    void Reset();
    void SetReDraw(bool redraw);
    bool ReDraw() const { return redraw_; }

    int SheetCount() const { return count(); }
    void SetSheetCount(int count);  // at least 1; new sheets are named "Sheet" and their number
    int Sheet() const { return currentIndex() + 1; }
    void SetSheet(int sheet);  // ignored outside 1 to SheetCount
    std::string SheetName() const;
    void SetSheetName(const std::string& name);

    // The active sheet's size and cells.
    int MaxCols() const;
    void SetMaxCols(int columns);
    int MaxRows() const;
    void SetMaxRows(int rows);
    std::string Text(int col, int row) const;  // header texts for row 0 or column 0
    void SetText(int col, int row, const std::string& text);
    int32_t ForeColor(int col, int row) const;
    void SetForeColor(int col, int row, int32_t colour);
    int32_t BackColor(int col, int row) const;
    void SetBackColor(int col, int row, int32_t colour);
    // The grid control's own font: MS Sans Serif (the desktop's sans where it is missing), 8.25 points.
    std::string FontName() const;
    void SetFontName(const std::string& name);  // every cell of the sheet, the size kept
    void SetGridColor(int32_t colour);          // the lines between the cells

    bool ColHidden(int col) const;  // column 0: the row headers
    void SetColHidden(int col, bool hidden);
    double ColWidth(int col) const;
    void SetColWidth(int col, double width);  // a negative width counts as 0
    double RowHeight(int row) const;          // row 0: the column headers
    void SetRowHeight(int row, double height);
    // The picture of the pointer over the active sheet's cells (null: the usual pointer).
    QPixmap CursorPicture() const;
    void SetCursorPicture(const QPixmap& picture);
    int32_t ColWidthToTwips(double width) const { return int32_t(width * twipsPerColumnUnit_ + 0.5); }
    static int32_t RowHeightToTwips(double height) { return int32_t(height * kTwipsPerRowUnit + 0.5); }
    // The width a cell of the active sheet needs to show the text whole, in its font and style.
    int32_t TextWidthTwips(const std::string& text) const;

    // The active sheet's cells (texts and colours other than the defaults) to the workbook file,
    // replaced whole; the outcome goes to the log file. Paths are Windows paths.
    bool ExportToExcel(const std::string& file, const std::string& sheetName, const std::string& logFile,
                       int32_t flags);
    // 1 when the file is an Excel 97-2003 workbook, else 0; a refusal writes its reason to the
    // log file when one is given.
    int16_t IsExcelFile(const std::string& file, const std::string& logFile = {});
    // Reads the whole workbook; its sheet names, their count and a handle for the import. A
    // refusal writes its reason to the log file.
    bool GetExcelSheetList(const std::string& file, std::vector<std::string>& list, int16_t& listCount,
                           const std::string& logFile, int16_t& handle, bool replace);
    // The sheet (from 0) of the workbook read under the handle replaces the active sheet, which
    // takes the workbook's used area.
    bool ImportExcelSheet(int16_t handle, int16_t sheetIndex);
    // The same into at most cols by rows. What the sheet cannot hold as the workbook held it (the
    // other sheets, the cells outside, figures, booleans, errors and formulas that come in as
    // their texts) is counted in notHeld and listed in the log file after the read's line.
    bool ImportExcelSheet(int16_t handle, int16_t sheetIndex, int cols, int rows, const std::string& logFile,
                          int& notHeld);
    // Why the last of the three calls above said no.
    const std::string& ExcelRefusal() const { return excelRefusal_; }

private:
    struct SheetLayout;
    QTableWidget* table() const;
    // The sheet's table at its size (see SheetLayout).
    QTableWidget* sizedTable(int index);
    QTableWidget* sizedTable();
    void showEvent(QShowEvent* event) override;
    SheetLayout& layout();
    const SheetLayout& layout() const;
    void addSheet();
    // One line into the log file, which it replaces unless appending.
    void writeLog(const std::string& logFile, const std::string& line, bool append = false) const;
    bool importArea(int16_t handle, int16_t sheetIndex, int cols, int rows);
    void applyColWidth(int sheetIndex, int col);

    std::vector<SheetLayout> layouts_;
    bool redraw_ = true;
    double twipsPerColumnUnit_ = kTwipsPerColumnUnit;
    int16_t workbookHandle_ = 0;
    std::vector<xls::Sheet> workbook_;  // the workbook read under workbookHandle_
    std::string excelRefusal_;
};

}  // namespace platform::forms
