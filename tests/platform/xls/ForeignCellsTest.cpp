// The cells other spreadsheets write (figures, booleans, errors, formulas with their results)
// come into the grid as the texts those spreadsheets show, and go back out into the export.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "platform/WinPath.h"
#include "platform/forms/Spread.h"
#include "platform/xls/Bytes.h"
#include "platform/xls/CellTexts.h"
#include "platform/xls/CompoundFile.h"
#include "platform/xls/ImportReport.h"
#include "platform/xls/Workbook.h"
#include "tests/platform/xls/OtherSpreadsheets.h"
#include "tests/platform/xls/XlrdReader.h"
#include "tests/support/DesktopLocale.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace {

namespace celltexts = platform::xls::celltexts;
using platform::xls::Origin;
using platform::xls::Sheet;
using namespace platform::xls::bytes;

std::string record(uint16_t id, const std::string& body) {
    std::string r;
    put16(r, id);
    put16(r, uint32_t(body.size()));
    return r + body;
}

std::string bof(uint16_t type) {
    std::string b;
    for (uint32_t v : {0x0600u, uint32_t(type), 0x0DBBu, 0x07CCu}) put16(b, v);
    put32(b, 0);
    put32(b, 6);
    return record(0x0809, b);
}

std::string cellHead(uint32_t row, uint32_t column) {
    std::string b;
    put16(b, row);
    put16(b, column);
    put16(b, 15);  // the first cell format
    return b;
}

std::string ieeeBytes(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    std::string b;
    put32(b, uint32_t(bits));
    put32(b, uint32_t(bits >> 32));
    return b;
}

// A workbook stream: the globals (16 plain cell formats, the COUNTRY record when given, one
// sheet entry per offset in `sheetAt`, or one for the first worksheet), then the worksheets.
std::string workbook(const std::vector<std::string>& worksheets, std::optional<uint16_t> country,
                     std::vector<int> sheetAt = {0}) {
    std::string globals = bof(0x0005);
    if (country) {
        std::string b;
        put16(b, *country);
        put16(b, *country);
        globals += record(0x008C, b);
    }
    for (int i = 0; i < 16; ++i) globals += record(0x00E0, std::string(20, '\0'));
    std::vector<size_t> offsetFields;
    for (size_t i = 0; i < sheetAt.size(); ++i) {
        std::string b(4, '\0');
        put16(b, 0);
        const std::string name = "Sheet" + std::to_string(i + 1);
        put8(b, uint32_t(name.size()));
        put8(b, 0);
        offsetFields.push_back(globals.size() + 4);
        globals += record(0x0085, b + name);
    }
    globals += record(0x000A, {});
    std::vector<size_t> starts;
    std::string sheets;
    for (const std::string& cells : worksheets) {
        starts.push_back(globals.size() + sheets.size());
        sheets += bof(0x0010) + cells + record(0x000A, {});
    }
    for (size_t i = 0; i < sheetAt.size(); ++i)
        set32(globals, offsetFields[i], sheetAt[i] < 0 ? 20 : uint32_t(starts.at(size_t(sheetAt[i]))));
    std::string file;
    EXPECT_TRUE(platform::xls::compound::pack("Workbook", globals + sheets, file).ok());
    return file;
}

TEST(ForeignCells, FiguresShowAsTheirShortestTextWhateverTheDesktopLocale) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {4217, "4217"},      {3.25, "3.25"},
        {0.1, "0.1"},        {-123456789, "-123456789"},
        {1e20, "1E+20"},     {1.0 / 3, "0.3333333333333333"},
        {-0.0, "0"},         {1234567.5, "1234567.5"},
        {2.5e-7, "2.5E-07"},
    };
    for (const char* locale : {"fr_FR.UTF-8", "de_DE.UTF-8", "C.UTF-8"}) {
        support::DesktopLocale desktop(locale);
        for (const Case& c : cases)
            EXPECT_EQ(celltexts::number(c.value, celltexts::Language::French), c.text)
                << locale << " " << c.value;
    }
    EXPECT_EQ(celltexts::number(std::numeric_limits<double>::quiet_NaN(), celltexts::Language::English),
              "#NUM!");
    EXPECT_EQ(celltexts::number(std::numeric_limits<double>::infinity(), celltexts::Language::French),
              "#NOMBRE!");

    struct Rk {
        uint32_t rk;
        double value;
    };
    const Rk rks[] = {
        {4217u << 2 | 2, 4217}, {325u << 2 | 3, 3.25},   {uint32_t(-7) << 2 | 2, -7},
        {0x3FE00000u, 0.5},     {0x3FF00000u | 1, 0.01}, {0xC0240000u, -10},
    };
    for (const Rk& r : rks) EXPECT_EQ(celltexts::rkValue(r.rk), r.value) << std::hex << r.rk;
}

