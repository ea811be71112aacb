// Workbooks that LibreOffice Calc and xlwt write, small ones in the mini stream included, read
// and imported with their texts and colours, as our own are.
#include <random>

#include <gtest/gtest.h>

#include "platform/WinPath.h"
#include "platform/forms/Spread.h"
#include "platform/xls/Workbook.h"
#include "tests/platform/xls/OtherSpreadsheets.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace {

using platform::xls::Cell;
using platform::xls::Sheet;

constexpr int32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0x0000FF;
constexpr int32_t kSteel = 197 | 206 << 8 | 217 << 16;
constexpr uint64_t kMiniStreamCutoff = 4096;

// Restart rows as the grid writes them, for two stations.
void restartRow(Sheet& s, int row, const std::string& text) {
    for (int c : {0, 3}) {
        s.cells[{row, c}] = {"04:08:1" + std::to_string(row), kWhite, kBlack};
        s.cells[{row, c + 1}] = {text, std::nullopt, kRed};
        s.cells[{row, c + 2}] = {"2026-12-10 04:08:1" + std::to_string(row), kWhite, kBlack};
    }
}

Sheet oneRow() {
    Sheet s{"SheetName", {}};
    restartRow(s, 0, "Début Redémarrage");
    return s;
}

Sheet twoRows() {
    Sheet s = oneRow();
    restartRow(s, 1, "Fin Redémarrage");
    s.cells[{1, 1}] = {"« Œuvre » 5 € ✓ <b>&amp;", kSteel, std::nullopt};
    return s;
}

// Fifty rows of an operator's notes: large enough to leave the mini stream.
Sheet fullGrid() {
    Sheet s{"SheetName", {}};
    for (int row = 0; row < 50; ++row) restartRow(s, row, "Note " + std::to_string(row) + " de la régie");
    return s;
}

class OtherSpreadsheets : public support::SiteTest {
protected:
    std::filesystem::path file(const std::string& name) const { return drive.root() / "xls" / name; }
};

TEST_F(OtherSpreadsheets, WorkbooksFromLibreOfficeXlwtAndOursReadAndImportWithTextsAndColours) {
    struct Case {
        std::string name;
        Sheet sheet;
    };
    const Case sheets[] = {{"one_row", oneRow()}, {"two_rows", twoRows()}, {"full_grid", fullGrid()}};

    std::vector<gridtest::Wanted> byLibreOffice;
    std::string error;
    for (const Case& c : sheets) {
        byLibreOffice.push_back({file("libreoffice_" + c.name + ".xls"), c.sheet});
        ASSERT_TRUE(gridtest::writeWithXlwt({file("xlwt_" + c.name + ".xls"), c.sheet}, error)) << error;
        ASSERT_TRUE(platform::xls::writeWorkbook(file("ours_" + c.name + ".xls"), c.sheet).ok());
    }
    ASSERT_TRUE(gridtest::writeWithLibreOffice(byLibreOffice, drive.root() / "soffice", error)) << error;

    // Both roads of the compound file are taken: the small stream and the full one.
    uint64_t small = 0, large = 0;
    ASSERT_TRUE(gridtest::workbookStreamSize(file("libreoffice_one_row.xls"), small, error)) << error;
    ASSERT_TRUE(gridtest::workbookStreamSize(file("libreoffice_full_grid.xls"), large, error)) << error;
    EXPECT_LT(small, kMiniStreamCutoff);
    EXPECT_GE(large, kMiniStreamCutoff);

    for (const char* writer : {"libreoffice_", "xlwt_", "ours_"}) {
        for (const Case& c : sheets) {
            const std::filesystem::path path = file(writer + c.name + ".xls");
            SCOPED_TRACE(path.filename().string());
            std::vector<Sheet> read;
            const platform::xls::Outcome o = platform::xls::readWorkbook(path, read);
            ASSERT_TRUE(o.ok()) << o.reason;
            ASSERT_EQ(read.size(), 1u);
            EXPECT_EQ(read[0].name, "SheetName");
            EXPECT_EQ(read[0].cells, c.sheet.cells);

            platform::forms::Spread grid{nullptr};
            const std::string windowsPath = platform::winpath::fromHost(path);
            std::vector<std::string> names;
            int16_t count = 0, handle = 0;
            ASSERT_EQ(grid.IsExcelFile(windowsPath), 1);
            ASSERT_TRUE(grid.GetExcelSheetList(windowsPath, names, count, "", handle, true));
            ASSERT_TRUE(grid.ImportExcelSheet(handle, 0));
            EXPECT_EQ(grid.Text(2, 1), c.sheet.cells.at({0, 1}).text);
            EXPECT_EQ(grid.BackColor(2, 1), kRed);
            EXPECT_EQ(grid.Text(1, 1), "04:08:10");
            EXPECT_EQ(grid.ForeColor(1, 1), kWhite);
            EXPECT_EQ(grid.BackColor(1, 1), kBlack);
        }
    }

    // The mini stream's chains are checked like the others: a cut or damaged file is refused
    // with a reason, never read past its end.
    const std::string bytes = support::readBytes(file("libreoffice_one_row.xls"));
    for (size_t length = 0; length < bytes.size(); length += 7) {
        std::vector<Sheet> read;
        const auto o = platform::xls::decodeWorkbook(std::string_view(bytes).substr(0, length), read);
        ASSERT_FALSE(o.ok()) << "accepted a file cut at " << length;
    }
    std::mt19937 random(20261210);
    for (int round = 0; round < 2000; ++round) {
        std::string damaged = bytes;
        for (int k = 0; k < 1 + round % 4; ++k) damaged[random() % damaged.size()] = char(random());
        std::vector<Sheet> read;
        const auto o = platform::xls::decodeWorkbook(damaged, read);
        if (!o.ok()) {
            EXPECT_FALSE(o.reason.empty());
        }
    }
}

}  // namespace
