// The look: the style read from the registry (with its one-time migration), the skin of each
// style, and each style applied to a window's controls.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

#include "foundation/Registry.h"
#include "foundation/RunState.h"
#include "platform/forms/CheckBox.h"
#include "shell/Lib_Look.h"
#include "tests/shell/MainWindow.h"
#include "tests/support/TempSite.h"

namespace {

using Lib_Systeme::HKEY_LOCAL_MACHINE;

std::string readLook(const std::string& nameText) {
    std::string valueText;
    Lib_Systeme::Reg_GetValue(HKEY_LOCAL_MACHINE, Lib_Look::kLookKey, nameText, valueText);
    return valueText;
}

class Look : public support::SiteTest {
protected:
    void SetUp() override { PbSDossierApplication = "C:\\Prog\\"; }
};

struct StyleCase {
    const char* style;        // nullptr: no value
    const char* secondStyle;  // nullptr: no value
    int expected;
    const char* styleWritten;
    const char* secondStyleWritten;
};

TEST_F(Look, TheRegistryStyleAndItsMigration) {
    const StyleCase examples[] = {
        {nullptr, nullptr, 15, "15", ""}, {"  ", nullptr, 15, "15", ""},   {"15", nullptr, 15, "15", ""},
        {"17", nullptr, 15, "15", "Ok"},  {"17", "Ok", 20, "17", "Ok"},    {"20", nullptr, 20, "20", ""},
        {"16", nullptr, 20, "16", ""},    {"abc", nullptr, 20, "abc", ""}, {"14.6", nullptr, 15, "14.6", ""},
    };
    for (const auto& c : examples) {
        SCOPED_TRACE(c.style ? c.style : "(none)");
        // The first case meets a registry without the key; a blank value reads the same.
        if (&c != &examples[0])
            for (const char* nameText : {"Style", "StyleBis"})
                Lib_Systeme::Reg_SetValue(HKEY_LOCAL_MACHINE, Lib_Look::kLookKey, nameText, "");
        if (c.style) Lib_Systeme::Reg_SetValue(HKEY_LOCAL_MACHINE, Lib_Look::kLookKey, "Style", c.style);
        if (c.secondStyle)
            Lib_Systeme::Reg_SetValue(HKEY_LOCAL_MACHINE, Lib_Look::kLookKey, "StyleBis", c.secondStyle);
        Lib_Look::InitGeneralLook(-1);
        EXPECT_EQ(StyleLook, c.expected);
        EXPECT_EQ(SkinSansTheme, c.expected == 15 ? 0 : 1);
        EXPECT_EQ(readLook("Style"), c.styleWritten);
        EXPECT_EQ(readLook("StyleBis"), c.secondStyleWritten);
    }
}

TEST_F(Look, AGivenStyleLeavesTheRegistryAloneAndPicksTheSkin) {
    Lib_Look::InitGeneralLook(15);
    EXPECT_EQ(StyleLook, 15);
    EXPECT_EQ(Lib_Look::Skin().skinFolder(), "C:\\Prog\\Settings\\Skins\\Styles\\iTunes");
    EXPECT_EQ(Lib_Look::Skin().skinIniFile(), "Normalitunes.ini");
    EXPECT_TRUE(Lib_Look::Skin().ApplyOptions() & 1);
    EXPECT_EQ(readLook("Style"), "");

    Lib_Look::InitGeneralLook(7);
    EXPECT_EQ(StyleLook, 20);
    EXPECT_FALSE(Lib_Look::Skin().skinLoaded());
    EXPECT_EQ(PbFCoefPolice, 1.0f);  // the offscreen screen has 96 dots per inch
}

// The skin reaches the main window in the skinned style only.
TEST_F(Look, TheMainWindowIsGreyWithTheSkinAndKeepsTheSystemColoursWithout) {
    mainwindow_test::TestWindow mainForm;
    const QColor systemDir = mainForm.palette().color(QPalette::Window);
    Lib_Look::InitGeneralLook(20);
    EXPECT_EQ(mainForm.palette().color(QPalette::Window), systemDir);
    Lib_Look::InitGeneralLook(15);
    EXPECT_EQ(mainForm.palette().color(QPalette::Window), QColor(182, 182, 182));
}

// Run in a child of this test program on a screen of the dots per inch its parent chose.
TEST(LookEcran, FontScaleOfThisScreen) {
    const char* expected = std::getenv("AL3_TEST_COEF_POLICE");
    if (!expected) GTEST_SKIP() << "run by LookEcran.OnlyExactlyOneHundredAndTwentyDotsPerInchScaleTheFont";
    Lib_Look::InitGeneralLook(20);
    float coefficient = 0;
    std::from_chars(expected, expected + std::strlen(expected), coefficient);
    EXPECT_EQ(PbFCoefPolice, coefficient);
}

TEST(LookEcran, OnlyExactlyOneHundredAndTwentyDotsPerInchScaleTheFont) {
    struct Case {
        int dotsPerInch;
        const char* scalingQt;  // QT_ENABLE_HIGHDPI_SCALING
        const char* coef;
    };
    const Case examples[] = {
        {96, "1", "1"}, {120, "1", "1.25"}, {120, "0", "1.25"}, {144, "1", "1"}, {144, "0", "1"}};
    support::TempDriveC dossier;
    for (const auto& c : examples) {
        SCOPED_TRACE(std::to_string(c.dotsPerInch) + " scaling " + c.scalingQt);
        const auto config = dossier.root() / ("ecran" + std::to_string(c.dotsPerInch) + ".json");
        std::ofstream(config) << "{\"screens\": [{\"name\": \"ecran\", \"x\": 0, \"y\": 0, \"width\": 1280,"
                              << " \"height\": 1024, \"logicalDpi\": " << c.dotsPerInch
                              << ", \"logicalBaseDpi\": 96, \"dpr\": 1}]}";
        QProcess childWidget;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + QString::fromStdString(config.string()));
        env.insert("QT_ENABLE_HIGHDPI_SCALING", c.scalingQt);
        env.insert("AL3_TEST_COEF_POLICE", c.coef);
        childWidget.setProcessEnvironment(env);
        childWidget.setProcessChannelMode(QProcess::MergedChannels);
        childWidget.start(QString::fromStdString(std::filesystem::read_symlink("/proc/self/exe").string()),
                          {"--gtest_filter=LookEcran.FontScaleOfThisScreen"});
        ASSERT_TRUE(childWidget.waitForFinished(60000));
        const QString outputTab = QString::fromUtf8(childWidget.readAll());
        EXPECT_EQ(childWidget.exitCode(), 0) << outputTab.toStdString();
        EXPECT_TRUE(outputTab.contains("[  PASSED  ] 1 test")) << outputTab.toStdString();
    }
}

