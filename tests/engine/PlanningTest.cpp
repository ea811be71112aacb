// The engine window's weekly planning: which player file is read, the three sheets' labels and
// sizes, and the cells rebuilt from the [Planning] slices.
#include <gtest/gtest.h>

#include "engine/Frm_MainBis.h"
#include "engine/Planning.h"
#include "foundation/RunState.h"
#include "platform/forms/Spread.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace {

using platform::forms::Spread;

class Planning : public support::SiteTest {
protected:
    Planning() {
        PbSDossierApplication = "C:\\Prog\\";
        // No trailing backslash: the program adds it.
        support::writeWindowsFile(drive.host("C:\\Prog\\Settings\\AL3_Config.ini"),
                                  "[Site]\nDossier_Config_Global=C:\\Config\n");
        std::filesystem::create_directories(drive.host("C:\\Config"));
    }
    ~Planning() override {
        if (Frm_MainBis::exists()) Frm_MainBis::get().Unload();
    }
    void player(const std::string& name, const std::string& body) {
        support::writeWindowsFile(drive.host("C:\\Config\\" + name), body);
    }
    // The [Planning] section of one sheet: its cells joined by "|", cut into 200-character keys.
    static std::string keys(const std::string& prefix, const std::vector<std::string>& cells) {
        std::string text;
        for (size_t i = 0; i < cells.size(); ++i) text += (i ? "|" : "") + cells[i];
        std::string body;
        for (size_t at = 0, n = 0; at < text.size(); at += 200, ++n) {
            char number[8];
            std::snprintf(number, sizeof number, "%02zu", n);
            body += prefix + number + "=" + text.substr(at, 200) + "\n";
        }
        return body;
    }
    Spread& grid() {
        Frm_MainBis& engine = Frm_MainBis::get();  // its load fills the planning
        EXPECT_NE(engine.fpSpreadPlanning, nullptr);
        return *engine.fpSpreadPlanning;
    }
};

