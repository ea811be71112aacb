// The main window's global grid: its layout per station, the restart rows and the workbook that
// carries them from one run to the next.
#include <fstream>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QHeaderView>
#include <QImage>
#include <QTableWidget>

#include "engine/Frm_MainBis.h"
#include "foundation/ErrorReporter.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/LogBuffers.h"
#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/forms/Spread.h"
#include "shell/Frm_Main.h"
#include "shell/Lib_Tableur.h"
#include "tests/platform/xls/OtherSpreadsheets.h"
#include "tests/platform/xls/XlrdReader.h"
#include "tests/support/TempSite.h"
#include "tests/support/WindowsFiles.h"

namespace {

using platform::forms::Spread;
constexpr int32_t kNoir = 0, kBlanc = 0xFFFFFF, kRouge = 255;

class Tableur : public support::SiteTest {
protected:
    Tableur() {
        PbSDossierApplication = "C:\\Prog\\";
        std::filesystem::create_directories(drive.host("C:\\Prog\\Local\\AL3_Relaytone"));
        stations({"Radio Nord", "Radio Sud", "Radio Est"});
        platform::clock::setManual(platform::timeOf({2026, 12, 10, 4, 4, 8, 15, 0}), 0);
    }
    void stations(const std::vector<std::string>& labels) {
        PbINbStations = int16_t(labels.size());
        for (size_t i = 0; i < labels.size(); ++i) PbTBases[0].Stations[i].Lib = labels[i];
    }
    // The start-up's part: build, import, the two restart rows.
    void demarrage(const std::string& libelle = "Début Redémarrage") {
        Lib_Tableur::InitGeneralTableur(true, true);
        Lib_Tableur::ImportClasseurGlobal();
        Lib_Tableur::TableurInitDemarrage(0, libelle);
    }
    std::filesystem::path classeur() const { return drive.host(Lib_Tableur::FichierClasseurGlobal()); }
    static bool logged(const std::string& line) {
        for (const std::string& l : logbuffers::earlyBuffer())
            if (l.find(line) != std::string::npos) return true;
        return false;
    }
    bool exporter() {
        return Lib_Tableur::ExportClasseurGlobal(Lib_Tableur::FichierClasseurGlobal(), "SheetName",
                                                 Lib_Tableur::DossierClasseurGlobal() + "Global_Export.log", 0);
    }

    Frm_Main fenetre;
    Spread& grille = *fenetre.fpSpreadGlobal;
};

TEST_F(Tableur, ThreeColumnsPerStationUnderItsLabelTheThirdHidden) {
    ASSERT_EQ(Lib_Tableur::fpSpreadGlobal, &grille);
    Lib_Tableur::InitGeneralTableur(true, true);
    ASSERT_EQ(grille.MaxCols(), 9);
    ASSERT_EQ(grille.MaxRows(), 50);
    const char* labels[] = {"Radio Nord", "Radio Sud", "Radio Est"};
    for (int c = 1; c <= 9; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(grille.Text(c, 0), labels[(c - 1) / 3]);
        EXPECT_EQ(grille.ColHidden(c), c % 3 == 0);
        const bool sombre = c % 3 != 2;
        EXPECT_EQ(grille.BackColor(c, 50), sombre ? kNoir : platform::forms::kSysWindowBackground);
        EXPECT_EQ(grille.ForeColor(c, 1), sombre ? kBlanc : platform::forms::kSysWindowText);
    }
    EXPECT_TRUE(grille.ColHidden(0));
    EXPECT_DOUBLE_EQ(grille.RowHeight(50), 10.5);
}

TEST_F(Tableur, EverySheetTakesTheEnginesPictureAsItsPointer) {
    Lib_Tableur::InitGeneralTableur(true, true);
    EXPECT_TRUE(grille.CursorPicture().isNull());  // no engine window yet: the usual pointer
    Frm_MainBis::get();
    Lib_Tableur::InitGeneralTableur(true, true);
    const QImage attendue = Frm_MainBis::get().ImageDragAndDrop.toImage();
    ASSERT_FALSE(attendue.isNull());
    EXPECT_EQ(grille.CursorPicture().toImage(), attendue);
    // Rebuilt around an imported workbook, the sheet keeps it.
    ASSERT_TRUE(exporter());
    Lib_Tableur::ImportClasseurGlobal();
    EXPECT_EQ(grille.CursorPicture().toImage(), attendue);
}

TEST_F(Tableur, WidthsShareTheGridBetweenStationsAndNeverGoNegative) {
    Lib_Tableur::InitGeneralTableur(true, false);
    struct Case {
        int pixels;
        double texte;  // the second column of each station
    } cases[] = {
        {400, (400 * 15 - 540) / grille.TwipsPerColumnUnit() / 3 - 6},
        {36, 0.0},  // 540 twips: nothing left
        {20, 0.0},  // narrower still: held at 0, not -6
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pixels);
        grille.resize(c.pixels, 300);
        Lib_Tableur::InitGeneralTableurGlobal(false, true);
        for (int n = 0; n < 3; ++n) {
            EXPECT_DOUBLE_EQ(grille.ColWidth(3 * n + 1), 6.0);
            EXPECT_DOUBLE_EQ(grille.ColWidth(3 * n + 2), c.texte);
            EXPECT_DOUBLE_EQ(grille.ColWidth(3 * n + 3), 0.0);
        }
    }
}