TEST(ForeignCells, EveryCellRecordComesInAsTheTextShownInTheWritersLanguage) {
    std::string cells;
    auto rk = [](uint32_t value) {
        std::string b;
        put32(b, value);
        return b;
    };
    cells += record(0x027E, cellHead(0, 0) + rk(4217u << 2 | 2));
    cells += record(0x027E, cellHead(0, 1) + rk(325u << 2 | 3));
    cells += record(0x0203, cellHead(0, 2) + ieeeBytes(1e20));
    {
        std::string b = cellHead(0, 3);  // MULRK over columns 3 to 5
        b.resize(4);
        for (uint32_t v : {2u << 2 | 2, 0x3FE00000u, 1u << 2 | 3}) {
            put16(b, 15);
            put32(b, v);
        }
        put16(b, 5);
        cells += record(0x00BD, b);
    }
    auto boolErr = [&](uint32_t column, uint32_t value, bool isError) {
        std::string b = cellHead(1, column);
        put8(b, value);
        put8(b, isError);
        return record(0x0205, b);
    };
    cells += boolErr(0, 1, false) + boolErr(1, 0, false) + boolErr(2, 0x07, true) + boolErr(3, 0x0F, true);
    auto formula = [&](uint32_t column, const std::string& result) {
        std::string b = cellHead(2, column) + result;
        put16(b, 0);
        put32(b, 0);
        put16(b, 0);  // no tokens: only the cached result matters here
        return record(0x0006, b);
    };
    auto special = [](uint32_t kind, uint32_t value) {
        std::string b;
        put8(b, kind);
        put8(b, 0);
        put8(b, value);
        b.resize(6, '\0');
        put16(b, 0xFFFF);
        return b;
    };
    cells += formula(0, ieeeBytes(8434));
    cells += formula(1, special(1, 1));
    cells += formula(2, special(2, 0x2A));
    cells += formula(3, special(3, 0));
    cells += formula(4, special(0, 0));
    {
        std::string b;  // the text result, its second half in a CONTINUE record in UTF-16
        put16(b, 4);
        put8(b, 0);
        b += "ab";
        std::string more;
        put8(more, 1);
        for (char16_t c : std::u16string(u"cé")) put16(more, c);
        cells += record(0x0207, b) + record(0x003C, more);
    }
    cells += formula(5, special(0, 0));
    cells += record(0x0203, cellHead(3, 0) + ieeeBytes(6));  // no STRING: the text stays empty
    {
        std::string b = cellHead(3, 1);
        put16(b, 5);
        put8(b, 0);
        cells += record(0x00D6, b + "riche" + std::string(4, '\0'));  // RSTRING with its runs
    }

    struct Expected {
        int row, column;
        const char* english;
        const char* french;
        Origin origin;
    };
    const Expected expected[] = {
        {0, 0, "4217", "4217", Origin::Number},
        {0, 1, "3.25", "3.25", Origin::Number},
        {0, 2, "1E+20", "1E+20", Origin::Number},
        {0, 3, "2", "2", Origin::Number},
        {0, 4, "0.5", "0.5", Origin::Number},
        {0, 5, "0.01", "0.01", Origin::Number},
        {1, 0, "TRUE", "VRAI", Origin::Boolean},
        {1, 1, "FALSE", "FAUX", Origin::Boolean},
        {1, 2, "#DIV/0!", "#DIV/0!", Origin::Error},
        {1, 3, "#VALUE!", "#VALEUR!", Origin::Error},
        {2, 0, "8434", "8434", Origin::Formula},
        {2, 1, "TRUE", "VRAI", Origin::Formula},
        {2, 2, "#N/A", "#N/A", Origin::Formula},
        {2, 3, "", "", Origin::Formula},
        {2, 4, "abcé", "abcé", Origin::Formula},
        {2, 5, "", "", Origin::Formula},
        {3, 0, "6", "6", Origin::Number},
        {3, 1, "riche", "riche", Origin::Text},
    };
    struct Writer {
        std::optional<uint16_t> country;
        bool french;
    };
    for (const Writer& w :
         {Writer{std::nullopt, false}, Writer{1, false}, Writer{33, true}, Writer{2, true}}) {
        SCOPED_TRACE(w.country ? int(*w.country) : -1);
        std::vector<Sheet> read;
        const auto o = platform::xls::decodeWorkbook(workbook({cells}, w.country), read);
        ASSERT_TRUE(o.ok()) << o.reason;
        ASSERT_EQ(read.at(0).cells.size(), std::size(expected));
        for (const Expected& e : expected) {
            const auto& cell = read[0].cells.at({e.row, e.column});
            EXPECT_EQ(cell.text, w.french ? e.french : e.english) << e.row << "," << e.column;
            EXPECT_EQ(cell.origin, e.origin) << e.row << "," << e.column;
        }
    }
}

