// Lib_Tableur: the main window's global workbook grid: three columns per station, the widths,
// the restart rows, and the import and export of "Global.xls".
#pragma once

#include <cstdint>
#include <string>

namespace platform::forms {
class Spread;
}

namespace Lib_Tableur {

// Frm_Main.fpSpreadGlobal: the main window makes the grid on its first tab and sets it here;
// until then every operation below does nothing.
inline platform::forms::Spread* fpSpreadGlobal = nullptr;

// Whether the start-up's workbook import has run and left nothing on disk that an export may
// not replace. Before that the grid holds nothing of the workbook, and an export would replace
// the restart history with it; it stays false for the run when an unreadable workbook could
// not be copied aside.
inline bool PbBClasseurGlobalLu = false;

inline constexpr int32_t kSpreadsheetRows = 50;

// Back to the start of the process: no grid, no workbook read.
inline void resetSpreadsheet() {
    fpSpreadGlobal = nullptr;
    PbBClasseurGlobalLu = false;
}

// Station n's three columns: c1 = (n - 1) x 3 + 1, c2 = c1 + 1, c3 = c1 + 2.
void DetermineNoColAffichage(int16_t n, int32_t& c1, int32_t& c2, int32_t& c3);
// One-time set-up of the grid (start-up: True, True).
void InitGeneralTableur(bool init, bool resize);
// Per-sheet build (init) and width computation (resize) over every sheet.
void InitGeneralTableurGlobal(bool init, bool resize);
// The body of Frm_Main.TableurInitDemarrage: pushes the rows down and writes one restart row
// with the text on every sheet. noBase is not used.
void TableurInitDemarrage(int16_t noBase, const std::string& labelText);

// PbSDossierApplication & "Local\AL3_Relaytone\" and the workbook's and its logs' names.
std::string globalWorkbookFolder();
std::string globalWorkbookFile();

// The start-up's import: when "Global.xls" is an Excel workbook that reads whole, its first
// sheet replaces the grid, which is then rebuilt to the layout with the imported texts and
// colours, and its widths computed. True when imported. A workbook that does not read, or that
// holds what the grid cannot (listed in "Global_Import.log"), is copied beside it under the date
// and time ("Global_YYYYMMDD_hhmmss.xls"), with one log line, before the next export replaces
// it; an empty one needs no copy.
bool importGlobalWorkbook();
// fpSpreadGlobal's export (the error report and the shut-down); true without writing anything
// while the start-up has not imported yet, since the file still holds everything.
bool exportGlobalWorkbook(const std::string& workbook, const std::string& sheetName,
                          const std::string& logFile, int32_t flags);
// The shut-down's export: a failure shows "Impossible de créer le fichier:" and the path, under
// the title, unless a forced quit is under way.
void exportGlobalWorkbookOnClose(const std::string& captionText);

}  // namespace Lib_Tableur
