// Runs /usr/bin/python3 with xlrd over a workbook and parses the cells it prints as JSON.
#include "tests/platform/xls/XlrdReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace gridtest {
namespace {

constexpr const char* kScript = R"(
import json, sys, xlrd
book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
sheet = book.sheet_by_index(0)
def colour(index):
    rgb = book.colour_map.get(index)
    return None if rgb is None else rgb[0] | rgb[1] << 8 | rgb[2] << 16
cells = []
for r in range(sheet.nrows):
    for c in range(sheet.ncols):
        xf = book.xf_list[sheet.cell_xf_index(r, c)]
        back = colour(xf.background.pattern_colour_index) if xf.background.fill_pattern else None
        fore = colour(book.font_list[xf.font_index].colour_index)
        text = sheet.cell_value(r, c)
        if text != '' or fore is not None or back is not None:
            cells.append({'r': r, 'c': c, 't': text, 'f': fore, 'b': back})
print(json.dumps({'name': book.sheet_names()[0], 'cells': cells}))
)";

std::optional<int32_t> colourOf(const QJsonValue& v) {
    if (v.isNull()) return std::nullopt;
    return int32_t(v.toInt());
}

}  // namespace

bool readWithXlrd(const std::filesystem::path& file, platform::xls::Sheet& sheet, std::string& error) {
    QProcess python;
    python.start("/usr/bin/python3", {"-c", kScript, QString::fromStdString(file.string())});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        error = python.readAllStandardError().toStdString();
        return false;
    }
    const QJsonObject root = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    sheet.name = root["name"].toString().toStdString();
    for (const QJsonValue& v : root["cells"].toArray()) {
        const QJsonObject o = v.toObject();
        sheet.cells[{o["r"].toInt(), o["c"].toInt()}] =
            platform::xls::Cell{o["t"].toString().toStdString(), colourOf(o["f"]), colourOf(o["b"])};
    }
    return true;
}

}  // namespace gridtest
