// Writes test workbooks with LibreOffice Calc (headless soffice) and python3-xlwt.
#include "tests/platform/xls/OtherSpreadsheets.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

namespace gridtest {
namespace {

// A profile's first start is slow on a loaded machine.
constexpr int kSofficeTimeoutMs = 240000;
constexpr int kPythonTimeoutMs = 60000;

std::string xmlEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// 0x00BBGGRR as "#rrggbb".
std::string cssColour(int32_t vb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", vb & 0xFF, (vb >> 8) & 0xFF, (vb >> 16) & 0xFF);
    return text;
}

std::string styleName(const platform::xls::Cell& c) {
    return "s" + (c.foreColour ? std::to_string(*c.foreColour) : std::string("a")) + "_" +
           (c.backColour ? std::to_string(*c.backColour) : std::string("a"));
}

std::string flatOds(const platform::xls::Sheet& sheet) {
    std::map<std::string, const platform::xls::Cell*> styles;
    int rows = 0, columns = 0;
    for (const auto& [at, cell] : sheet.cells) {
        styles.emplace(styleName(cell), &cell);
        rows = std::max(rows, at.first + 1);
        columns = std::max(columns, at.second + 1);
    }
    std::string x =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
        " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
        " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
        " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
        " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
        " office:version=\"1.2\" office:mimetype=\"application/vnd.oasis.opendocument.spreadsheet\">\n"
        "<office:automatic-styles>\n";
    for (const auto& [name, cell] : styles) {
        x += "<style:style style:name=\"" + name + "\" style:family=\"table-cell\">";
        if (cell->backColour)
            x +=
                "<style:table-cell-properties fo:background-color=\"" + cssColour(*cell->backColour) + "\"/>";
        if (cell->foreColour)
            x += "<style:text-properties fo:color=\"" + cssColour(*cell->foreColour) + "\"/>";
        x += "</style:style>\n";
    }
    x += "</office:automatic-styles>\n<office:body><office:spreadsheet>\n<table:table table:name=\"" +
         xmlEscaped(sheet.name) + "\">\n";
    for (int r = 0; r < rows; ++r) {
        x += "<table:table-row>";
        for (int c = 0; c < columns; ++c) {
            const auto it = sheet.cells.find({r, c});
            if (it == sheet.cells.end()) {
                x += "<table:table-cell/>";
                continue;
            }
            x += "<table:table-cell table:style-name=\"" + styleName(it->second) + "\"";
            if (it->second.text.empty())
                x += "/>";
            else
                x += " office:value-type=\"string\"><text:p>" + xmlEscaped(it->second.text) +
                     "</text:p></table:table-cell>";
        }
        x += "</table:table-row>\n";
    }
    x += "</table:table>\n</office:spreadsheet></office:body></office:document>\n";
    return x;
}

bool runPython(const QString& script, const QStringList& arguments, QByteArray& output, std::string& error) {
    QProcess python;
    python.start("/usr/bin/python3", QStringList{"-c", script} + arguments);
    if (!python.waitForFinished(kPythonTimeoutMs) || python.exitStatus() != QProcess::NormalExit ||
        python.exitCode() != 0) {
        error = "python3: " + python.errorString().toStdString() + " " +
                python.readAllStandardError().toStdString();
        return false;
    }
    output = python.readAllStandardOutput();
    return true;
}

constexpr const char* kXlwtScript = R"(
import json, sys, xlwt
spec = json.loads(sys.argv[2])
book = xlwt.Workbook(encoding='utf-8')
sheet = book.add_sheet(spec['name'])
named = {0x000000: 'black', 0xFFFFFF: 'white', 0x0000FF: 'red'}
indexes, free = {}, [0x3F]
def index(vb):
    if vb in named:
        return xlwt.Style.colour_map[named[vb]]
    if vb not in indexes:
        indexes[vb] = free[0]
        book.set_colour_RGB(free[0], vb & 0xFF, (vb >> 8) & 0xFF, (vb >> 16) & 0xFF)
        free[0] -= 1
    return indexes[vb]
styles = {}
for cell in spec['cells']:
    key = (cell['f'], cell['b'])
    if key not in styles:
        style = xlwt.XFStyle()
        if cell['f'] is not None:
            style.font = xlwt.Font()
            style.font.colour_index = index(cell['f'])
        if cell['b'] is not None:
            style.pattern = xlwt.Pattern()
            style.pattern.pattern = xlwt.Pattern.SOLID_PATTERN
            style.pattern.pattern_fore_colour = index(cell['b'])
        styles[key] = style
    sheet.write(cell['r'], cell['c'], cell['t'], styles[key])
book.save(sys.argv[1])
)";

constexpr const char* kStreamSizeScript = R"(
import sys, xlrd.compdoc
doc = xlrd.compdoc.CompDoc(open(sys.argv[1], 'rb').read(), logfile=sys.stderr)
print([d.tot_size for d in doc.dirlist if d.name.lower() == 'workbook'][0])
)";

QJsonValue colour(const std::optional<int32_t>& c) { return c ? QJsonValue(*c) : QJsonValue(); }

// Flat OpenDocument texts converted to .xls by one headless soffice run under the locale.
struct FlatDocument {
    std::filesystem::path file;  // the .xls to write
    std::string fods;
};

