// The grid control over one QTableWidget per sheet; sizes read back as set, colours as VB values.
#include "platform/forms/Spread.h"

#include <climits>
#include <cstdio>
#include <fstream>
#include <new>

#include <QCursor>
#include <QHeaderView>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableWidget>

#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "platform/WinPath.h"
#include "platform/xls/ImportReport.h"

namespace platform::forms {
namespace {

constexpr int kDefaultMaxCols = 500;
constexpr int kDefaultMaxRows = 500;
constexpr double kDefaultColWidth = 8.0;
constexpr double kDefaultRowHeight = 12.0;
constexpr int kForeRole = Qt::UserRole;
constexpr int kBackRole = Qt::UserRole + 1;
constexpr const char* kDefaultFont = "MS Sans Serif";
constexpr double kDefaultFontPoints = 8.25;

bool isSystemColour(int32_t colour) { return uint32_t(colour) & 0x80000000u; }

QColor displayColour(int32_t colour, const QPalette& palette) {
    if (!isSystemColour(colour)) return QColor(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
    switch (colour & 0xFF) {
        case 5:
            return palette.color(QPalette::Base);
        case 8:
            return palette.color(QPalette::Text);
        default:
            return palette.color(QPalette::Button);
    }
}

int pixels(int32_t twips) { return std::max(0, pixelsOfTwips(twips)); }

QFont gridFont(const std::string& family) {
    QFont font(QString::fromStdString(family));
    font.setPointSizeF(kDefaultFontPoints);
    return font;
}

std::string stamp() {
    const LocalTimeFields f = clock::localNow();
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", f.year, f.month, f.day, f.hour,
                  f.minute, f.second);
    return text;
}

// A header too narrow for its text shows the text's beginning and an ellipsis, not a clip of its
// middle (Qt's header draws its labels whole and centred).
class ElidedHeaderLabels : public QProxyStyle {
public:
    explicit ElidedHeaderLabels(QObject* owner) { setParent(owner); }
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option);
        if ((element != CE_Header && element != CE_HeaderLabel) || !header || header->text.isEmpty()) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        // The whole section, or its label's part of it when a style sheet draws the section.
        QStyleOptionHeader elided = *header;
        const int room = element == CE_Header ? subElementRect(SE_HeaderLabel, header, widget).width()
                                              : header->rect.width();
        elided.text = header->fontMetrics.elidedText(header->text, Qt::ElideRight, room);
        QProxyStyle::drawControl(element, &elided, painter, widget);
    }
};

}  // namespace

// What a sheet keeps beside its table: the sizes as set and the names.
struct Spread::SheetLayout {
    std::string name;
    std::string font = kDefaultFont;
    std::map<int, double> colWidths;   // column 0 is the row-header column
    std::map<int, double> rowHeights;  // row 0 is the column-header row
    bool rowHeadersHidden = false;
    // The table takes its size only once a cell, header or size is written: a sheet made at the
    // default 500 by 500 and cut down at once would keep the larger table's memory for good.
    int rows = kDefaultMaxRows;
    int cols = kDefaultMaxCols;
    bool sized = false;
};

Spread::Spread(QWidget* parent, int index) : Control<QStackedWidget>(parent, index) { Reset(); }

Spread::~Spread() = default;

QTableWidget* Spread::table() const { return static_cast<QTableWidget*>(currentWidget()); }

QTableWidget* Spread::sizedTable(int index) {
    auto* t = static_cast<QTableWidget*>(widget(index));
    SheetLayout& l = layouts_[size_t(index)];
    if (!l.sized) {
        t->setRowCount(l.rows);
        t->setColumnCount(l.cols);
        l.sized = true;
    }
    return t;
}

QTableWidget* Spread::sizedTable() { return sizedTable(currentIndex()); }

void Spread::showEvent(QShowEvent* event) {
    for (int i = 0; i < count(); ++i) sizedTable(i);
    Control<QStackedWidget>::showEvent(event);
}
Spread::SheetLayout& Spread::layout() { return layouts_[currentIndex()]; }
const Spread::SheetLayout& Spread::layout() const { return layouts_[currentIndex()]; }

