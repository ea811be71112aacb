// The real program on a desktop of its own, as an operator meets it: the settings windows opened
// from the keyboard and left alone keep their place run after run, title bar on the screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>

#include "tests/e2e/support/E2eProgram.h"
#include "tests/support/DesktopWindows.h"
#include "tests/support/WindowsFiles.h"

namespace {

using support::DesktopWindows;
using support::waitUntil;

std::string display() { return qEnvironmentVariable("DISPLAY").toStdString(); }

// "FrmSetup_Left=4500" and the like, as numbers.
std::map<std::string, double> storedPlaces(const e2e::E2eSite& site) {
    std::map<std::string, double> places;
    std::istringstream lines(support::readWindowsFile(site.positionsFile()));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t equals = line.find('=');
        if (equals != std::string::npos && line.rfind("FrmSetup", 0) == 0)
            places[line.substr(0, equals)] = std::atof(line.substr(equals + 1).c_str());
    }
    return places;
}

const char* const kStartedLine = "Traitement des données non encore traitées: End";

int occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

bool near(QPoint a, QPoint b) { return std::abs(a.x() - b.x()) <= 1 && std::abs(a.y() - b.y()) <= 1; }

// Left alone until nothing moves any more.
void settle(DesktopWindows& desktop, support::XWindow window) {
    QRect last = desktop.frame(window);
    int still = 0;
    waitUntil([&] {
        const QRect now = desktop.frame(window);
        still = now == last ? still + 1 : 0;
        last = now;
        return still >= 15;
    });
}

TEST(OperatorsDesktop, TheSettingsWindowsLeftAloneStoreTheSameNumbersRunAfterRun) {
    e2e::E2eSite site;
    // The settings window where an operator left it; the devices page never moved (0/0).
    support::writeWindowsFile(site.positionsFile(), "[FrmPos]\nFrmSetup_Left=4500\nFrmSetup_Top=4500\n");
    DesktopWindows desktop(display());
    const QRect area = desktop.workArea();
    std::vector<std::map<std::string, double>> runs;
    for (int run = 1; run <= 3; ++run) {
        SCOPED_TRACE(run);
        e2e::ProgramOptions options;
        options.onDesktop = true;
        options.locale = "fr_FR.UTF-8";
        e2e::E2eProgram program(site, options);
        // This run's start-up done (the day's log holds the runs before it too), then its window.
        ASSERT_TRUE(waitUntil([&] { return occurrences(program.log(), kStartedLine) == run; },
                              std::chrono::seconds(30)))
            << program.log() << program.errorOutput();
        std::optional<support::XWindow> main;
        ASSERT_TRUE(waitUntil([&] { return (main = desktop.named("Aerolune: Relaytone - ")).has_value(); }));
        settle(desktop, *main);

        support::pressKeys(display(), *main, "ctrl+o");
        std::optional<support::XWindow> options_;
        ASSERT_TRUE(waitUntil([&] {
            return (options_ = desktop.named("Options: Aerolune: Relaytone")).has_value();
        })) << program.log().substr(program.log().size() > 3000 ? program.log().size() - 3000 : 0);
        settle(desktop, *options_);
        EXPECT_TRUE(near(desktop.frame(*options_).topLeft(), QPoint(300, 300)))
            << desktop.frame(*options_).x() << "," << desktop.frame(*options_).y();
        EXPECT_EQ(desktop.transientFor(*options_), *main);

        // Its first button, which has the focus: the devices page, at 0/0 on this site.
        support::pressKeys(display(), *options_, "space");
        std::optional<support::XWindow> devices;
        ASSERT_TRUE(
            waitUntil([&] { return (devices = desktop.named("Options: Périphériques")).has_value(); }));
        settle(desktop, *devices);
        const QRect frame = desktop.frame(*devices);
        EXPECT_GE(frame.top(), area.top());  // its title bar within reach
        EXPECT_TRUE(near(frame.topLeft(), QPoint(0, 0))) << frame.x() << "," << frame.y();

        ASSERT_EQ(program.terminate(), 0) << program.log();
        runs.push_back(storedPlaces(site));
    }
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_NEAR(runs[0]["FrmSetup_Left"], 4500, 15);
    EXPECT_NEAR(runs[0]["FrmSetup_Top"], 4500, 15);
    EXPECT_NEAR(runs[0]["FrmSetupPeripherique_Left"], 0, 15);
    EXPECT_NEAR(runs[0]["FrmSetupPeripherique_Top"], 0, 15);
    for (int run = 1; run < 3; ++run)
        for (const auto& [key, value] : runs[0]) {
            SCOPED_TRACE(key);
            EXPECT_NEAR(runs[size_t(run)][key], value, 15) << "run " << run + 1;
        }
}

}  // namespace