TEST_F(Tableur, TheTimeColumnShowsTheWholeTimeAtTheDesktopsFontAndTheStationsStillFit) {
    fenetre.QWidget::show();  // the window alone, without its start-up
    fenetre.resize(1200, 600);
    demarrage();
    QCoreApplication::processEvents();
    const int largeurGrille = grille.width();
    Lib_Tableur::InitGeneralTableurGlobal(false, true);
    ASSERT_EQ(grille.Text(1, 1), "04:08:15");
    auto* table = qobject_cast<QTableWidget*>(grille.currentWidget());
    ASSERT_NE(table, nullptr);
    int largeur = 0;
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        // What the cell needs to show its text whole, as the view itself measures it.
        const int besoin = static_cast<QAbstractItemView*>(table)->sizeHintForColumn(3 * n);
        EXPECT_GT(besoin, 0);
        EXPECT_GE(table->columnWidth(3 * n), besoin);
        EXPECT_DOUBLE_EQ(grille.ColWidth(3 * n + 1), 6.0);
        for (int c = 3 * n; c < 3 * n + 3; ++c) largeur += table->isColumnHidden(c) ? 0 : table->columnWidth(c);
    }
    // The wider unit is the text columns' too: the three stations still share the grid's width.
    EXPECT_LE(largeur, largeurGrille - 540 / 15 + 3);
    EXPECT_GE(largeur, largeurGrille - 540 / 15 - 3);
}

// Each of a station's headers holds its label; the narrow time column's shows the label's
// beginning and an ellipsis ("Radi…"), never a clip of its middle ("adio Nor"): what it draws is
// what it draws for some beginning of the label followed by an ellipsis.
TEST_F(Tableur, TheNarrowTimeColumnsHeaderShowsTheBeginningOfTheStationsLabel) {
    fenetre.QWidget::show();
    fenetre.resize(1200, 600);
    demarrage();
    Lib_Tableur::InitGeneralTableurGlobal(false, true);
    auto* table = qobject_cast<QTableWidget*>(grille.currentWidget());
    ASSERT_NE(table, nullptr);
    QHeaderView* header = table->horizontalHeader();
    const auto drawn = [&](int column) {
        const QRect section(header->sectionViewportPosition(column), 0, header->sectionSize(column),
                            header->height());
        return header->grab(section).toImage();
    };
    QTableWidgetItem* item = table->horizontalHeaderItem(0);
    ASSERT_NE(item, nullptr);
    const QString label = item->text();
    ASSERT_EQ(label, "Radio Nord");
    ASSERT_LT(header->sectionSize(0), header->fontMetrics().horizontalAdvance(label));
    const QImage shown = drawn(0);
    QString match;
    for (int n = 1; n < label.size() && match.isEmpty(); ++n) {
        const QString beginning = label.left(n) + QChar(0x2026);
        item->setText(beginning);
        if (drawn(0) == shown) match = beginning;
    }
    item->setText(label);
    EXPECT_FALSE(match.isEmpty());
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), label);  // the text column's header holds it whole
    EXPECT_EQ(grille.Text(1, 0), "Radio Nord");
}

