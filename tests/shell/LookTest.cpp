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

std::string lireLook(const std::string& nom) {
    std::string valeur;
    Lib_Systeme::Reg_GetValue(HKEY_LOCAL_MACHINE, Lib_Look::kCleLook, nom, valeur);
    return valeur;
}

class Look : public support::SiteTest {
protected:
    void SetUp() override { PbSDossierApplication = "C:\\Prog\\"; }
};

struct CasStyle {
    const char* style;     // nullptr: no value
    const char* styleBis;  // nullptr: no value
    int attendu;
    const char* styleEcrit;
    const char* styleBisEcrit;
};

TEST_F(Look, TheRegistryStyleAndItsMigration) {
    const CasStyle cas[] = {
        {nullptr, nullptr, 15, "15", ""},  {"  ", nullptr, 15, "15", ""},
        {"15", nullptr, 15, "15", ""},     {"17", nullptr, 15, "15", "Ok"},
        {"17", "Ok", 20, "17", "Ok"},      {"20", nullptr, 20, "20", ""},
        {"16", nullptr, 20, "16", ""},     {"abc", nullptr, 20, "abc", ""},
        {"14.6", nullptr, 15, "14.6", ""},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.style ? c.style : "(none)");
        // The first case meets a registry without the key; a blank value reads the same.
        if (&c != &cas[0])
            for (const char* nom : {"Style", "StyleBis"})
                Lib_Systeme::Reg_SetValue(HKEY_LOCAL_MACHINE, Lib_Look::kCleLook, nom, "");
        if (c.style) Lib_Systeme::Reg_SetValue(HKEY_LOCAL_MACHINE, Lib_Look::kCleLook, "Style", c.style);
        if (c.styleBis) Lib_Systeme::Reg_SetValue(HKEY_LOCAL_MACHINE, Lib_Look::kCleLook, "StyleBis", c.styleBis);
        Lib_Look::InitGeneralLook(-1);
        EXPECT_EQ(StyleLook, c.attendu);
        EXPECT_EQ(SkinSansTheme, c.attendu == 15 ? 0 : 1);
        EXPECT_EQ(lireLook("Style"), c.styleEcrit);
        EXPECT_EQ(lireLook("StyleBis"), c.styleBisEcrit);
    }
}

TEST_F(Look, AGivenStyleLeavesTheRegistryAloneAndPicksTheSkin) {
    Lib_Look::InitGeneralLook(15);
    EXPECT_EQ(StyleLook, 15);
    EXPECT_EQ(Lib_Look::Skin().DossierSkin(), "C:\\Prog\\Settings\\Skins\\Styles\\iTunes");
    EXPECT_EQ(Lib_Look::Skin().FichierIniSkin(), "Normalitunes.ini");
    EXPECT_TRUE(Lib_Look::Skin().ApplyOptions() & 1);
    EXPECT_EQ(lireLook("Style"), "");

    Lib_Look::InitGeneralLook(7);
    EXPECT_EQ(StyleLook, 20);
    EXPECT_FALSE(Lib_Look::Skin().SkinCharge());
    EXPECT_EQ(PbFCoefPolice, 1.0f);  // the offscreen screen has 96 dots per inch
}

// The skin reaches the main window in the skinned style only.
TEST_F(Look, TheMainWindowIsGreyWithTheSkinAndKeepsTheSystemColoursWithout) {
    mainwindow_test::Fenetre principale;
    const QColor systeme = principale.palette().color(QPalette::Window);
    Lib_Look::InitGeneralLook(20);
    EXPECT_EQ(principale.palette().color(QPalette::Window), systeme);
    Lib_Look::InitGeneralLook(15);
    EXPECT_EQ(principale.palette().color(QPalette::Window), QColor(182, 182, 182));
}

// Run in a child of this test program on a screen of the dots per inch its parent chose.
TEST(LookEcran, FontScaleOfThisScreen) {
    const char* attendu = std::getenv("AL3_TEST_COEF_POLICE");
    if (!attendu) GTEST_SKIP() << "run by LookEcran.OnlyExactlyOneHundredAndTwentyDotsPerInchScaleTheFont";
    Lib_Look::InitGeneralLook(20);
    float coefficient = 0;
    std::from_chars(attendu, attendu + std::strlen(attendu), coefficient);
    EXPECT_EQ(PbFCoefPolice, coefficient);
}

