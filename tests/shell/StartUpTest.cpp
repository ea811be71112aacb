// The whole start-up in this process, on a fixture site: what only the window itself can show.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QGuiApplication>
#include <QProcess>
#include <QResizeEvent>
#include <QScreen>
#include <QTabWidget>

#include "foundation/DailyLog.h"
#include "foundation/FileVersions.h"
#include "foundation/RunState.h"
#include "shell/Frm_Main.h"
#include "tests/e2e/support/E2eSite.h"
#include "tests/support/WindowsFiles.h"

namespace {

TEST(StartUpInProcess, AnIncidentBeforeTheShowRaisesTheAlertRightAfterIt) {
    e2e::E2eSite site;
    Frm_Main win;
    Lib_Public::TraceLog(-1, -1, -1, "Err: before the window shows", true);
    EXPECT_EQ(win.CheckIncidentsFeuilleNonChargee->Value(), 1);

    // The program folder is the site's, not this test's.
    PbSDossierApplication = "C:\\Vantremo\\Aerolune\\";
    win.Load();
    ASSERT_TRUE(PbBDemarrageTermine);
    ASSERT_TRUE(PbBFeuilleChargee);
    EXPECT_EQ(win.CheckIncidentsFeuilleNonChargee->Value(), 0);
    EXPECT_EQ(win.Caption().rfind("Err: Aerolune: Relaytone - ", 0), 0u) << win.Caption();
    EXPECT_TRUE(win.SftTabsMain->isTabVisible(1));
    EXPECT_EQ(win.SftTabsMain->currentIndex(), 0);
    EXPECT_TRUE(win.TimerFlash.Enabled());
}

}  // namespace

namespace {

class Placement : public ::testing::Test {
protected:
    void startUp() {
        PbSDossierApplication = "C:\\Vantremo\\Aerolune\\";
        win.Load();
        ASSERT_TRUE(PbBFeuilleChargee);
    }
    std::filesystem::path positions() const { return site.positionsFile(); }

    e2e::E2eSite site;
    Frm_Main win;
};

TEST_F(Placement, WithoutStoredPositionsTheWindowOpensMaximised) {
    startUp();
    EXPECT_TRUE(win.isMaximized());
}

// Sizes are read as VB reads them (an exponent included) and held to the screen, so that what the
// shut-down saves opens the same window at the next start. 0 stands for the screen's size.
struct StoredSize {
    const char* name;
    const char* width;
    const char* height;
    int expectedWidth, expectedHeight;  // twips
};

void PrintTo(const StoredSize& size, std::ostream* out) { *out << size.width << " x " << size.height; }

class HeldSize : public Placement, public ::testing::WithParamInterface<StoredSize> {};

// The largest size the window ever took: one sized from the stored figures before they were held
// would ask for a backing store of gigabytes, even if it were cut down right after.
class LargestSize : public QObject {
public:
    explicit LargestSize(QWidget& window) { window.installEventFilter(this); }
    QSize largest;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize)
            largest = largest.expandedTo(static_cast<QResizeEvent*>(event)->size());
        return false;
    }
};

TEST_P(HeldSize, IsHeldToTheScreenAndSavedSo) {
    const StoredSize& c = GetParam();
    const QRect zone = QGuiApplication::primaryScreen()->availableGeometry();
    const int widthValue = c.expectedWidth ? c.expectedWidth : zone.width() * platform::forms::kTwipsPerPixel;
    const int heightValue =
        c.expectedHeight ? c.expectedHeight : zone.height() * platform::forms::kTwipsPerPixel;
    support::writeWindowsFile(positions(), std::string("[FrmPos]\nFrm_Main_Width=") + c.width +
                                               "\nFrm_Main_Height=" + c.height +
                                               "\nFrm_Main_WindowState=0\n");
    const LargestSize sizeValue(win);
    startUp();
    EXPECT_FALSE(win.isMaximized());
    EXPECT_LE(sizeValue.largest.width(), zone.width());
    EXPECT_LE(sizeValue.largest.height(), zone.height());
    EXPECT_EQ(win.Width(), widthValue);
    EXPECT_EQ(win.Height(), heightValue);
    EXPECT_LE(win.width(), zone.width());
    win.Unload(platform::forms::vbAppTaskManager);
    const std::string textValue = support::readWindowsFile(positions());
    EXPECT_NE(textValue.find("Frm_Main_Width=" + std::to_string(widthValue) + "\n"), std::string::npos)
        << textValue;
    EXPECT_NE(textValue.find("Frm_Main_Height=" + std::to_string(heightValue) + "\n"), std::string::npos)
        << textValue;
}

