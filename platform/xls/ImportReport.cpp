// The list of what an import into the grid does not keep as the workbook held it.
#include "platform/xls/ImportReport.h"

#include <QString>

namespace platform::xls {
namespace {

constexpr size_t kMaxLines = 100;
constexpr int kMaxShownCharacters = 80;

// "A1", "IV65536".
std::string reference(int row, int column) {
    std::string letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), char('A' + (c - 1) % 26));
    return letters + std::to_string(row + 1);
}

// A cell's text on one line, long texts cut.
std::string shown(const std::string& text) {
    const QString whole = QString::fromStdString(text);
    if (whole.size() <= kMaxShownCharacters) return oneLine(text);
    return oneLine(whole.left(kMaxShownCharacters).toStdString()) + "...";
}

const char* asText(Origin origin) {
    switch (origin) {
        case Origin::Number:
            return "number, imported as its text: ";
        case Origin::Boolean:
            return "boolean, imported as its text: ";
        case Origin::Error:
            return "error, imported as its text: ";
        case Origin::Formula:
            return "formula, imported as its result: ";
        case Origin::Text:
            break;
    }
    return nullptr;
}

}  // namespace

std::string oneLine(const std::string& text) {
    const QString whole = QString::fromStdString(text);
    QString out;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        const QChar c = whole[i];
        if (c == '\r' && i + 1 < whole.size() && whole[i + 1] == '\n') {
            out += "<CRLF>";
            ++i;
        } else if (c == '\r') {
            out += "<CR>";
        } else if (c == '\n') {
            out += "<LF>";
        } else if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0)) {
            out += QString("\\x%1").arg(c.unicode(), 2, 16, QChar('0'));
        } else {
            out += c;
        }
    }
    return out.toStdString();
}

ImportReport reportImport(const std::vector<Sheet>& sheets, size_t imported, int columns, int rows) {
    ImportReport report;
    auto add = [&](std::string line) {
        ++report.count;
        if (report.lines.size() < kMaxLines) report.lines.push_back(std::move(line));
    };
    for (size_t i = 0; i < sheets.size(); ++i) {
        if (i == imported || sheets[i].cells.empty()) continue;
        add("Sheet " + std::to_string(i + 1) + " \"" + shown(sheets[i].name) +
            "\" not imported: " + std::to_string(sheets[i].cells.size()) + " cells");
    }
    if (imported < sheets.size()) {
        for (const auto& [at, cell] : sheets[imported].cells) {
            const auto [row, column] = at;
            if (row >= rows || column >= columns) {
                if (cell.text.empty() && cell.origin == Origin::Text) continue;  // colours only
                add(reference(row, column) + " outside the grid (" + std::to_string(columns) + " columns, " +
                    std::to_string(rows) + " rows), not imported: " + shown(cell.text));
            } else if (const char* what = asText(cell.origin)) {
                add(reference(row, column) + " " + what + shown(cell.text));
            }
        }
    }
    if (report.count > int(report.lines.size()))
        report.lines.push_back("... and " + std::to_string(report.count - int(report.lines.size())) +
                               " more");
    return report;
}

}  // namespace platform::xls
