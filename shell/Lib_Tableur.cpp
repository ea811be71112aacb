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
constexpr int32_t kBlack = 0x000000;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kGridColour = 197 | 206 << 8 | 217 << 16;
constexpr double kColumnWidth = 6.5;
constexpr double kRowHeight = 10.5;
constexpr double kHourWidth = 6.0;
constexpr int32_t kMarginTwips = 540;

int16_t nbStations() { return std::clamp<int16_t>(PbINbStations, 0, kMaxStations); }

std::string stationLabel(int16_t index) {
    const int16_t base = std::clamp<int16_t>(PbINoBase, 0, kMaxBases - 1);
    return PbTBases[base].Stations[index].Lib;
}

// What every sheet gets before its per-station build.
void formatSheet(platform::forms::Spread& sheetGrid) {
    sheetGrid.SetGridColor(kGridColour);
    if (Frm_MainBis::exists()) sheetGrid.SetCursorPicture(Frm_MainBis::get().ImageDragAndDrop);
}

// A copy of a workbook the grid cannot read, under its date ("Global_20261210_040815.xls"), so
// that the export does not destroy what it holds. Empty when the copy failed.
std::string keepCopy(const std::string& fichier) {
    const std::string base = globalWorkbookFolder() + "Global_" +
                             Lib_Public::Date2StringEx(platform::clock::now(), "YYYYMMDD_hhmmss");
    std::string copyPath = base + ".xls";
    for (int n = 2; Lib_Systeme::File_Exist(copyPath); ++n)
        copyPath = base + "_" + std::to_string(n) + ".xls";
    return Lib_Systeme::File_Copy(fichier, copyPath) ? copyPath : std::string();
}

// Keeps aside a workbook the grid does not hold whole, with one log line that starts with what
// happened; an empty file holds nothing to keep. True when the export may replace it.
bool setAside(const std::string& fichier, const std::string& finding, const std::string& caller) {
    if (Lib_Systeme::TailleDuFichier(fichier) == 0) {
        Lib_Public::TraceLog(-1, -1, -1,
                             "Warning: " + finding + " |Empty file: no copy needed |Sub: " + caller);
        return true;
    }
    const std::string copyPath = keepCopy(fichier);
    if (copyPath.empty()) {
        Lib_Public::TraceLog(-1, -1, -1,
                             "Err: " + finding + " |No copy kept: not replaced this run |Sub: " + caller);
        return false;
    }
    Lib_Public::TraceLog(-1, -1, -1, "Warning: " + finding + " |Kept as: " + copyPath + " |Sub: " + caller);
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
        platform::forms::Spread& sheetGrid = *fpSpreadGlobal;
        sheetGrid.Reset();
        sheetGrid.SetSheetCount(1);
        // The original's smaller grid font held a time in the time column: the width unit is
        // widened until the column does in this grid's font, whatever the desktop's.
        sheetGrid.SetTwipsPerColumnUnit(
            std::max<double>(platform::forms::Spread::kTwipsPerColumnUnit,
                             std::ceil(sheetGrid.TextWidthTwips("00:00:00") / kHourWidth)));
        for (int sheet = 1; sheet <= sheetGrid.SheetCount(); ++sheet) {
            sheetGrid.SetSheet(sheet);
            formatSheet(sheetGrid);
        }
        InitGeneralTableurGlobal(init, resize);
        sheetGrid.SetSheet(1);
    });
}

void InitGeneralTableurGlobal(bool init, bool resize) {
    if (!fpSpreadGlobal) return;
    engine::Trap(kModule + ":InitGeneralTableurGlobal", [&] {
        platform::forms::Spread& sheetGrid = *fpSpreadGlobal;
        const int16_t stations = nbStations();
        for (int sheet = 1; sheet <= sheetGrid.SheetCount(); ++sheet) {
            sheetGrid.SetSheet(sheet);
            sheetGrid.SetReDraw(false);
            int32_t c1, c2, c3;
            if (init) {
                sheetGrid.SetMaxCols(3 * stations);
                sheetGrid.SetMaxRows(kSpreadsheetRows);
                for (int16_t i = 0; i < stations; ++i) {
                    DetermineNoColAffichage(int16_t(i + 1), c1, c2, c3);
                    for (int32_t c : {c1, c2, c3}) sheetGrid.SetText(c, 0, stationLabel(i));
                    sheetGrid.SetColHidden(c3, true);
                }
                sheetGrid.SetColHidden(0, true);
                for (int c = 1; c <= sheetGrid.MaxCols(); ++c) sheetGrid.SetColWidth(c, kColumnWidth);
                for (int16_t n = 1; n <= stations; ++n) {
                    DetermineNoColAffichage(n, c1, c2, c3);
                    for (int r = 1; r <= sheetGrid.MaxRows(); ++r) {
                        sheetGrid.SetRowHeight(r, kRowHeight);
                        for (int32_t c : {c1, c3}) {
                            sheetGrid.SetBackColor(c, r, kBlack);
                            sheetGrid.SetForeColor(c, r, kWhite);
                        }
                    }
                }
            }
            if (resize) {
                // The grid lies in a tab's layout: its size is the widget's, not a twip Move.
                int32_t widthValue = sheetGrid.width() * platform::forms::kTwipsPerPixel - kMarginTwips;
                Lib_Public::CheckValiditeValeurMin(widthValue, 0);
                const double perStationCost =
                    stations > 0 ? (double(widthValue) / sheetGrid.TwipsPerColumnUnit()) / stations : 0.0;
                // A window too narrow for the time column leaves the text column at 0.
                const double textValue = std::max(0.0, perStationCost - kHourWidth);
                for (int16_t n = 1; n <= stations; ++n) {
                    DetermineNoColAffichage(n, c1, c2, c3);
                    sheetGrid.SetColWidth(c1, kHourWidth);
                    sheetGrid.SetColWidth(c2, textValue);
                    sheetGrid.SetColWidth(c3, 0);
                }
            }
            sheetGrid.SetReDraw(true);
        }
    });
}