TEST_F(Tableur, WithoutStationsTheGridHasNoColumnsAndTheRowsWriteNothing) {
    stations({});
    demarrage();
    Lib_Tableur::InitGeneralTableurGlobal(false, true);
    EXPECT_EQ(grille.MaxCols(), 0);
    EXPECT_EQ(grille.MaxRows(), 50);
}

TEST_F(Tableur, RestartRowsPushTheOlderOnesDownAndTheOldestOff) {
    Lib_Tableur::InitGeneralTableur(true, true);
    Lib_Tableur::TableurInitDemarrage(0, "Début Redémarrage");
    for (int c = 1; c <= 9; c += 3) {
        EXPECT_EQ(grille.Text(c, 1), "04:08:15");
        EXPECT_EQ(grille.BackColor(c, 1), kNoir);
        EXPECT_EQ(grille.ForeColor(c, 1), kBlanc);
        EXPECT_EQ(grille.Text(c + 1, 1), "Début Redémarrage");
        EXPECT_EQ(grille.BackColor(c + 1, 1), kRouge);
        EXPECT_EQ(grille.Text(c + 2, 1), "2026-12-10 04:08:15");
    }
    for (int i = 1; i < 60; ++i) Lib_Tableur::TableurInitDemarrage(0, "L" + std::to_string(i));
    EXPECT_EQ(grille.Text(2, 1), "L59");
    EXPECT_EQ(grille.Text(5, 2), "L58");
    EXPECT_EQ(grille.Text(8, 50), "L10");  // 60 rows written, the last 50 kept
    EXPECT_EQ(grille.BackColor(8, 50), kRouge);
    EXPECT_EQ(grille.BackColor(7, 50), kNoir);
}

TEST_F(Tableur, TheWorkbookCarriesTheRowsIntoTheNextRunRebuiltForTheCurrentSite) {
    demarrage("Début Redémarrage");
    Lib_Tableur::TableurInitDemarrage(0, "Fin Redémarrage");
    ASSERT_TRUE(exporter());

    platform::xls::Sheet vu;
    std::string erreur;
    ASSERT_TRUE(gridtest::readWithXlrd(classeur(), vu, erreur)) << erreur;
    EXPECT_EQ(vu.name, "SheetName");
    EXPECT_EQ(vu.cells.at({0, 7}).text, "Fin Redémarrage");
    EXPECT_EQ(vu.cells.at({1, 7}).backColour, kRouge);
    EXPECT_EQ(vu.cells.at({49, 0}).backColour, kNoir);  // the empty rows keep their colours

    // The next run serves two stations under new names.
    stations({"Nord FM", "Sud FM"});
    Frm_Main suivante;
    Spread& nouvelle = *suivante.fpSpreadGlobal;
    Lib_Tableur::InitGeneralTableur(true, true);
    ASSERT_TRUE(Lib_Tableur::ImportClasseurGlobal());
    EXPECT_EQ(nouvelle.MaxCols(), 6);
    EXPECT_EQ(nouvelle.MaxRows(), 50);
    EXPECT_EQ(nouvelle.Text(1, 0), "Nord FM");
    EXPECT_EQ(nouvelle.Text(6, 0), "Sud FM");
    EXPECT_TRUE(nouvelle.ColHidden(6));
    EXPECT_EQ(nouvelle.Text(2, 1), "Fin Redémarrage");
    EXPECT_EQ(nouvelle.Text(5, 2), "Début Redémarrage");
    EXPECT_EQ(nouvelle.BackColor(5, 2), kRouge);
    EXPECT_EQ(nouvelle.Text(6, 2), "2026-12-10 04:08:15");
    Lib_Tableur::TableurInitDemarrage(0, "Début Redémarrage");
    EXPECT_EQ(nouvelle.Text(2, 2), "Fin Redémarrage");
    EXPECT_EQ(nouvelle.Text(2, 3), "Début Redémarrage");
}