TEST(LookEcran, OnlyExactlyOneHundredAndTwentyDotsPerInchScaleTheFont) {
    struct Cas {
        int pointsParPouce;
        const char* scalingQt;  // QT_ENABLE_HIGHDPI_SCALING
        const char* coef;
    };
    const Cas cas[] = {{96, "1", "1"}, {120, "1", "1.25"}, {120, "0", "1.25"}, {144, "1", "1"}, {144, "0", "1"}};
    support::TempDriveC dossier;
    for (const auto& c : cas) {
        SCOPED_TRACE(std::to_string(c.pointsParPouce) + " scaling " + c.scalingQt);
        const auto config = dossier.root() / ("ecran" + std::to_string(c.pointsParPouce) + ".json");
        std::ofstream(config) << "{\"screens\": [{\"name\": \"ecran\", \"x\": 0, \"y\": 0, \"width\": 1280,"
                              << " \"height\": 1024, \"logicalDpi\": " << c.pointsParPouce
                              << ", \"logicalBaseDpi\": 96, \"dpr\": 1}]}";
        QProcess enfant;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + QString::fromStdString(config.string()));
        env.insert("QT_ENABLE_HIGHDPI_SCALING", c.scalingQt);
        env.insert("AL3_TEST_COEF_POLICE", c.coef);
        enfant.setProcessEnvironment(env);
        enfant.setProcessChannelMode(QProcess::MergedChannels);
        enfant.start(QString::fromStdString(std::filesystem::read_symlink("/proc/self/exe").string()), {"--gtest_filter=LookEcran.FontScaleOfThisScreen"});
        ASSERT_TRUE(enfant.waitForFinished(60000));
        const QString sortie = QString::fromUtf8(enfant.readAll());
        EXPECT_EQ(enfant.exitCode(), 0) << sortie.toStdString();
        EXPECT_TRUE(sortie.contains("[  PASSED  ] 1 test")) << sortie.toStdString();
    }
}

// One control of each kind the styling knows, and two it leaves alone.
struct Controles {
    QWidget fenetre;
    QLineEdit* texte = new QLineEdit(&fenetre);
    QLineEdit* texteOmbre = new QLineEdit(&fenetre);
    QListWidget* liste = new QListWidget(&fenetre);
    QComboBox* combo = new QComboBox(&fenetre);
    platform::forms::CheckBox* coche = new platform::forms::CheckBox(&fenetre);
    QRadioButton* option = new QRadioButton(&fenetre);
    QLabel* points = new QLabel("...", &fenetre);
    QLabel* libelle = new QLabel("Port", &fenetre);
    QTabWidget* onglets = new QTabWidget(&fenetre);
    QPushButton* bouton = new QPushButton("OK", &fenetre);
    QTableWidget* grille = new QTableWidget(2, 2, &fenetre);

    Controles() {
        onglets->addTab(new QWidget, "Un");
        onglets->addTab(new QWidget, "Deux");
        onglets->setCurrentIndex(1);
        QPalette ombre = texteOmbre->palette();
        ombre.setColor(QPalette::Base, QApplication::palette().color(QPalette::Dark));
        texteOmbre->setPalette(ombre);
    }
    static QColor fond(QWidget* w) { return w->palette().color(QPalette::Base); }
    static QColor fenetreDe(QWidget* w) { return w->palette().color(QPalette::Window); }
};

