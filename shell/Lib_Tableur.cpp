// The global workbook grid's layout per station, its widths and its workbook.
#include "shell/Lib_Tableur.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/ErrorTrap.h"
#include "engine/Frm_MainBis.h"
#include "foundation/Conversions.h"
#include "foundation/DailyLog.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/LogText.h"
#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/forms/Spread.h"
#include "settings/SettingsFlags.h"
#include "shell/Frm_Main.h"

namespace Lib_Tableur {
namespace {

const std::string kModule = "Lib_Tableur";
constexpr int32_t kNoir = 0x000000;
constexpr int32_t kBlanc = 0xFFFFFF;
constexpr int32_t kRouge = 0x0000FF;
constexpr int32_t kCouleurGrille = 197 | 206 << 8 | 217 << 16;
constexpr double kLargeurColonne = 6.5;
constexpr double kHauteurLigne = 10.5;
constexpr double kLargeurHeure = 6.0;
constexpr int32_t kMargeTwips = 540;

int16_t nbStations() { return std::clamp<int16_t>(PbINbStations, 0, kMaxStations); }

std::string libelleStation(int16_t index) {
    const int16_t base = std::clamp<int16_t>(PbINoBase, 0, kMaxBases - 1);
    return PbTBases[base].Stations[index].Lib;
}

// What every sheet gets before its per-station build.
void FormatFeuille(platform::forms::Spread& grille) {
    grille.SetGridColor(kCouleurGrille);
    if (Frm_MainBis::exists()) grille.SetCursorPicture(Frm_MainBis::get().ImageDragAndDrop);
}

// A copy of a workbook the grid cannot read, under its date ("Global_20261210_040815.xls"), so
// that the export does not destroy what it holds. Empty when the copy failed.
std::string GarderCopie(const std::string& fichier) {
    const std::string base = DossierClasseurGlobal() + "Global_" +
                             Lib_Public::Date2StringEx(platform::clock::now(), "YYYYMMDD_hhmmss");
    std::string copie = base + ".xls";
    for (int n = 2; Lib_Systeme::File_Exist(copie); ++n) copie = base + "_" + std::to_string(n) + ".xls";
    return Lib_Systeme::File_Copy(fichier, copie) ? copie : std::string();
}

// Keeps aside a workbook the grid does not hold whole, with one log line that starts with what
// happened; an empty file holds nothing to keep. True when the export may replace it.
bool MettreDeCote(const std::string& fichier, const std::string& constat, const std::string& caller) {
    if (Lib_Systeme::TailleDuFichier(fichier) == 0) {
        Lib_Public::TraceLog(-1, -1, -1, "Warning: " + constat + " |Empty file: no copy needed |Sub: " + caller);
        return true;
    }
    const std::string copie = GarderCopie(fichier);
    if (copie.empty()) {
        Lib_Public::TraceLog(-1, -1, -1, "Err: " + constat + " |No copy kept: not replaced this run |Sub: " + caller);
        return false;
    }
    Lib_Public::TraceLog(-1, -1, -1, "Warning: " + constat + " |Kept as: " + copie + " |Sub: " + caller);
    return true;
}

}  // namespace

void DetermineNoColAffichage(int16_t n, int32_t& c1, int32_t& c2, int32_t& c3) {
    c1 = (int32_t(n) - 1) * 3 + 1;
    c2 = c1 + 1;
    c3 = c1 + 2;
}

void InitGeneralTableur(bool init, bool resize) {
    if (!fpSpreadGlobal) return;
    engine::Trap(kModule + ":InitGeneralTableur", [&] {
        platform::forms::Spread& grille = *fpSpreadGlobal;
        grille.Reset();
        grille.SetSheetCount(1);
        // The original's smaller grid font held a time in the time column: the width unit is
        // widened until the column does in this grid's font, whatever the desktop's.
        grille.SetTwipsPerColumnUnit(std::max<double>(platform::forms::Spread::kTwipsPerColumnUnit,
                                                      std::ceil(grille.TextWidthTwips("00:00:00") / kLargeurHeure)));
        for (int sheet = 1; sheet <= grille.SheetCount(); ++sheet) {
            grille.SetSheet(sheet);
            FormatFeuille(grille);
        }
        InitGeneralTableurGlobal(init, resize);
        grille.SetSheet(1);
    });
}

void InitGeneralTableurGlobal(bool init, bool resize) {
    if (!fpSpreadGlobal) return;
    engine::Trap(kModule + ":InitGeneralTableurGlobal", [&] {
        platform::forms::Spread& grille = *fpSpreadGlobal;
        const int16_t stations = nbStations();
        for (int sheet = 1; sheet <= grille.SheetCount(); ++sheet) {
            grille.SetSheet(sheet);
            grille.SetReDraw(false);
            int32_t c1, c2, c3;
            if (init) {
                grille.SetMaxCols(3 * stations);
                grille.SetMaxRows(kLignesTableur);
                for (int16_t i = 0; i < stations; ++i) {
                    DetermineNoColAffichage(int16_t(i + 1), c1, c2, c3);
                    for (int32_t c : {c1, c2, c3}) grille.SetText(c, 0, libelleStation(i));
                    grille.SetColHidden(c3, true);
                }
                grille.SetColHidden(0, true);
                for (int c = 1; c <= grille.MaxCols(); ++c) grille.SetColWidth(c, kLargeurColonne);
                for (int16_t n = 1; n <= stations; ++n) {
                    DetermineNoColAffichage(n, c1, c2, c3);
                    for (int r = 1; r <= grille.MaxRows(); ++r) {
                        grille.SetRowHeight(r, kHauteurLigne);
                        for (int32_t c : {c1, c3}) {
                            grille.SetBackColor(c, r, kNoir);
                            grille.SetForeColor(c, r, kBlanc);
                        }
                    }
                }
            }
            if (resize) {
                // The grid lies in a tab's layout: its size is the widget's, not a twip Move.
                int32_t largeur = grille.width() * platform::forms::kTwipsPerPixel - kMargeTwips;
                Lib_Public::CheckValiditeValeurMin(largeur, 0);
                const double parStation =
                    stations > 0 ? (double(largeur) / grille.TwipsPerColumnUnit()) / stations : 0.0;
                // A window too narrow for the time column leaves the text column at 0.
                const double texte = std::max(0.0, parStation - kLargeurHeure);
                for (int16_t n = 1; n <= stations; ++n) {
                    DetermineNoColAffichage(n, c1, c2, c3);
                    grille.SetColWidth(c1, kLargeurHeure);
                    grille.SetColWidth(c2, texte);
                    grille.SetColWidth(c3, 0);
                }
            }
            grille.SetReDraw(true);
        }
    });
}

void TableurInitDemarrage(int16_t /*noBase*/, const std::string& libelle) {
    if (!fpSpreadGlobal) return;
    engine::Trap("Frm_Main:TableurInitDemarrage", [&] {
        platform::forms::Spread& grille = *fpSpreadGlobal;
        const platform::LocalClockTime maintenant = platform::clock::now();
        const std::string heure = Lib_Public::Date2StringEx(maintenant, "hh:mm:ss");
        const std::string horodatage = Lib_Public::Date2StringEx(maintenant, "YYYY-MM-DD hh:mm:ss");
        for (int sheet = 1; sheet <= grille.SheetCount(); ++sheet) {
            grille.SetSheet(sheet);
            grille.SetReDraw(false);
            for (int r = grille.MaxRows(); r >= 2; --r) {
                for (int c = 1; c <= grille.MaxCols(); ++c) {
                    grille.SetText(c, r, grille.Text(c, r - 1));
                    grille.SetForeColor(c, r, grille.ForeColor(c, r - 1));
                    grille.SetBackColor(c, r, grille.BackColor(c, r - 1));
                }
            }
            for (int16_t n = 1; n <= nbStations(); ++n) {
                int32_t c1, c2, c3;
                DetermineNoColAffichage(n, c1, c2, c3);
                grille.SetText(c1, 1, heure);
                grille.SetBackColor(c1, 1, kNoir);
                grille.SetForeColor(c1, 1, kBlanc);
                grille.SetText(c2, 1, libelle);
                grille.SetBackColor(c2, 1, kRouge);
                grille.SetText(c3, 1, horodatage);
                grille.SetBackColor(c3, 1, kNoir);
                grille.SetForeColor(c3, 1, kBlanc);
            }
            grille.SetReDraw(true);
        }
    });
}

std::string DossierClasseurGlobal() { return PbSDossierApplication + "Local\\AL3_Relaytone\\"; }
std::string FichierClasseurGlobal() { return DossierClasseurGlobal() + "Global.xls"; }

bool ImportClasseurGlobal() {
    bool importe = false, remplacable = true;
    const std::string caller = "Frm_Main:Form_Load";
    const std::string fichier = FichierClasseurGlobal();
    const std::string journal = DossierClasseurGlobal() + "Global_Import.log";
    if (fpSpreadGlobal && Lib_Systeme::File_Exist(fichier, caller)) {
        // The file may be replaced once the grid holds it or a copy of it was kept.
        remplacable = false;
        engine::Trap(caller, [&] {
            platform::forms::Spread& grille = *fpSpreadGlobal;
            std::vector<std::string> feuilles;
            int16_t nbFeuilles = 0, classeur = 0;
            int nonRepris = 0;
            if (grille.IsExcelFile(fichier, journal) != 1 ||
                !grille.GetExcelSheetList(fichier, feuilles, nbFeuilles, journal, classeur, true) ||
                !grille.ImportExcelSheet(classeur, 0, 3 * nbStations(), kLignesTableur, journal, nonRepris)) {
                remplacable = MettreDeCote(
                    fichier, "Workbook not imported: " + fichier + " |Reason: " + logtext::visible(grille.ExcelRefusal()), caller);
                return;
            }
            remplacable = nonRepris == 0 ||
                          MettreDeCote(fichier,
                                       "Workbook imported in part: " + fichier + " |Not held by the grid: " +
                                           std::to_string(nonRepris) + " (Global_Import.log)",
                                       caller);
            grille.SetSheetCount(1);
            for (int sheet = 1; sheet <= grille.SheetCount(); ++sheet) {
                grille.SetSheet(sheet);
                FormatFeuille(grille);
                InitGeneralTableurGlobal(true, false);
            }
            grille.SetSheet(1);
            // The grid's share of laying out the tab: its widths.
            InitGeneralTableurGlobal(false, true);
            importe = true;
        });
    }
    PbBClasseurGlobalLu = remplacable;
    return importe;
}

bool ExportClasseurGlobal(const std::string& workbook, const std::string& sheetName,
                          const std::string& logFile, int32_t flags) {
    if (!PbBClasseurGlobalLu) return true;
    if (!fpSpreadGlobal) return false;
    return fpSpreadGlobal->ExportToExcel(workbook, sheetName, logFile, flags);
}

void ExportClasseurGlobalFermeture(const std::string& titre) {
    const std::string fichier = FichierClasseurGlobal();
    if (!ExportClasseurGlobal(fichier, "SheetName", DossierClasseurGlobal() + "Global_Export.log", 0) &&
        !PbBRelanceForcee)
        platform::dialogs::MsgBox("Impossible de créer le fichier:\r\n\r\n" + fichier,
                                  platform::dialogs::vbExclamation, titre);
}

}  // namespace Lib_Tableur

void Frm_Main::TableurInitDemarrage(int16_t noBase, const std::string& libelle) {
    Lib_Tableur::TableurInitDemarrage(noBase, libelle);
}

bool Frm_Main::fpSpreadGlobal_ExportToExcel(const std::string& workbook, const std::string& sheetName,
                                           const std::string& logFile, int32_t flags) {
    return Lib_Tableur::ExportClasseurGlobal(workbook, sheetName, logFile, flags);
}