void Spread::addSheet() {
    auto* sheet = new QTableWidget(this);
    sheet->setUpdatesEnabled(redraw_);
    auto* header = sheet->horizontalHeader();
    header->setStyle(new ElidedHeaderLabels(header));
    addWidget(sheet);
    SheetLayout l;
    l.name = "Sheet" + std::to_string(count());
    layouts_.push_back(l);
    sheet->setFont(gridFont(l.font));
}

void Spread::Reset() {
    while (count() > 0) {
        QWidget* w = widget(count() - 1);
        removeWidget(w);
        delete w;
    }
    layouts_.clear();
    addSheet();
    setCurrentIndex(0);
}

void Spread::SetReDraw(bool redraw) {
    redraw_ = redraw;
    for (int i = 0; i < count(); ++i) widget(i)->setUpdatesEnabled(redraw);
}

void Spread::SetSheetCount(int sheets) {
    sheets = std::max(1, sheets);
    while (count() < sheets) addSheet();
    while (count() > sheets) {
        QWidget* w = widget(count() - 1);
        removeWidget(w);
        delete w;
        layouts_.pop_back();
    }
}

void Spread::SetSheet(int sheet) {
    if (sheet >= 1 && sheet <= count()) setCurrentIndex(sheet - 1);
}

std::string Spread::SheetName() const { return layout().name; }
void Spread::SetSheetName(const std::string& name) { layout().name = name; }

int Spread::MaxCols() const { return layout().cols; }
void Spread::SetMaxCols(int columns) {
    layout().cols = std::max(0, columns);
    if (layout().sized) table()->setColumnCount(layout().cols);
}
int Spread::MaxRows() const { return layout().rows; }
void Spread::SetMaxRows(int rows) {
    layout().rows = std::max(0, rows);
    if (layout().sized) table()->setRowCount(layout().rows);
}

std::string Spread::Text(int col, int row) const {
    const QTableWidgetItem* item = nullptr;
    if (row == 0 && col >= 1)
        item = table()->horizontalHeaderItem(col - 1);
    else if (col == 0 && row >= 1)
        item = table()->verticalHeaderItem(row - 1);
    else if (row >= 1 && col >= 1)
        item = table()->item(row - 1, col - 1);
    return item ? item->text().toStdString() : std::string();
}

void Spread::SetText(int col, int row, const std::string& text) {
    QTableWidget* t = sizedTable();
    const QString value = QString::fromStdString(text);
    if (row == 0 && col >= 1 && col <= t->columnCount()) {
        t->setHorizontalHeaderItem(col - 1, new QTableWidgetItem(value));
    } else if (col == 0 && row >= 1 && row <= t->rowCount()) {
        t->setVerticalHeaderItem(row - 1, new QTableWidgetItem(value));
    } else if (row >= 1 && col >= 1 && row <= t->rowCount() && col <= t->columnCount()) {
        QTableWidgetItem* item = t->item(row - 1, col - 1);
        if (!item) t->setItem(row - 1, col - 1, item = new QTableWidgetItem);
        item->setText(value);
    }
}

int32_t Spread::ForeColor(int col, int row) const {
    const QTableWidgetItem* item = row >= 1 && col >= 1 ? table()->item(row - 1, col - 1) : nullptr;
    const QVariant v = item ? item->data(kForeRole) : QVariant();
    return v.isValid() ? v.toInt() : kSysWindowText;
}

void Spread::SetForeColor(int col, int row, int32_t colour) {
    QTableWidget* t = sizedTable();
    if (row < 1 || col < 1 || row > t->rowCount() || col > t->columnCount()) return;
    QTableWidgetItem* item = t->item(row - 1, col - 1);
    if (!item) t->setItem(row - 1, col - 1, item = new QTableWidgetItem);
    item->setData(kForeRole, colour);
    item->setForeground(displayColour(colour, t->palette()));
}

int32_t Spread::BackColor(int col, int row) const {
    const QTableWidgetItem* item = row >= 1 && col >= 1 ? table()->item(row - 1, col - 1) : nullptr;
    const QVariant v = item ? item->data(kBackRole) : QVariant();
    return v.isValid() ? v.toInt() : kSysWindowBackground;
}

void Spread::SetBackColor(int col, int row, int32_t colour) {
    QTableWidget* t = sizedTable();
    if (row < 1 || col < 1 || row > t->rowCount() || col > t->columnCount()) return;
    QTableWidgetItem* item = t->item(row - 1, col - 1);
    if (!item) t->setItem(row - 1, col - 1, item = new QTableWidgetItem);
    item->setData(kBackRole, colour);
    item->setBackground(displayColour(colour, t->palette()));
}

