// The workbook file: what we write, xlrd and our own reader read back; damage is refused.
#include <random>

#include <gtest/gtest.h>

#include "platform/AtomicFile.h"
#include "platform/xls/Workbook.h"
#include "tests/platform/xls/XlrdReader.h"
#include "tests/support/TempSite.h"

namespace {

using platform::xls::Cell;
using platform::xls::Sheet;

constexpr int32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0x0000FF;
constexpr int32_t kSteel = 197 | 206 << 8 | 217 << 16;

// A restart grid of two stations, plus cells that stress the string table.
Sheet sampleSheet() {
    Sheet s;
    s.name = "SheetName";
    for (int row = 0; row < 3; ++row) {
        for (int station = 0; station < 2; ++station) {
            const int c = station * 3;
            s.cells[{row, c}] = {"08:15:0" + std::to_string(row), kWhite, kBlack};
            s.cells[{row, c + 1}] = {row == 1 ? "Fin Redémarrage" : "Début Redémarrage", std::nullopt, kRed};
            s.cells[{row, c + 2}] = {"2026-12-10 08:15:0" + std::to_string(row), kWhite, kBlack};
        }
    }
    s.cells[{4, 0}] = {"", kWhite, kBlack};  // colour only
    s.cells[{5, 1}] = {"a|b %7C \"quoted\" € ✓", kSteel, std::nullopt};
    s.cells[{6, 2}] = {std::string(9000, 'x') + "é", std::nullopt, std::nullopt};  // spans records
    for (int i = 0; i < 1200; ++i)  // enough distinct texts to fill several string records
        s.cells[{10 + i / 20, 3 + i % 20}] = {"texte " + std::to_string(i), std::nullopt, std::nullopt};
    return s;
}

class WorkbookTest : public support::SiteTest {
protected:
    std::filesystem::path file() const { return drive.root() / "Global.xls"; }
};

TEST_F(WorkbookTest, XlrdAndOurReaderReadBackTextsAndColours) {
    const Sheet written = sampleSheet();
    ASSERT_TRUE(platform::xls::writeWorkbook(file(), written).ok());

    Sheet byXlrd;
    std::string error;
    ASSERT_TRUE(gridtest::readWithXlrd(file(), byXlrd, error)) << error;
    EXPECT_EQ(byXlrd.name, "SheetName");
    EXPECT_EQ(byXlrd.cells, written.cells);

    std::vector<Sheet> ours;
    ASSERT_TRUE(platform::xls::readWorkbook(file(), ours).ok());
    ASSERT_EQ(ours.size(), 1u);
    EXPECT_EQ(ours[0].name, "SheetName");
    EXPECT_EQ(ours[0].cells, written.cells);
}

TEST_F(WorkbookTest, AnEmptySheetIsStillAWorkbook) {
    Sheet empty;
    empty.name = "SheetName";
    ASSERT_TRUE(platform::xls::writeWorkbook(file(), empty).ok());
    Sheet byXlrd;
    std::string error;
    ASSERT_TRUE(gridtest::readWithXlrd(file(), byXlrd, error)) << error;
    EXPECT_TRUE(byXlrd.cells.empty());
    std::vector<Sheet> ours;
    ASSERT_TRUE(platform::xls::readWorkbook(file(), ours).ok());
    EXPECT_TRUE(ours.at(0).cells.empty());
}

TEST_F(WorkbookTest, ARefusedExportKeepsTheWorkbookOnDisk) {
    ASSERT_TRUE(platform::xls::writeWorkbook(file(), sampleSheet()).ok());
    struct Case {
        const char* what;
        Sheet sheet;
    };
    Sheet tooManyColours{"SheetName", {}};
    for (int i = 0; i < 57; ++i) tooManyColours.cells[{i, 0}] = {"", std::nullopt, i * 3};
    Sheet badName{"Sheet[1]", {}};
    Sheet outside{"SheetName", {{{0, 256}, Cell{"x", std::nullopt, std::nullopt}}}};
    Sheet longText{"SheetName", {{{0, 0}, Cell{std::string(32768, 'y'), std::nullopt, std::nullopt}}}};
    for (const Case& c : {Case{"colours", tooManyColours}, Case{"name", badName}, Case{"column", outside},
                          Case{"text", longText}}) {
        const platform::xls::Outcome o = platform::xls::writeWorkbook(file(), c.sheet);
        EXPECT_FALSE(o.ok()) << c.what;
        EXPECT_FALSE(o.reason.empty()) << c.what;
    }
    std::vector<Sheet> ours;
    ASSERT_TRUE(platform::xls::readWorkbook(file(), ours).ok());
    EXPECT_EQ(ours.at(0).cells, sampleSheet().cells);
}

TEST_F(WorkbookTest, EveryTruncationIsRefusedWithAReason) {
    std::string bytes;
    Sheet small{"SheetName", {{{0, 0}, Cell{"Début Redémarrage", kWhite, kRed}}}};
    ASSERT_TRUE(platform::xls::encodeWorkbook(small, bytes).ok());
    for (size_t length = 0; length < bytes.size(); ++length) {
        std::vector<Sheet> sheets;
        const auto o = platform::xls::decodeWorkbook(std::string_view(bytes).substr(0, length), sheets);
        ASSERT_FALSE(o.ok()) << "accepted a file cut at " << length;
        ASSERT_FALSE(o.reason.empty());
    }
}

TEST_F(WorkbookTest, DamagedBytesAreRefusedOrReadNeverACrash) {
    std::string good;
    ASSERT_TRUE(platform::xls::encodeWorkbook(sampleSheet(), good).ok());
    std::mt19937 random(20261210);
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = good;
        for (int k = 0; k < 1 + round % 4; ++k) bytes[random() % bytes.size()] = char(random());
        std::vector<Sheet> sheets;
        const auto o = platform::xls::decodeWorkbook(bytes, sheets);
        if (!o.ok()) {
            ++refused;
            EXPECT_FALSE(o.reason.empty());
        }
    }
    EXPECT_GT(refused, 0);
}