TEST_F(Tableur, AnErrorReportBeforeTheImportLeavesTheWorkbookAlone) {
    demarrage();
    ASSERT_TRUE(exporter());
    const std::string avant = support::readBytes(classeur());

    // The next run reports an error while its grid is still empty (before its import step).
    Lib_Tableur::PbBClasseurGlobalLu = false;
    Frm_Main suivante;
    Lib_Tableur::InitGeneralTableur(true, true);
    Lib_Public::ReportError(53, "File not found", "Frm_Main:InitGeneral");
    EXPECT_TRUE(support::readBytes(classeur()) == avant);

    ASSERT_TRUE(Lib_Tableur::ImportClasseurGlobal());
    EXPECT_EQ(suivante.fpSpreadGlobal->Text(2, 1), "Début Redémarrage");
    Lib_Tableur::TableurInitDemarrage(0, "Fin Redémarrage");
    Lib_Public::ReportError(53, "File not found", "Frm_Main:Form_Load");  // now it saves the grid
    std::vector<platform::xls::Sheet> relu;
    ASSERT_TRUE(platform::xls::readWorkbook(classeur(), relu).ok());
    EXPECT_EQ(relu.at(0).cells.at({0, 1}).text, "Fin Redémarrage");
}

TEST_F(Tableur, ADamagedWorkbookIsKeptUnderItsDateBeforeTheNextExportReplacesIt) {
    demarrage();
    ASSERT_TRUE(exporter());
    std::string cut = support::readBytes(classeur());
    cut.resize(cut.size() / 2);
    {
        std::ofstream out(classeur(), std::ios::binary | std::ios::trunc);
        out << cut;
    }
    const std::string copie = "C:\\Prog\\Local\\AL3_Relaytone\\Global_20261210_040815.xls";
    std::ofstream(drive.host(copie)) << "an older copy";  // never overwritten
    const std::string seconde = "C:\\Prog\\Local\\AL3_Relaytone\\Global_20261210_040815_2.xls";

    Lib_Tableur::PbBClasseurGlobalLu = false;
    Frm_Main suivante;
    logbuffers::earlyBuffer().clear();
    Lib_Tableur::InitGeneralTableur(true, true);
    EXPECT_FALSE(Lib_Tableur::ImportClasseurGlobal());
    EXPECT_TRUE(support::readBytes(drive.host(seconde)) == cut);
    EXPECT_EQ(support::readBytes(drive.host(copie)), "an older copy");
    EXPECT_TRUE(logged("Warning: Workbook not imported: C:\\Prog\\Local\\AL3_Relaytone\\Global.xls |Reason: "
                       "compound file truncated (allocation table) |Kept as: " +
                       seconde + " |Sub: Frm_Main:Form_Load"));
    EXPECT_EQ(suivante.fpSpreadGlobal->Text(2, 1), "");  // the empty layout
    EXPECT_EQ(suivante.fpSpreadGlobal->MaxCols(), 9);

    Lib_Tableur::TableurInitDemarrage(0, "Début Redémarrage");
    ASSERT_TRUE(exporter());
    std::vector<platform::xls::Sheet> relu;
    ASSERT_TRUE(platform::xls::readWorkbook(classeur(), relu).ok());
    EXPECT_EQ(relu.at(0).cells.at({0, 1}).text, "Début Redémarrage");
    EXPECT_TRUE(support::readBytes(drive.host(seconde)) == cut);
}