bool convertWithLibreOffice(const std::vector<FlatDocument>& documents, const std::filesystem::path& work,
                            const std::string& locale, std::string& error) {
    const std::filesystem::path sources = work / "fods", converted = work / "xls";
    std::filesystem::create_directories(sources);
    std::filesystem::create_directories(converted);
    QStringList arguments{
        "--headless",
        "--norestore",
        QString::fromStdString("-env:UserInstallation=file://" + (work / "profile").string()),
        "--convert-to",
        "xls",
        "--outdir",
        QString::fromStdString(converted.string())};
    for (const FlatDocument& d : documents) {
        const std::filesystem::path source = sources / d.file.stem().concat(".fods");
        std::ofstream(source, std::ios::binary | std::ios::trunc) << d.fods;
        arguments << QString::fromStdString(source.string());
    }
    QProcess soffice;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", QString::fromStdString(work.string()));
    if (!locale.empty()) {
        for (const QString& name : environment.keys())
            if (name.startsWith("LC_") || name == "LANGUAGE") environment.remove(name);
        environment.insert("LANG", QString::fromStdString(locale));
    }
    soffice.setProcessEnvironment(environment);
    soffice.setProcessChannelMode(QProcess::MergedChannels);
    soffice.start("soffice", arguments);
    if (!soffice.waitForFinished(kSofficeTimeoutMs) || soffice.exitCode() != 0) {
        error = "soffice: " + soffice.errorString().toStdString() + " " + soffice.readAll().toStdString();
        soffice.kill();
        soffice.waitForFinished();
        return false;
    }
    const std::string said = soffice.readAll().toStdString();
    for (const FlatDocument& d : documents) {
        const std::filesystem::path made = converted / d.file.stem().concat(".xls");
        if (!std::filesystem::exists(made)) {
            error = "soffice wrote no " + made.string() + ": " + said;
            return false;
        }
        std::filesystem::create_directories(d.file.parent_path());
        std::filesystem::rename(made, d.file);
    }
    return true;
}

constexpr const char* kFiguresFods = R"FODS(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:body><office:spreadsheet>
<table:table table:name="Relevés">
<table:table-row>
<table:table-cell office:value-type="string"><text:p>marker-text</text:p></table:table-cell>
<table:table-cell office:value-type="float" office:value="4217"/>
<table:table-cell office:value-type="float" office:value="3.25"/>
<table:table-cell table:formula="of:=[.C1]*2"/>
<table:table-cell table:formula="of:=[.B1]&gt;1"/>
<table:table-cell table:formula="of:=1/0"/>
</table:table-row>
<table:table-row>
<table:table-cell table:formula="of:=&quot;ab&quot;&amp;&quot;cd&quot;"/>
<table:table-cell office:value-type="float" office:value="0.1"/>
<table:table-cell office:value-type="float" office:value="1E+20"/>
<table:table-cell office:value-type="float" office:value="-123456789"/>
<table:table-cell table:formula="of:=TRUE()"/>
<table:table-cell table:formula="of:=1=2"/>
</table:table-row>
</table:table>
<table:table table:name="Notes">
<table:table-row><table:table-cell office:value-type="string"><text:p>note</text:p></table:table-cell></table:table-row>
</table:table>
</office:spreadsheet></office:body></office:document>
)FODS";

constexpr const char* kFiguresXlwtScript = R"PY(
import sys, xlwt
book = xlwt.Workbook(encoding='utf-8')
sheet = book.add_sheet('Relevés')
for column, value in enumerate(['marker-text', 4217, 3.25, xlwt.Formula('C1*2'), xlwt.Formula('B1>1'), '#DIV/0!']):
    sheet.write(0, column, value)
for column, value in enumerate([xlwt.Formula('"ab"&"cd"'), 0.1, 1e20, -123456789, True, False]):
    sheet.write(1, column, value)
book.add_sheet('Notes').write(0, 0, 'note')
book.save(sys.argv[1])
)PY";

}  // namespace

bool writeWithLibreOffice(const std::vector<Wanted>& workbooks, const std::filesystem::path& work,
                          std::string& error) {
    std::vector<FlatDocument> documents;
    for (const Wanted& w : workbooks) documents.push_back({w.file, flatOds(w.sheet)});
    return convertWithLibreOffice(documents, work, {}, error);
}

bool writeFiguresWithLibreOffice(const std::filesystem::path& file, const std::filesystem::path& work,
                                 const std::string& locale, std::string& error) {
    return convertWithLibreOffice({{file, kFiguresFods}}, work, locale, error);
}

bool writeFiguresWithXlwt(const std::filesystem::path& file, std::string& error) {
    std::filesystem::create_directories(file.parent_path());
    QByteArray output;
    return runPython(kFiguresXlwtScript, {QString::fromStdString(file.string())}, output, error);
}

bool writeWithXlwt(const Wanted& workbook, std::string& error) {
    std::filesystem::create_directories(workbook.file.parent_path());
    QJsonArray cells;
    for (const auto& [at, cell] : workbook.sheet.cells)
        cells.append(QJsonObject{{"r", at.first},
                                 {"c", at.second},
                                 {"t", QString::fromStdString(cell.text)},
                                 {"f", colour(cell.foreColour)},
                                 {"b", colour(cell.backColour)}});
    const QJsonObject spec{{"name", QString::fromStdString(workbook.sheet.name)}, {"cells", cells}};
    QByteArray output;
    return runPython(kXlwtScript,
                     {QString::fromStdString(workbook.file.string()),
                      QString::fromUtf8(QJsonDocument(spec).toJson(QJsonDocument::Compact))},
                     output, error);
}

bool workbookStreamSize(const std::filesystem::path& file, uint64_t& size, std::string& error) {
    QByteArray output;
    if (!runPython(kStreamSizeScript, {QString::fromStdString(file.string())}, output, error)) return false;
    bool ok = false;
    size = output.trimmed().toULongLong(&ok);
    if (!ok) error = "no size in " + output.toStdString();
    return ok;
}

}  // namespace gridtest