std::string Spread::FontName() const { return layout().font; }

void Spread::SetFontName(const std::string& name) {
    layout().font = name;
    table()->setFont(gridFont(name));
}

void Spread::SetGridColor(int32_t colour) {
    table()->setStyleSheet(
        QString("QTableView { gridline-color: %1; }").arg(displayColour(colour, palette()).name()));
}

QPixmap Spread::CursorPicture() const {
    const QCursor pointer = table()->viewport()->cursor();
    return pointer.shape() == Qt::BitmapCursor ? pointer.pixmap() : QPixmap();
}

void Spread::SetCursorPicture(const QPixmap& picture) {
    if (picture.isNull())
        table()->viewport()->unsetCursor();
    else
        table()->viewport()->setCursor(QCursor(picture, 0, 0));  // the picture's tip, top left
}

bool Spread::ColHidden(int col) const {
    if (col == 0) return layout().rowHeadersHidden;
    return col >= 1 && col <= MaxCols() && table()->isColumnHidden(col - 1);
}

void Spread::SetColHidden(int col, bool hidden) {
    if (col == 0) {
        layout().rowHeadersHidden = hidden;
        table()->verticalHeader()->setVisible(!hidden);
    } else if (col >= 1 && col <= MaxCols()) {
        sizedTable()->setColumnHidden(col - 1, hidden);
    }
}

double Spread::ColWidth(int col) const {
    const auto& widths = layout().colWidths;
    const auto it = widths.find(col);
    return it == widths.end() ? kDefaultColWidth : it->second;
}

void Spread::SetColWidth(int col, double width) {
    if (col < 0 || col > MaxCols()) return;
    layout().colWidths[col] = std::max(0.0, width);
    applyColWidth(currentIndex(), col);
}

void Spread::applyColWidth(int sheetIndex, int col) {
    const int px = pixels(ColWidthToTwips(layouts_[size_t(sheetIndex)].colWidths.at(col)));
    if (col == 0)
        static_cast<QTableWidget*>(widget(sheetIndex))->verticalHeader()->setFixedWidth(px);
    else
        sizedTable(sheetIndex)->setColumnWidth(col - 1, px);
}

void Spread::SetTwipsPerColumnUnit(double twips) {
    twipsPerColumnUnit_ = std::max(1.0, twips);
    for (int sheet = 0; sheet < count(); ++sheet)
        for (const auto& [col, width] : layouts_[size_t(sheet)].colWidths) applyColWidth(sheet, col);
}

int32_t Spread::TextWidthTwips(const std::string& text) const {
    // What the table's own delegate asks of the style for such a cell, and its grid line.
    const QTableWidget* t = table();
    QStyleOptionViewItem option;
    option.initFrom(t);
    option.font = t->font();
    option.fontMetrics = QFontMetrics(option.font);
    option.text = QString::fromStdString(text);
    option.features = QStyleOptionViewItem::HasDisplay;
    const int width = t->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), t).width();
    return (width + (t->showGrid() ? 1 : 0)) * kTwipsPerPixel;
}

double Spread::RowHeight(int row) const {
    const auto& heights = layout().rowHeights;
    const auto it = heights.find(row);
    return it == heights.end() ? kDefaultRowHeight : it->second;
}

void Spread::SetRowHeight(int row, double height) {
    if (row < 0 || row > MaxRows()) return;
    height = std::max(0.0, height);
    layout().rowHeights[row] = height;
    const int px = pixels(RowHeightToTwips(height));
    if (row == 0)
        table()->horizontalHeader()->setFixedHeight(px);
    else
        sizedTable()->setRowHeight(row - 1, px);
}