void TableurInitDemarrage(int16_t /*noBase*/, const std::string& labelText) {
    if (!fpSpreadGlobal) return;
    engine::Trap("Frm_Main:TableurInitDemarrage", [&] {
        platform::forms::Spread& sheetGrid = *fpSpreadGlobal;
        const platform::LocalClockTime currentTime = platform::clock::now();
        const std::string hour = Lib_Public::Date2StringEx(currentTime, "hh:mm:ss");
        const std::string horodatage = Lib_Public::Date2StringEx(currentTime, "YYYY-MM-DD hh:mm:ss");
        for (int sheet = 1; sheet <= sheetGrid.SheetCount(); ++sheet) {
            sheetGrid.SetSheet(sheet);
            sheetGrid.SetReDraw(false);
            for (int r = sheetGrid.MaxRows(); r >= 2; --r) {
                for (int c = 1; c <= sheetGrid.MaxCols(); ++c) {
                    sheetGrid.SetText(c, r, sheetGrid.Text(c, r - 1));
                    sheetGrid.SetForeColor(c, r, sheetGrid.ForeColor(c, r - 1));
                    sheetGrid.SetBackColor(c, r, sheetGrid.BackColor(c, r - 1));
                }
            }
            for (int16_t n = 1; n <= nbStations(); ++n) {
                int32_t c1, c2, c3;
                DetermineNoColAffichage(n, c1, c2, c3);
                sheetGrid.SetText(c1, 1, hour);
                sheetGrid.SetBackColor(c1, 1, kBlack);
                sheetGrid.SetForeColor(c1, 1, kWhite);
                sheetGrid.SetText(c2, 1, labelText);
                sheetGrid.SetBackColor(c2, 1, kRed);
                sheetGrid.SetText(c3, 1, horodatage);
                sheetGrid.SetBackColor(c3, 1, kBlack);
                sheetGrid.SetForeColor(c3, 1, kWhite);
            }
            sheetGrid.SetReDraw(true);
        }
    });
}

std::string globalWorkbookFolder() { return PbSDossierApplication + "Local\\AL3_Relaytone\\"; }
std::string globalWorkbookFile() { return globalWorkbookFolder() + "Global.xls"; }

bool importGlobalWorkbook() {
    bool imported = false, replaceable = true;
    const std::string caller = "Frm_Main:Form_Load";
    const std::string fichier = globalWorkbookFile();
    const std::string journal = globalWorkbookFolder() + "Global_Import.log";
    if (fpSpreadGlobal && Lib_Systeme::File_Exist(fichier, caller)) {
        // The file may be replaced once the grid holds it or a copy of it was kept.
        replaceable = false;
        engine::Trap(caller, [&] {
            platform::forms::Spread& sheetGrid = *fpSpreadGlobal;
            std::vector<std::string> sheets;
            int16_t sheetCount = 0, book = 0;
            int notTakenUp = 0;
            if (sheetGrid.IsExcelFile(fichier, journal) != 1 ||
                !sheetGrid.GetExcelSheetList(fichier, sheets, sheetCount, journal, book, true) ||
                !sheetGrid.ImportExcelSheet(book, 0, 3 * nbStations(), kSpreadsheetRows, journal,
                                            notTakenUp)) {
                replaceable = setAside(fichier,
                                       "Workbook not imported: " + fichier +
                                           " |Reason: " + logtext::visible(sheetGrid.ExcelRefusal()),
                                       caller);
                return;
            }
            replaceable = notTakenUp == 0 ||
                          setAside(fichier,
                                   "Workbook imported in part: " + fichier + " |Not held by the grid: " +
                                       std::to_string(notTakenUp) + " (Global_Import.log)",
                                   caller);
            sheetGrid.SetSheetCount(1);
            for (int sheet = 1; sheet <= sheetGrid.SheetCount(); ++sheet) {
                sheetGrid.SetSheet(sheet);
                formatSheet(sheetGrid);
                InitGeneralTableurGlobal(true, false);
            }
            sheetGrid.SetSheet(1);
            // The grid's share of laying out the tab: its widths.
            InitGeneralTableurGlobal(false, true);
            imported = true;
        });
    }
    PbBClasseurGlobalLu = replaceable;
    return imported;
}

bool exportGlobalWorkbook(const std::string& workbook, const std::string& sheetName,
                          const std::string& logFile, int32_t flags) {
    if (!PbBClasseurGlobalLu) return true;
    if (!fpSpreadGlobal) return false;
    return fpSpreadGlobal->ExportToExcel(workbook, sheetName, logFile, flags);
}

void exportGlobalWorkbookOnClose(const std::string& captionText) {
    const std::string fichier = globalWorkbookFile();
    if (!exportGlobalWorkbook(fichier, "SheetName", globalWorkbookFolder() + "Global_Export.log", 0) &&
        !PbBRelanceForcee)
        platform::dialogs::MsgBox("Impossible de créer le fichier:\r\n\r\n" + fichier,
                                  platform::dialogs::vbExclamation, captionText);
}

}  // namespace Lib_Tableur

void Frm_Main::TableurInitDemarrage(int16_t noBase, const std::string& labelText) {
    Lib_Tableur::TableurInitDemarrage(noBase, labelText);
}

bool Frm_Main::fpSpreadGlobal_ExportToExcel(const std::string& workbook, const std::string& sheetName,
                                            const std::string& logFile, int32_t flags) {
    return Lib_Tableur::exportGlobalWorkbook(workbook, sheetName, logFile, flags);
}