TEST_F(Tableur, AnUnreadableWorkbookThatCannotBeCopiedIsNotReplacedThisRun) {
    std::ofstream(classeur(), std::ios::binary) << "Relaytone\r\nDébut Redémarrage\r\n";
    const std::string avant = support::readBytes(classeur());
    Lib_Tableur::InitGeneralTableur(true, true);
    logbuffers::earlyBuffer().clear();
    Lib_Systeme::seams::failNextFileOperation(ENOSPC);
    EXPECT_FALSE(Lib_Tableur::ImportClasseurGlobal());
    EXPECT_TRUE(logged("Err: Workbook not imported: C:\\Prog\\Local\\AL3_Relaytone\\Global.xls |Reason: file too "
                       "short for a compound file header |No copy kept: not replaced this run |Sub: Frm_Main:Form_Load"));

    Lib_Tableur::TableurInitDemarrage(0, "Début Redémarrage");
    EXPECT_TRUE(exporter());  // nothing to report: the file is left as it was on purpose
    Lib_Public::ReportError(53, "File not found", "Frm_Main:Form_Load");
    platform::dialogs::queueAnswers({"ok"});
    Lib_Tableur::ExportClasseurGlobalFermeture("Aerolune: Relaytone");
    EXPECT_TRUE(platform::dialogs::asked().empty());
    EXPECT_EQ(support::readBytes(classeur()), avant);
    for (const auto& entry : std::filesystem::directory_iterator(classeur().parent_path()))
        EXPECT_EQ(entry.path().filename().string().rfind("Global_2", 0), std::string::npos) << entry.path();
}

TEST_F(Tableur, AnEmptyWorkbookNeedsNoCopyAndTheNextExportReplacesIt) {
    std::ofstream(classeur(), std::ios::binary | std::ios::trunc).flush();
    Lib_Tableur::InitGeneralTableur(true, true);
    logbuffers::earlyBuffer().clear();
    EXPECT_FALSE(Lib_Tableur::ImportClasseurGlobal());
    EXPECT_TRUE(logged("Warning: Workbook not imported: C:\\Prog\\Local\\AL3_Relaytone\\Global.xls |Reason: "
                       "empty file |Empty file: no copy needed |Sub: Frm_Main:Form_Load"));
    EXPECT_NE(support::readWindowsFile(drive.host("C:\\Prog\\Local\\AL3_Relaytone\\Global_Import.log"))
                  .find("Import C:\\Prog\\Local\\AL3_Relaytone\\Global.xls: empty file"),
              std::string::npos);

    Lib_Tableur::TableurInitDemarrage(0, "Début Redémarrage");
    ASSERT_TRUE(exporter());
    std::vector<platform::xls::Sheet> relu;
    ASSERT_TRUE(platform::xls::readWorkbook(classeur(), relu).ok());
    EXPECT_EQ(relu.at(0).cells.at({0, 1}).text, "Début Redémarrage");
    for (const auto& entry : std::filesystem::directory_iterator(classeur().parent_path()))
        EXPECT_EQ(entry.path().filename().string().rfind("Global_2", 0), std::string::npos) << entry.path();
}