void Spread::writeLog(const std::string& logFile, const std::string& line, bool append) const {
    if (logFile.empty()) return;
    std::ofstream out(winpath::toHost(logFile),
                      std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    out << cp1252::fromUtf8(stamp() + " " + xls::oneLine(line)) << "\r\n";
}

bool Spread::ExportToExcel(const std::string& file, const std::string& sheetName, const std::string& logFile,
                           int32_t /*flags*/) {
    xls::Sheet sheet;
    sheet.name = sheetName;
    const QTableWidget* t = table();
    for (int r = 0; r < t->rowCount(); ++r) {
        for (int c = 0; c < t->columnCount(); ++c) {
            const QTableWidgetItem* item = t->item(r, c);
            if (!item) continue;
            xls::Cell cell;
            cell.text = item->text().toStdString();
            // System colours have no place in a workbook; they stay the automatic colours.
            if (const int32_t fore = ForeColor(c + 1, r + 1); !isSystemColour(fore)) cell.foreColour = fore;
            if (const int32_t back = BackColor(c + 1, r + 1); !isSystemColour(back)) cell.backColour = back;
            if (!cell.text.empty() || cell.foreColour || cell.backColour) sheet.cells[{r, c}] = cell;
        }
    }
    const xls::Outcome o = xls::writeWorkbook(winpath::toHost(file), sheet);
    writeLog(logFile, "Export " + file + ": " + (o.ok() ? std::string("done") : o.reason));
    return o.ok();
}

int16_t Spread::IsExcelFile(const std::string& file, const std::string& logFile) {
    xls::Outcome o;
    try {
        o = xls::probeWorkbookFile(winpath::toHost(file));
    } catch (const std::bad_alloc&) {
        o = xls::Outcome::failure("not enough memory to read the workbook");
    }
    excelRefusal_ = o.reason;
    if (!o.ok()) writeLog(logFile, "Import " + file + ": " + o.reason);
    return o.ok() ? 1 : 0;
}

bool Spread::GetExcelSheetList(const std::string& file, std::vector<std::string>& list, int16_t& listCount,
                               const std::string& logFile, int16_t& handle, bool /*replace*/) {
    std::vector<xls::Sheet> sheets;
    xls::Outcome o;
    try {
        o = xls::readWorkbook(winpath::toHost(file), sheets);
    } catch (const std::bad_alloc&) {
        o = xls::Outcome::failure("not enough memory to read the workbook");
    }
    excelRefusal_ = o.reason;
    writeLog(logFile, "Import " + file + ": " + (o.ok() ? std::string("read") : o.reason));
    if (!o.ok()) return false;
    list.clear();
    for (const xls::Sheet& s : sheets) list.push_back(s.name);
    listCount = int16_t(std::min<size_t>(list.size(), INT16_MAX));
    workbook_ = std::move(sheets);
    handle = ++workbookHandle_;
    return true;
}

bool Spread::importArea(int16_t handle, int16_t sheetIndex, int cols, int rows) {
    if (handle != workbookHandle_ || sheetIndex < 0 || size_t(sheetIndex) >= workbook_.size()) {
        excelRefusal_ = "no such sheet in the workbook read";
        return false;
    }
    excelRefusal_.clear();
    const xls::Sheet& sheet = workbook_[sheetIndex];
    int usedRows = 0, usedColumns = 0;
    for (const auto& [at, cell] : sheet.cells) {
        if (at.first >= rows || at.second >= cols) continue;
        usedRows = std::max(usedRows, at.first + 1);
        usedColumns = std::max(usedColumns, at.second + 1);
    }
    QTableWidget* t = table();
    t->clearContents();
    SetMaxRows(usedRows);
    SetMaxCols(usedColumns);
    for (const auto& [at, cell] : sheet.cells) {
        if (at.first >= rows || at.second >= cols) continue;
        const int col = at.second + 1, row = at.first + 1;
        SetText(col, row, cell.text);
        if (cell.foreColour) SetForeColor(col, row, *cell.foreColour);
        if (cell.backColour) SetBackColor(col, row, *cell.backColour);
    }
    layout().name = sheet.name;
    return true;
}

bool Spread::ImportExcelSheet(int16_t handle, int16_t sheetIndex) {
    return importArea(handle, sheetIndex, xls::kMaxColumns, xls::kMaxRows);
}

bool Spread::ImportExcelSheet(int16_t handle, int16_t sheetIndex, int cols, int rows,
                              const std::string& logFile, int& notHeld) {
    notHeld = 0;
    if (!importArea(handle, sheetIndex, std::max(0, cols), std::max(0, rows))) return false;
    const xls::ImportReport report = xls::reportImport(workbook_, size_t(sheetIndex), cols, rows);
    for (const std::string& line : report.lines) writeLog(logFile, line, true);
    notHeld = report.count;
    return true;
}

}  // namespace platform::forms
