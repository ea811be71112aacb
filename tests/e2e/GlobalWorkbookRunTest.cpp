// The real program keeps its restart rows in Global.xls from one run to the next.
#include <fstream>

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

#include "tests/e2e/support/E2eProgram.h"
#include "tests/platform/xls/OtherSpreadsheets.h"
#include "tests/platform/xls/XlrdReader.h"
#include "tests/support/WindowsFiles.h"

namespace {

constexpr const char* kEnd = "Traitement des données non encore traitées: End";
constexpr int32_t kRed = 255;

class GlobalWorkbookRun : public ::testing::Test {
protected:
    std::filesystem::path workbook() const {
        return site.host("C:\\Vantremo\\Aerolune\\Local\\AL3_Relaytone\\Global.xls");
    }
    std::string importLog() const {
        return support::readWindowsFile(
            site.host("C:\\Vantremo\\Aerolune\\Local\\AL3_Relaytone\\Global_Import.log"));
    }
    std::vector<std::filesystem::path> keptCopies() const {
        std::vector<std::filesystem::path> kept;
        for (const auto& entry : std::filesystem::directory_iterator(workbook().parent_path()))
            if (entry.path().filename().string().rfind("Global_2", 0) == 0) kept.push_back(entry.path());
        return kept;
    }
    // One run from start-up to the task manager's close; the log of that run.
    // The day's log holds the earlier runs too: a run has started up once its own end line came.
    std::string run() {
        e2e::E2eProgram program(site);
        QElapsedTimer waited;
        waited.start();
        while (count(program.log(), kEnd) <= runs_ && program.running() && waited.elapsed() < 20000)
            QThread::msleep(50);
        EXPECT_EQ(count(program.log(), kEnd), runs_ + 1) << program.log();
        EXPECT_EQ(program.terminate(), 0);
        ++runs_;
        return program.log();
    }
    static int count(const std::string& text, const std::string& what) {
        int n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }
    platform::xls::Sheet read() {
        platform::xls::Sheet sheet;
        std::string error;
        EXPECT_TRUE(gridtest::readWithXlrd(workbook(), sheet, error)) << error;
        return sheet;
    }
    static std::string text(const platform::xls::Sheet& s, int row, int column) {
        const auto it = s.cells.find({row, column});
        return it == s.cells.end() ? std::string() : it->second.text;
    }

    e2e::E2eSite site{2};
    int runs_ = 0;
};

TEST_F(GlobalWorkbookRun, EachRunAddsItsTwoRestartRowsAndADamagedFileIsKeptBesideTheNewOne) {
    run();
    platform::xls::Sheet first = read();
    EXPECT_EQ(first.name, "SheetName");
    for (int column : {1, 4}) {  // each station's text column
        EXPECT_EQ(text(first, 0, column), "Fin Redémarrage");
        EXPECT_EQ(text(first, 1, column), "Début Redémarrage");
        EXPECT_EQ(first.cells.at({0, column}).backColour, kRed);
        EXPECT_EQ(text(first, 2, column), "");
    }

    run();
    platform::xls::Sheet second = read();
    EXPECT_EQ(text(second, 2, 1), "Fin Redémarrage");
    EXPECT_EQ(text(second, 3, 4), "Début Redémarrage");
    EXPECT_EQ(text(second, 2, 2), text(first, 0, 2));  // the hidden stamp travels with its row

    std::string bytes = support::readBytes(workbook());
    bytes.resize(bytes.size() - 700);
    std::ofstream(workbook(), std::ios::binary | std::ios::trunc) << bytes;
    const std::string log = run();
    EXPECT_NE(
        log.rfind("Warning: Workbook not imported: C:\\Vantremo\\Aerolune\\Local\\AL3_Relaytone\\Global.xls"),
        std::string::npos);
    platform::xls::Sheet third = read();  // replaced at shut-down by this run's rows alone
    EXPECT_EQ(text(third, 0, 1), "Fin Redémarrage");
    EXPECT_EQ(text(third, 1, 1), "Début Redémarrage");
    EXPECT_EQ(text(third, 2, 1), "");
    std::vector<std::filesystem::path> kept;
    for (const auto& entry : std::filesystem::directory_iterator(workbook().parent_path()))
        if (entry.path().filename().string().rfind("Global_2", 0) == 0) kept.push_back(entry.path());
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_TRUE(support::readBytes(kept[0]) == bytes);
    EXPECT_NE(
        log.find(" |Kept as: C:\\Vantremo\\Aerolune\\Local\\AL3_Relaytone\\" + kept[0].filename().string()),
        std::string::npos);
}

// A crash or a full disk leaves an empty or a cut Global.xls: the first run keeps what it holds
// aside, says why, and its shut-down writes a workbook the second run reads.
struct Damage {
    const char* name;
    bool empty;
};

void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.name; }