INSTANTIATE_TEST_SUITE_P(Placement, HeldSize,
                         ::testing::Values(StoredSize{"WithinTheScreen", "9000", "6E3", 9000, 6000},
                                           StoredSize{"BeyondTheScreen", "99000", "99000", 0, 0},
                                           StoredSize{"BeyondAnyScreen", "1e30", "1E400", 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// The memory figure shows only while the memory is measured: from the first start on, a site
// that does not measure it shows no "0000".
class MemoryFigure : public Placement, public ::testing::WithParamInterface<bool> {};

TEST_P(MemoryFigure, ShowsOnlyWhileTheMemoryIsMeasured) {
    const bool measured = GetParam();
    support::writeWindowsFile(
        site.programFolder() / "Settings" / "AL3_Relaytone" / "AL3_Relaytone.Ini",
        std::string("[SoundCard]\nActive=0\n[Windows]\nLaunch=0\nMemory=") + (measured ? "1" : "0") + "\n");
    startUp();
    EXPECT_EQ(win.LabelAffichageMemory->isHidden(), !measured);
}

INSTANTIATE_TEST_SUITE_P(Placement, MemoryFigure, ::testing::Bool());

TEST_F(Placement, ShuttingDownMaximisedSavesTheStateAndKeepsTheStoredSize) {
    support::writeWindowsFile(positions(),
                              "[FrmPos]\nFrm_Main_Width=9000\nFrm_Main_Height=6000\n"
                              "Frm_Main_WindowState=2\n");
    startUp();
    win.Unload(platform::forms::vbAppTaskManager);
    const std::string textValue = support::readWindowsFile(positions());
    EXPECT_NE(textValue.find("Frm_Main_WindowState=2"), std::string::npos) << textValue;
    EXPECT_NE(textValue.find("Frm_Main_Width=9000"), std::string::npos) << textValue;
    EXPECT_NE(textValue.find("Frm_Main_Height=6000"), std::string::npos) << textValue;
}

}  // namespace

namespace {

TEST(StartUpInProcess, EachZoneGetsItsOwnHiddenIncidentsList) {
    e2e::E2eSite site;
    support::writeWindowsFile(site.programFolder() / "Settings" / "AL3_Relaytone" / "AL3_Relaytone.Ini",
                              "[SoundCard]\nActive=0\n[General_Out]\nNbZones=2\n");
    Frm_Main win;
    PbSDossierApplication = "C:\\Vantremo\\Aerolune\\";
    win.Load();
    ASSERT_EQ(win.ListeIncidents.size(), 2u);
    ASSERT_EQ(win.CheckIncidents.size(), 2u);
    EXPECT_FALSE(win.ListeIncidents[1]->Visible());

    const int32_t avant = win.ListeIncidents[0]->ListCount();
    Lib_Public::TraceLog(1, -1, -1, "Err: zone two", true);
    EXPECT_EQ(win.ListeIncidents[1]->ListCount(), 1);
    EXPECT_EQ(win.ListeIncidents[0]->ListCount(), avant);
    EXPECT_EQ(win.Caption().rfind("Err: ", 0), 0u);
}

}  // namespace

namespace {

// The README's demo site, written by its script: the caption names the site's radio.
TEST(StartUpInProcess, OnTheDemoSiteTheCaptionNamesTheRadio) {
    support::TempDriveC drive;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("AL3_DEMO_PORT1", QString::number(e2e::freeUdpPort()));
    env.insert("AL3_DEMO_PORT2", QString::number(e2e::freeUdpPort()));
    QProcess script;
    script.setProcessEnvironment(env);
    script.start(QString(std::getenv("AL3_SOURCE_DIR")) + "/scripts/demo-site", {std::getenv("AL3_BIN_DIR")});
    ASSERT_TRUE(script.waitForFinished(30000));
    ASSERT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();

    PbSDossierApplication = "C:\\Vantremo\\Aerolune\\";
    Frm_Main win;
    win.Load();
    ASSERT_TRUE(PbBFeuilleChargee);
    EXPECT_EQ(win.Caption(), "Aerolune: Relaytone - " + Lib_Systeme::VersionApplication() + " - Radio Demo");
    EXPECT_EQ(PbIIdRadio, 1);
    win.Unload(platform::forms::vbAppTaskManager);
}

}  // namespace