TEST_F(Planning, DayNames) {
    const struct {
        int16_t day, length;
        const char* name;
    } cases[] = {{1, 0, "Lundi"}, {3, 9, "Mercredi"}, {7, 0, "Dimanche"}, {1, 3, "Lun"},
                 {5, 3, "Ven"},   {7, 3, "Dim"},      {0, 0, ""},         {8, 3, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(engine::LibJour(c.day, c.length), c.name) << c.day << "/" << c.length;
}

TEST_F(Planning, TheFirstPlayerFileThatHoldsSomethingIsRead) {
    const struct {
        std::vector<std::pair<std::string, std::string>> files;  // name, content
        const char* chosen;
    } cases[] = {
        {{{"AL3_Player_C.ini", "[Planning]\n"}}, "AL3_Player_C.ini"},
        {{{"AL3_Player.ini", ""}, {"AL3_Player_A.ini", "[Planning]\n"}}, "AL3_Player_A.ini"},
        {{{"AL3_Player.ini", "[Planning]\n"}, {"AL3_Player_A.ini", "[Planning]\n"}}, "AL3_Player.ini"},
        {{}, "AL3_Player_H.ini"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(drive.host("C:\\Config"));
        std::filesystem::create_directories(drive.host("C:\\Config"));
        for (const auto& [name, content] : c.files) player(name, content);
        EXPECT_EQ(engine::playerFile("C:\\Config\\"), std::string("C:\\Config\\") + c.chosen);
    }
}

TEST_F(Planning, ThreeSheetsOfSevenDaysWithTheirLabelsAndSizes) {
    Spread& g = grid();
    ASSERT_EQ(g.SheetCount(), 3);
    const struct {
        const char* name;
        int rows;
        const char* first;
        const char* last;
        double header, width, height;
    } sheets[] = {
        {"Programme", 24, "H00", "H23", 4, (15360 - 420 - 480) / 7.0 / 120, (11520 - 960 - 240) / 24.0 / 22},
        {"Emission", 96, "H00 00", "H23 45", 6, (15360 - 420 - 720) / 7.0 / 120,
         (11520 - 960 - 240) / 96.0 / 22 * 3},
        {"URL Emission", 96, "H00 00", "H23 45", 6, (15360 - 420 - 720) / 7.0 / 120,
         (11520 - 960 - 240) / 96.0 / 22 * 3},
    };
    for (int s = 1; s <= 3; ++s) {
        SCOPED_TRACE(s);
        const auto& want = sheets[s - 1];
        g.SetSheet(s);
        EXPECT_EQ(g.SheetName(), want.name);
        EXPECT_EQ(g.FontName(), "Arial");
        EXPECT_EQ(g.MaxCols(), 7);
        EXPECT_EQ(g.MaxRows(), want.rows);
        EXPECT_EQ(g.Text(1, 0), "Lundi");
        EXPECT_EQ(g.Text(7, 0), "Dimanche");
        EXPECT_EQ(g.Text(0, 1), want.first);
        EXPECT_EQ(g.Text(0, want.rows), want.last);
        EXPECT_DOUBLE_EQ(g.ColWidth(0), want.header);
        EXPECT_DOUBLE_EQ(g.ColWidth(4), want.width);
        EXPECT_DOUBLE_EQ(g.RowHeight(want.rows), want.height);
    }
    g.SetSheet(2);
    EXPECT_EQ(g.Text(0, 6), "H01 15");
}

TEST_F(Planning, CellsComeBackFromTheSlicesInColumnOrder) {
    std::vector<std::string> emission(97);
    emission[0] = "a%7Cb%20c";            // an escaped "|" and blank
    emission[1] = std::string(300, 'x');  // runs over two keys
    emission[95] = "Nuit";
    emission[96] = "Matin";                   // Tuesday's first quarter, in the last, shorter slice
    std::vector<std::string> urls(700, "v");  // more cells than the sheet has
    player("AL3_Player.ini", "[Planning]\n" + keys("Emission_", emission) + "Emission_04=ignored\n" +
                                 keys("URLEmission_", urls));
    Spread& g = grid();
    g.SetSheet(2);
    EXPECT_EQ(g.Text(1, 1), "a|b c");
    EXPECT_EQ(g.Text(1, 2), std::string(300, 'x'));
    EXPECT_EQ(g.Text(1, 96), "Nuit");
    const std::string last = g.Text(2, 1);  // filled up to its slice's 200 characters
    EXPECT_EQ(last.substr(0, 5), "Matin");
    EXPECT_EQ(last.find_first_not_of(' ', 5), std::string::npos);
    EXPECT_GT(last.size(), 5u);
    EXPECT_EQ(g.Text(2, 2), "");  // beyond the text: untouched
    EXPECT_EQ(g.Text(7, 96), "");

    g.SetSheet(3);
    EXPECT_EQ(g.Text(1, 1), "v");
    EXPECT_EQ(g.Text(7, 96), "v");
    g.SetSheet(1);
    EXPECT_EQ(g.Text(1, 1), "");  // the hourly sheet takes no data
}

TEST_F(Planning, AWeekOfAddressesRunsPastKeyNinetyNineOnThreeDigits) {
    std::vector<std::string> urls;
    for (int i = 0; i < 672; ++i) urls.push_back("http://radio.example/emission/" + std::to_string(i));
    const std::string section = keys("URLEmission_", urls);
    ASSERT_NE(section.find("URLEmission_100="), std::string::npos);
    player("AL3_Player.ini", "[Planning]\n" + section);
    Spread& g = grid();
    g.SetSheet(3);
    EXPECT_EQ(g.Text(1, 1), "http://radio.example/emission/0");
    EXPECT_EQ(g.Text(4, 50), "http://radio.example/emission/" + std::to_string(3 * 96 + 49));
    const std::string last = g.Text(7, 96);  // in the last, shorter slice
    EXPECT_EQ(last.substr(0, last.find(' ')), "http://radio.example/emission/671");
}

TEST_F(Planning, WithoutAPlayerFileTheSheetsAreEmptyButLabelled) {
    Spread& g = grid();
    for (int s = 2; s <= 3; ++s) {
        g.SetSheet(s);
        EXPECT_EQ(g.Text(0, 96), "H23 45");
        for (int c = 1; c <= 7; ++c)
            for (int r = 1; r <= 96; ++r) ASSERT_EQ(g.Text(c, r), "") << s << " " << c << " " << r;
    }
}

}  // namespace