// A compound file of `sectors` sectors of 512 bytes whose header declares the allocation table
// and its DIFAT as given; DIFAT sectors point to themselves when `difatLoops`.
std::string compoundFile(uint32_t sectors, uint32_t fatCount, std::vector<uint32_t> slots,
                         uint32_t difatStart, uint32_t difatCount, bool difatLoops = false) {
    std::string f("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    f.resize(0x18, '\0');
    auto put16 = [&](uint32_t v) { f += char(v & 0xFF), f += char(v >> 8 & 0xFF); };
    auto put32 = [&](uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
    put16(0x3E), put16(3), put16(0xFFFE), put16(9), put16(6);
    f.resize(0x2C, '\0');
    put32(fatCount), put32(0), put32(0), put32(4096), put32(0xFFFFFFFE), put32(0), put32(difatStart),
        put32(difatCount);
    slots.resize(109, 0xFFFFFFFF);
    for (uint32_t s : slots) put32(s);
    for (uint32_t s = 0; s < sectors; ++s)
        for (uint32_t i = 0; i < 128; ++i)
            put32(i < 127 ? (s * 127 + i) % sectors : (difatLoops ? s : 0xFFFFFFFE));
    return f;
}

// Named damages, each refused for its own reason.
TEST_F(WorkbookTest, ForeignAndInconsistentFilesAreRefused) {
    std::string good;
    ASSERT_TRUE(platform::xls::encodeWorkbook(sampleSheet(), good).ok());
    auto patched = [&](size_t at, std::string_view with) {
        std::string b = good;
        b.replace(at, with.size(), with);
        return b;
    };
    const size_t fatSector = 512 + 512 * size_t(uint8_t(good[0x4C]) | uint8_t(good[0x4D]) << 8);
    const size_t directory = good.size() - 512;  // the writer puts it last
    struct Case {
        const char* what;
        std::string bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"text file", "Relaytone\r\nDébut Redémarrage\r\n", "too short"},
        {"signature", patched(0, "PK\x03\x04"), "signature"},
        {"sector size", patched(0x1E, std::string("\x0A\x00", 2)), "sector size"},
        {"chain loop", patched(fatSector, std::string("\x00\x00\x00\x00", 4)), "loops"},
        {"stream name", patched(directory + 128, std::string("X\0", 2)), "no Workbook stream"},
        {"not BIFF8", patched(512 + 4, std::string("\x00\x05", 2)), "BIFF8"},
        {"empty", "", "empty file"},
        // A kilobyte whose header declares tables of gigabytes, its DIFAT chain on itself.
        {"allocation table of 4 G sectors", compoundFile(1, 0xFFFFFFFF, {0}, 0, 0xFFFFFFFF, true),
         "allocation table larger than the file"},
        {"DIFAT of 4 G sectors", compoundFile(1, 1, {0}, 0, 0xFFFFFFFF, true), "DIFAT larger than the file"},
        {"DIFAT chain on itself", compoundFile(400, 300, {}, 200, 3, true), "DIFAT chain loops"},
        {"allocation sector twice", compoundFile(8, 2, {5, 5}, 0xFFFFFFFE, 0), "listed twice"},
    };
    for (const Case& c : cases) {
        std::vector<Sheet> sheets;
        const auto o = platform::xls::decodeWorkbook(c.bytes, sheets);
        EXPECT_FALSE(o.ok()) << c.what;
        EXPECT_NE(o.reason.find(c.reason), std::string::npos) << c.what << ": " << o.reason;
    }
}

}  // namespace