// Another spreadsheet's workbook: its figures come in as their texts, what the grid of one
// station cannot hold is listed, and the file is kept aside before the export replaces it.
TEST_F(Tableur, AForeignWorkbookIsImportedAsShownListedAndKeptAsideOnce) {
    std::string erreur;
    ASSERT_TRUE(gridtest::writeFiguresWithXlwt(classeur(), erreur)) << erreur;
    const std::string avant = support::readBytes(classeur());
    stations({"Radio Nord"});
    Lib_Tableur::InitGeneralTableur(true, true);
    logbuffers::earlyBuffer().clear();
    ASSERT_TRUE(Lib_Tableur::ImportClasseurGlobal());
    EXPECT_EQ(grille.MaxCols(), 3);
    EXPECT_EQ(grille.Text(1, 1), "marker-text");
    EXPECT_EQ(grille.Text(2, 1), "4217");
    EXPECT_EQ(grille.Text(3, 1), "3.25");
    EXPECT_EQ(grille.Text(2, 2), "0.1");
    EXPECT_EQ(grille.Text(3, 2), "1E+20");

    const std::string copie = "C:\\Prog\\Local\\AL3_Relaytone\\Global_20261210_040815.xls";
    EXPECT_TRUE(support::readBytes(drive.host(copie)) == avant);
    EXPECT_TRUE(logged("Warning: Workbook imported in part: C:\\Prog\\Local\\AL3_Relaytone\\Global.xls |Not "
                       "held by the grid: 12 (Global_Import.log) |Kept as: " + copie + " |Sub: Frm_Main:Form_Load"));
    const std::string liste =
        support::readWindowsFile(drive.host("C:\\Prog\\Local\\AL3_Relaytone\\Global_Import.log"));
    for (const char* ligne : {"Sheet 2 \"Notes\" not imported: 1 cells",
                              "D1 outside the grid (3 columns, 50 rows), not imported: ",
                              "F1 outside the grid (3 columns, 50 rows), not imported: #DIV/0!",
                              "E2 outside the grid (3 columns, 50 rows), not imported: TRUE",
                              "A2 formula, imported as its result: ", "C1 number, imported as its text: 3.25"})
        EXPECT_NE(liste.find(ligne), std::string::npos) << ligne << "\n" << liste;

    Lib_Tableur::TableurInitDemarrage(0, "Début Redémarrage");
    ASSERT_TRUE(exporter());
    std::vector<platform::xls::Sheet> relu;
    ASSERT_TRUE(platform::xls::readWorkbook(classeur(), relu).ok());
    EXPECT_EQ(relu.at(0).cells.at({1, 1}).text, "4217");
    EXPECT_EQ(relu.at(0).cells.at({1, 1}).origin, platform::xls::Origin::Text);

    // Written by this program, it holds only texts now: the next run keeps no other copy.
    platform::clock::advance(std::chrono::seconds(5));
    Frm_Main suivante;
    Lib_Tableur::InitGeneralTableur(true, true);
    logbuffers::earlyBuffer().clear();
    ASSERT_TRUE(Lib_Tableur::ImportClasseurGlobal());
    EXPECT_EQ(suivante.fpSpreadGlobal->Text(2, 2), "4217");
    EXPECT_FALSE(logged("Workbook imported in part"));
    int copies = 0;
    for (const auto& entry : std::filesystem::directory_iterator(classeur().parent_path()))
        copies += entry.path().filename().string().rfind("Global_2", 0) == 0;
    EXPECT_EQ(copies, 1);
}

TEST_F(Tableur, AFailedExportAtShutDownSaysSoUnlessTheQuitIsForced) {
    demarrage();
    std::filesystem::remove_all(drive.host("C:\\Prog\\Local"));
    platform::dialogs::queueAnswers({"ok"});
    Lib_Tableur::ExportClasseurGlobalFermeture("Aerolune: Relaytone");
    ASSERT_EQ(platform::dialogs::asked().size(), 1u);
    EXPECT_EQ(platform::dialogs::asked()[0].text,
              "Impossible de créer le fichier:\r\n\r\nC:\\Prog\\Local\\AL3_Relaytone\\Global.xls");
    EXPECT_EQ(platform::dialogs::asked()[0].title, "Aerolune: Relaytone");

    PbBRelanceForcee = true;
    Lib_Tableur::ExportClasseurGlobalFermeture("Aerolune: Relaytone");
    EXPECT_EQ(platform::dialogs::asked().size(), 1u);
}

}  // namespace