// One control of each kind the styling knows, and two it leaves alone.
struct Controls {
    QWidget win;
    QLineEdit* textValue = new QLineEdit(&win);
    QLineEdit* shadowText = new QLineEdit(&win);
    QListWidget* listBox = new QListWidget(&win);
    QComboBox* combo = new QComboBox(&win);
    platform::forms::CheckBox* checked = new platform::forms::CheckBox(&win);
    QRadioButton* option = new QRadioButton(&win);
    QLabel* points = new QLabel("...", &win);
    QLabel* labelText = new QLabel("Port", &win);
    QTabWidget* tabWidgets = new QTabWidget(&win);
    QPushButton* buttonWidget = new QPushButton("OK", &win);
    QTableWidget* sheetGrid = new QTableWidget(2, 2, &win);

    Controls() {
        tabWidgets->addTab(new QWidget, "Un");
        tabWidgets->addTab(new QWidget, "Deux");
        tabWidgets->setCurrentIndex(1);
        QPalette shadow = shadowText->palette();
        shadow.setColor(QPalette::Base, QApplication::palette().color(QPalette::Dark));
        shadowText->setPalette(shadow);
    }
    static QColor baseColourOf(QWidget* w) { return w->palette().color(QPalette::Base); }
    static QColor windowOf(QWidget* w) { return w->palette().color(QPalette::Window); }
};