// However many sheet entries point into them, a worksheet's records are read once: entries
// that share or overlap records, or point into the globals, are refused.
TEST(ForeignCells, SheetEntriesThatShareRecordsAreRefusedAndEachSheetIsReadOnce) {
    std::string many;
    for (int i = 0; i < 200; ++i)
        many += record(0x027E, cellHead(uint32_t(i), 0) + std::string("\x0A\0\0\0", 4));
    const std::string one = record(0x0203, cellHead(0, 0) + ieeeBytes(1));
    struct Case {
        const char* what;
        std::vector<int> sheetAt;
        const char* reason;  // nullptr: read
    };
    const Case cases[] = {
        {"two sheets", {0, 1}, nullptr},
        {"listed in another order", {1, 0}, nullptr},
        {"one worksheet twice", {0, 0}, "shares its records"},
        {"one worksheet a hundred times", std::vector<int>(100, 1), "shares its records"},
        {"inside the globals", {-1}, "inside the workbook globals"},
    };
    for (const Case& c : cases) {
        std::vector<Sheet> read;
        const auto o = platform::xls::decodeWorkbook(workbook({many, one}, std::nullopt, c.sheetAt), read);
        if (!c.reason) {
            ASSERT_TRUE(o.ok()) << c.what << ": " << o.reason;
            ASSERT_EQ(read.size(), 2u) << c.what;
            EXPECT_EQ(read[c.sheetAt[0] == 0 ? 0 : 1].cells.size(), 200u) << c.what;
            EXPECT_EQ(read[c.sheetAt[0] == 0 ? 1 : 0].cells.at({0, 0}).text, "1") << c.what;
            continue;
        }
        EXPECT_FALSE(o.ok()) << c.what;
        EXPECT_NE(o.reason.find(c.reason), std::string::npos) << c.what << ": " << o.reason;
    }

    // A text longer than a cell holds would make every later export fail.
    std::string b = cellHead(0, 0);
    put16(b, 32768);
    put8(b, 0);
    std::vector<Sheet> read;
    const auto o =
        platform::xls::decodeWorkbook(workbook({record(0x0204, b + std::string(32768, 'x'))}, 1), read);
    EXPECT_NE(o.reason.find("longer than a cell holds"), std::string::npos) << o.reason;
}

TEST(ForeignCells, TheImportListNamesEachCellOnALineOfItsOwn) {
    using platform::xls::Cell;
    Sheet first{"Relevés", {}};
    first.cells[{0, 0}] = Cell{"held as it came", 0xFF, std::nullopt};
    first.cells[{0, 1}] = Cell{"42", std::nullopt, std::nullopt, Origin::Number};
    first.cells[{49, 5}] = Cell{"", std::nullopt, std::nullopt, Origin::Formula};
    first.cells[{0, 6}] = Cell{"line one\r\nline two\x07", std::nullopt, std::nullopt};
    first.cells[{0, 26}] = Cell{std::string(100, 'y'), std::nullopt, std::nullopt};
    first.cells[{50, 0}] = Cell{"", std::nullopt, 0xFF};  // only a colour: nothing lost
    first.cells[{65535, 255}] = Cell{"FAUX", std::nullopt, std::nullopt, Origin::Boolean};
    const Sheet empty{"Vide", {}};
    const Sheet other{"Notes\nbis", {{{0, 0}, Cell{"note", std::nullopt, std::nullopt}}}};

    const platform::xls::ImportReport report = platform::xls::reportImport({first, empty, other}, 0, 6, 50);
    EXPECT_EQ(report.count, 6);
    const std::vector<std::string> expected = {
        "Sheet 3 \"Notes<LF>bis\" not imported: 1 cells",
        "B1 number, imported as its text: 42",
        "G1 outside the grid (6 columns, 50 rows), not imported: line one<CRLF>line two\\x07",
        "AA1 outside the grid (6 columns, 50 rows), not imported: " + std::string(80, 'y') + "...",
        "F50 formula, imported as its result: ",
        "IV65536 outside the grid (6 columns, 50 rows), not imported: FAUX",
    };
    EXPECT_EQ(report.lines.size(), expected.size());
    for (const std::string& line : expected)
        EXPECT_NE(std::find(report.lines.begin(), report.lines.end(), line), report.lines.end()) << line;

    Sheet crowded{"Sheet1", {}};
    for (int row = 0; row < 1000; ++row)
        crowded.cells[{row, 0}] = Cell{"1", std::nullopt, std::nullopt, Origin::Number};
    const auto many = platform::xls::reportImport({crowded}, 0, 6, 50);
    EXPECT_EQ(many.count, 1000);
    ASSERT_EQ(many.lines.size(), 101u);
    EXPECT_EQ(many.lines.back(), "... and 900 more");
}