class DamagedWorkbookRun : public GlobalWorkbookRun, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedWorkbookRun, IsReplacedAtTheFirstShutDownAndReadByTheNextRun) {
    const Damage damage = GetParam();
    std::string left;
    if (damage.empty) {
        std::filesystem::create_directories(workbook().parent_path());
        std::ofstream(workbook(), std::ios::binary).flush();
    } else {
        run();
        left = support::readBytes(workbook());
        left.resize(left.size() / 3);
        std::ofstream(workbook(), std::ios::binary | std::ios::trunc) << left;
    }
    const std::string log = run();
    const std::string notImported =
        "Warning: Workbook not imported: C:\\Vantremo\\Aerolune\\Local\\AL3_Relaytone\\Global.xls |Reason: ";
    const size_t at = log.rfind(notImported);
    ASSERT_NE(at, std::string::npos) << log;
    const std::string line = log.substr(at, log.find('\n', at) - at);
    const size_t reasonEnd = line.find(" |", notImported.size());
    const std::string reason = line.substr(notImported.size(), reasonEnd - notImported.size());
    EXPECT_FALSE(reason.empty()) << line;
    EXPECT_NE(importLog().find("Global.xls: " + reason), std::string::npos) << importLog();
    if (damage.empty) {
        EXPECT_EQ(reason, "empty file");
        EXPECT_NE(line.find("|Empty file: no copy needed |Sub: Frm_Main:Form_Load"), std::string::npos)
            << line;
        EXPECT_TRUE(keptCopies().empty());
    } else {
        ASSERT_EQ(keptCopies().size(), 1u);
        EXPECT_TRUE(support::readBytes(keptCopies()[0]) == left);
    }
    platform::xls::Sheet replaced = read();
    EXPECT_EQ(text(replaced, 0, 1), "Fin Redémarrage");
    EXPECT_EQ(text(replaced, 1, 1), "Début Redémarrage");
    EXPECT_EQ(text(replaced, 2, 1), "");

    const std::string next = run();
    EXPECT_EQ(count(next, "Workbook not imported"), 1) << "the second run reads what the first wrote";
    platform::xls::Sheet second = read();
    EXPECT_EQ(text(second, 2, 4), "Fin Redémarrage");
    EXPECT_EQ(text(second, 3, 4), "Début Redémarrage");
    EXPECT_EQ(keptCopies().size(), damage.empty ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedWorkbookRun,
                         ::testing::Values(Damage{"ZeroBytes", true}, Damage{"Truncated", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The operator's figures in a workbook LibreOffice Calc wrote outlive the first run's export.
TEST_F(GlobalWorkbookRun, AnotherSpreadsheetsFiguresOutliveTheFirstRun) {
    std::string error;
    ASSERT_TRUE(
        gridtest::writeFiguresWithLibreOffice(workbook(), site.root() / "soffice", "fr_FR.UTF-8", error))
        << error;
    const std::string original = support::readBytes(workbook());
    const std::string log = run();
    EXPECT_NE(
        log.find(
            "Warning: Workbook imported in part: C:\\Vantremo\\Aerolune\\Local\\AL3_Relaytone\\Global.xls |Not held by the grid: 12 (Global_Import.log) |Kept as: C:\\Vantremo\\Aerolune\\Local\\AL3_Relaytone\\Global_2"),
        std::string::npos)
        << log;
    ASSERT_EQ(keptCopies().size(), 1u);
    EXPECT_TRUE(support::readBytes(keptCopies()[0]) == original);
    EXPECT_NE(importLog().find("D1 formula, imported as its result: 6.5"), std::string::npos) << importLog();

    platform::xls::Sheet exported = read();  // the two restart rows above the figures
    const char* first[] = {"marker-text", "4217", "3.25", "6.5", "VRAI", "#DIV/0!"};
    for (int column = 0; column < 6; ++column) EXPECT_EQ(text(exported, 2, column), first[column]) << column;
    EXPECT_EQ(text(exported, 3, 1), "0.1");
    EXPECT_EQ(text(exported, 3, 3), "-123456789");
}

}  // namespace