TEST_F(Look, TheSkinnedStyleGivesFieldsTheirYellowAndChoicesTheGrey) {
    Lib_Look::InitGeneralLook(15);
    Controls c;
    const QColor beforeGrid = Controls::baseColourOf(c.sheetGrid);
    Lib_Look::LookFenetre(c.win);
    EXPECT_EQ(Controls::baseColourOf(c.textValue), Lib_Look::kFieldColour);
    EXPECT_EQ(Controls::baseColourOf(c.shadowText), QApplication::palette().color(QPalette::Dark));
    EXPECT_EQ(Controls::baseColourOf(c.listBox), Lib_Look::kFieldColour);
    EXPECT_EQ(Controls::baseColourOf(c.combo), Lib_Look::kFieldColour);
    EXPECT_EQ(Controls::windowOf(c.checked), QColor(182, 182, 182));
    EXPECT_EQ(Controls::windowOf(c.option), QColor(182, 182, 182));
    EXPECT_EQ(c.points->text(), "");
    EXPECT_EQ(c.labelText->text(), "Port");
    EXPECT_EQ(c.tabWidgets->currentIndex(), 0);
    EXPECT_TRUE(c.tabWidgets->styleSheet().contains("rgb(119, 190, 242)"));
    EXPECT_EQ(Controls::baseColourOf(c.sheetGrid), beforeGrid);
    EXPECT_TRUE(c.buttonWidget->styleSheet().isEmpty());
}

TEST_F(Look, ButtonsTakeTheMainWindowsBackgroundWithTheSkinOnly) {
    for (int style : {15, 20}) {
        SCOPED_TRACE(style);
        Lib_Look::InitGeneralLook(style);
        mainwindow_test::TestWindow mainForm;
        QPalette baseColourOf = mainForm.palette();
        baseColourOf.setColor(QPalette::Window, QColor(182, 182, 182));  // the skin's grey, as drawn
        mainForm.setPalette(baseColourOf);
        Controls c;
        const QColor avant = c.buttonWidget->palette().color(QPalette::Button);
        Lib_Look::LookFenetre(c.win);
        EXPECT_EQ(Lib_Look::TypeName(*c.buttonWidget), "SftButton");
        EXPECT_EQ(c.buttonWidget->palette().color(QPalette::Button),
                  style == 15 ? QColor(182, 182, 182) : avant);
    }
}

TEST_F(Look, ThePlainStyleKeepsTheSystemColoursOfFields) {
    Lib_Look::InitGeneralLook(20);
    Controls c;
    const QColor systemDir = QApplication::palette().color(QPalette::Base);
    Lib_Look::LookFenetre(c.win);
    EXPECT_EQ(Controls::baseColourOf(c.textValue), systemDir);
    EXPECT_EQ(Controls::baseColourOf(c.listBox), systemDir);
    EXPECT_EQ(Controls::baseColourOf(c.combo), systemDir);
    EXPECT_EQ(Controls::windowOf(c.checked), systemDir);  // the system's window background
    EXPECT_EQ(c.points->text(), "");
    EXPECT_EQ(c.tabWidgets->currentIndex(), 0);
    EXPECT_TRUE(c.tabWidgets->styleSheet().contains("color: white"));
}

// The panel frames as they are drawn: the base colour inside, a dark grey line round, the
// caption in bold Arial 8.
TEST_F(Look, PanelFramesTakeTheBaseColourAndTheDarkBorderInBothStyles) {
    for (int style : {15, 20}) {
        SCOPED_TRACE(style);
        Lib_Look::InitGeneralLook(style);
        QWidget win;
        auto* frame = new QGroupBox("Général", &win);
        frame->setGeometry(10, 10, 200, 120);
        Lib_Look::LookFenetre(win);
        win.show();
        QApplication::processEvents();
        const QImage image = frame->grab().toImage();
        EXPECT_EQ(image.pixelColor(100, 100), Lib_Look::baseColour());
        EXPECT_EQ(image.pixelColor(0, image.height() - 1), Lib_Look::kDarkGrey);
        EXPECT_EQ(frame->font().family(), "Arial");
        EXPECT_TRUE(frame->font().bold());
        EXPECT_EQ(frame->font().pointSize(), 8);
    }
}

TEST_F(Look, OtherWindowsAreStyledThroughTheMainWindow) {
    Lib_Look::InitGeneralLook(15);
    QWidget autre;
    auto* textValue = new QLineEdit(&autre);
    neighbours::Frm_Main().LookFenetre(autre);  // before the main window: nothing
    EXPECT_NE(textValue->palette().color(QPalette::Base), Lib_Look::kFieldColour);
    mainwindow_test::TestWindow mainForm;
    neighbours::Frm_Main().LookFenetre(autre);
    EXPECT_EQ(textValue->palette().color(QPalette::Base), Lib_Look::kFieldColour);
}

}  // namespace