class ForeignWorkbooks : public support::SiteTest {
protected:
    std::filesystem::path file(const std::string& name) const { return drive.root() / "xls" / name; }
    std::string windows(const std::filesystem::path& path) const { return platform::winpath::fromHost(path); }
};

// Calc in French and in English and xlwt: the figures reach a grid of six columns as the texts
// shown, Global_Import.log lists what comes in as a text only or not at all, and the export
// writes the texts back.
TEST_F(ForeignWorkbooks, FiguresFormulasAndBooleansReachTheGridAndTheExport) {
    struct Writer {
        const char* name;
        const char* locale;  // nullptr: xlwt
        std::vector<std::string> row1, row2;
        int notHeld;
    };
    const Writer writers[] = {
        {"calc_fr",
         "fr_FR.UTF-8",
         {"marker-text", "4217", "3.25", "6.5", "VRAI", "#DIV/0!"},
         {"abcd", "0.1", "1E+20", "-123456789", "VRAI", "FAUX"},
         1 + 11},
        {"calc_en",
         "C.UTF-8",
         {"marker-text", "4217", "3.25", "6.5", "TRUE", "#DIV/0!"},
         {"abcd", "0.1", "1E+20", "-123456789", "TRUE", "FALSE"},
         1 + 11},
        // xlwt keeps no formula result: the formulas come in empty, and are listed.
        {"xlwt",
         nullptr,
         {"marker-text", "4217", "3.25", "", "", "#DIV/0!"},
         {"", "0.1", "1E+20", "-123456789", "TRUE", "FALSE"},
         1 + 10},
    };
    for (const Writer& w : writers) {
        SCOPED_TRACE(w.name);
        const std::filesystem::path made = file(std::string(w.name) + ".xls");
        std::string error;
        ASSERT_TRUE(w.locale
                        ? gridtest::writeFiguresWithLibreOffice(made, drive.root() / w.name, w.locale, error)
                        : gridtest::writeFiguresWithXlwt(made, error))
            << error;

        platform::forms::Spread grid{nullptr};
        const std::string log = "C:\\xls\\" + std::string(w.name) + "_Import.log";
        std::vector<std::string> names;
        int16_t count = 0, handle = 0;
        int notHeld = -1;
        ASSERT_EQ(grid.IsExcelFile(windows(made), log), 1);
        ASSERT_TRUE(grid.GetExcelSheetList(windows(made), names, count, log, handle, true));
        EXPECT_EQ(names, (std::vector<std::string>{"Relevés", "Notes"}));
        ASSERT_TRUE(grid.ImportExcelSheet(handle, 0, 6, 50, log, notHeld));
        EXPECT_EQ(notHeld, w.notHeld);
        for (int c = 0; c < 6; ++c) {
            EXPECT_EQ(grid.Text(c + 1, 1), w.row1[size_t(c)]) << "row 1 column " << c + 1;
            EXPECT_EQ(grid.Text(c + 1, 2), w.row2[size_t(c)]) << "row 2 column " << c + 1;
        }
        const std::string listed = support::readWindowsFile(drive.host(log));
        for (const std::string& line :
             {"Import " + windows(made) + ": read", std::string("Sheet 2 \"Notes\" not imported: 1 cells"),
              std::string("B1 number, imported as its text: 4217"),
              std::string("E2 ") +
                  (w.locale ? "formula, imported as its result: " : "boolean, imported as its text: ") +
                  w.row2[4]})
            EXPECT_NE(listed.find(line), std::string::npos) << line << "\n" << listed;
        EXPECT_NE(listed.find(std::string("D1 formula, imported as its result: ") + w.row1[3]),
                  std::string::npos)
            << listed;
        EXPECT_EQ(listed.find("A1 "), std::string::npos) << "a text is held as it came\n" << listed;

        const std::filesystem::path exported = file(std::string(w.name) + "_export.xls");
        ASSERT_TRUE(grid.ExportToExcel(windows(exported), "SheetName", "", 0));
        Sheet back;
        ASSERT_TRUE(gridtest::readWithXlrd(exported, back, error)) << error;
        for (int c = 0; c < 6; ++c) {
            const auto at = back.cells.find({0, c});
            EXPECT_EQ(at == back.cells.end() ? "" : at->second.text, w.row1[size_t(c)])
                << "exported column " << c;
        }
    }
}

}  // namespace