TEST_F(Look, TheSkinnedStyleGivesFieldsTheirYellowAndChoicesTheGrey) {
    Lib_Look::InitGeneralLook(15);
    Controles c;
    const QColor avantGrille = Controles::fond(c.grille);
    Lib_Look::LookFenetre(c.fenetre);
    EXPECT_EQ(Controles::fond(c.texte), Lib_Look::kCouleurChamp);
    EXPECT_EQ(Controles::fond(c.texteOmbre), QApplication::palette().color(QPalette::Dark));
    EXPECT_EQ(Controles::fond(c.liste), Lib_Look::kCouleurChamp);
    EXPECT_EQ(Controles::fond(c.combo), Lib_Look::kCouleurChamp);
    EXPECT_EQ(Controles::fenetreDe(c.coche), QColor(182, 182, 182));
    EXPECT_EQ(Controles::fenetreDe(c.option), QColor(182, 182, 182));
    EXPECT_EQ(c.points->text(), "");
    EXPECT_EQ(c.libelle->text(), "Port");
    EXPECT_EQ(c.onglets->currentIndex(), 0);
    EXPECT_TRUE(c.onglets->styleSheet().contains("rgb(119, 190, 242)"));
    EXPECT_EQ(Controles::fond(c.grille), avantGrille);
    EXPECT_TRUE(c.bouton->styleSheet().isEmpty());
}

TEST_F(Look, ButtonsTakeTheMainWindowsBackgroundWithTheSkinOnly) {
    for (int style : {15, 20}) {
        SCOPED_TRACE(style);
        Lib_Look::InitGeneralLook(style);
        mainwindow_test::Fenetre principale;
        QPalette fond = principale.palette();
        fond.setColor(QPalette::Window, QColor(182, 182, 182));  // the skin's grey, as drawn
        principale.setPalette(fond);
        Controles c;
        const QColor avant = c.bouton->palette().color(QPalette::Button);
        Lib_Look::LookFenetre(c.fenetre);
        EXPECT_EQ(Lib_Look::TypeName(*c.bouton), "SftButton");
        EXPECT_EQ(c.bouton->palette().color(QPalette::Button),
                  style == 15 ? QColor(182, 182, 182) : avant);
    }
}

TEST_F(Look, ThePlainStyleKeepsTheSystemColoursOfFields) {
    Lib_Look::InitGeneralLook(20);
    Controles c;
    const QColor systeme = QApplication::palette().color(QPalette::Base);
    Lib_Look::LookFenetre(c.fenetre);
    EXPECT_EQ(Controles::fond(c.texte), systeme);
    EXPECT_EQ(Controles::fond(c.liste), systeme);
    EXPECT_EQ(Controles::fond(c.combo), systeme);
    EXPECT_EQ(Controles::fenetreDe(c.coche), systeme);  // the system's window background
    EXPECT_EQ(c.points->text(), "");
    EXPECT_EQ(c.onglets->currentIndex(), 0);
    EXPECT_TRUE(c.onglets->styleSheet().contains("color: white"));
}

// The panel frames as they are drawn: the base colour inside, a dark grey line round, the
// caption in bold Arial 8.
TEST_F(Look, PanelFramesTakeTheBaseColourAndTheDarkBorderInBothStyles) {
    for (int style : {15, 20}) {
        SCOPED_TRACE(style);
        Lib_Look::InitGeneralLook(style);
        QWidget fenetre;
        auto* cadre = new QGroupBox("Général", &fenetre);
        cadre->setGeometry(10, 10, 200, 120);
        Lib_Look::LookFenetre(fenetre);
        fenetre.show();
        QApplication::processEvents();
        const QImage image = cadre->grab().toImage();
        EXPECT_EQ(image.pixelColor(100, 100), Lib_Look::CouleurDeBase());
        EXPECT_EQ(image.pixelColor(0, image.height() - 1), Lib_Look::kGrisFonce);
        EXPECT_EQ(cadre->font().family(), "Arial");
        EXPECT_TRUE(cadre->font().bold());
        EXPECT_EQ(cadre->font().pointSize(), 8);
    }
}

TEST_F(Look, OtherWindowsAreStyledThroughTheMainWindow) {
    Lib_Look::InitGeneralLook(15);
    QWidget autre;
    auto* texte = new QLineEdit(&autre);
    neighbours::Frm_Main().LookFenetre(autre);  // before the main window: nothing
    EXPECT_NE(texte->palette().color(QPalette::Base), Lib_Look::kCouleurChamp);
    mainwindow_test::Fenetre principale;
    neighbours::Frm_Main().LookFenetre(autre);
    EXPECT_EQ(texte->palette().color(QPalette::Base), Lib_Look::kCouleurChamp);
}

}  // namespace
