// The real program keeps its restart rows in Global.xls from one run to the next.
#include <fstream>

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

#include "tests/e2e/support/E2eProgram.h"
#include "tests/grid/XlrdReader.h"
#include "tests/support/WindowsFiles.h"

namespace {

constexpr const char* kFin = "Traitement des données non encore traitées: End";
constexpr int32_t kRouge = 255;

class GlobalWorkbookRun : public ::testing::Test {
protected:
    std::filesystem::path workbook() const {
        return site.host("C:\\Vantremo\\Aerolune\\Local\\AL3_Relaytone\\Global.xls");
    }
    // One run from start-up to the task manager's close; the log of that run.
    // The day's log holds the earlier runs too: a run has started up once its own end line came.
    std::string run() {
        e2e::E2eProgram program(site);
        QElapsedTimer waited;
        waited.start();
        while (count(program.log(), kFin) <= runs_ && program.running() && waited.elapsed() < 20000)
            QThread::msleep(50);
        EXPECT_EQ(count(program.log(), kFin), runs_ + 1) << program.log();
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
        EXPECT_EQ(first.cells.at({0, column}).backColour, kRouge);
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
    EXPECT_NE(log.rfind("Warning: Workbook not imported: C:\\Vantremo\\Aerolune\\Local\\AL3_Relaytone\\Global.xls"),
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
    EXPECT_NE(log.find(" |Kept as: C:\\Vantremo\\Aerolune\\Local\\AL3_Relaytone\\" + kept[0].filename().string()),
              std::string::npos);
}

}  // namespace
