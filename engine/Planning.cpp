// Frm_MainBis's weekly planning: the grid of sheets "Programme", "Emission" and "URL Emission",
// their labels and sizes, and the cells read from the player's settings file.
#include "engine/Planning.h"

#include <array>
#include <vector>

#include <QCoreApplication>

#include "engine/ErrorTrap.h"
#include "engine/Frm_MainBis.h"
#include "foundation/Conversions.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "platform/forms/Spread.h"

namespace engine {
namespace {

constexpr int kDays = 7;
constexpr int kCells = 672;  // 7 days of 96 quarter hours
constexpr int32_t kSlice = 200;
constexpr const char* kSection = "Planning";
// A design size for the grid that is never shown, in twips.
constexpr double kGridWidth = 15360, kGridHeight = 11520;

std::string substitute(std::string textValue, const std::string& motif, const std::string& par) {
    for (size_t at = textValue.find(motif); at != std::string::npos;
         at = textValue.find(motif, at + par.size()))
        textValue.replace(at, motif.size(), par);
    return textValue;
}

std::vector<std::string> split(const std::string& textValue) {
    std::vector<std::string> morceaux{{}};
    for (char c : textValue) {
        if (c == '|')
            morceaux.emplace_back();
        else
            morceaux.back().push_back(c);
    }
    return morceaux;
}

std::string lineLabel(int feuille, int lineText) {
    static const std::array<const char*, 4> kQuarters{" 00", " 15", " 30", " 45"};
    if (feuille == 1) return "H" + Lib_Public::N2S(lineText - 1, 2);
    return "H" + Lib_Public::N2S((lineText - 1) / 4, 2) + kQuarters[(lineText - 1) % 4];
}

// The sheet's text: the keys' values in order, each made exactly 200 characters long.
std::string sheetText(const std::string& fichier, const std::string& prefixText) {
    std::string textValue;
    for (int n = 0; !PbBQuitter; ++n) {
        const std::string number = n < 100 ? Lib_Public::N2S(n, 2) : std::to_string(n);
        const std::string valueText = Lib_Systeme::LectureIni(fichier, kSection, prefixText + number, "");
        if (valueText.empty()) break;
        std::string blank = " ";
        textValue += Lib_Public::Calibre(valueText, blank, kSlice);
        QCoreApplication::processEvents();
    }
    return textValue;
}

void loadSheet(platform::forms::Spread& sheetGrid, int feuille, const std::string& fichier) {
    std::string textValue = sheetText(fichier, feuille == 2 ? "Emission_" : "URLEmission_");
    if (textValue.empty()) textValue = std::string(kCells, '|');
    const std::vector<std::string> morceaux = split(textValue);
    size_t next = 0;
    for (int col = 1; col <= kDays; ++col) {
        for (int lineText = 1; lineText <= sheetGrid.MaxRows(); ++lineText) {
            if (next >= morceaux.size()) return;
            sheetGrid.SetText(col, lineText,
                              substitute(substitute(morceaux[next++], "%7C", "|"), "%20", " "));
        }
    }
}

}  // namespace

std::string LibJour(int16_t jour, int16_t lengthValue) {
    static const std::array<const char*, kDays> kLongs{"Lundi",    "Mardi",  "Mercredi", "Jeudi",
                                                       "Vendredi", "Samedi", "Dimanche"};
    if (jour < 1 || jour > kDays) return {};
    const std::string nameText = kLongs[jour - 1];
    return lengthValue == 3 ? nameText.substr(0, 3) : nameText;
}

std::string playerFile(const std::string& configFolder) {
    std::string fichier = configFolder + "AL3_Player.ini";
    if (Lib_Systeme::File_Exist(fichier, "Frm_MainBis:InitPlanning", true)) return fichier;
    for (char letter = 'A'; letter <= 'H'; ++letter) {
        fichier = configFolder + "AL3_Player_" + letter + ".ini";
        if (Lib_Systeme::File_Exist(fichier, "Frm_MainBis:InitPlanning", true)) break;
    }
    return fichier;
}

}  // namespace engine

void Frm_MainBis::InitPlanning() {
    engine::Trap("Frm_MainBis:InitPlanning", [&] {
        if (!fpSpreadPlanning) {
            fpSpreadPlanning = new platform::forms::Spread(this);
            fpSpreadPlanning->Move(0, 0, engine::kGridWidth, engine::kGridHeight);
        }
        const std::string dossier = Lib_Public::CheckRep(
            Lib_Systeme::LectureIni(PbSDossierApplication + "Settings\\AL3_Config.ini", "Site",
                                    "Dossier_Config_Global", "C:\\Vantremo\\Aerolune\\Config\\"));
        const std::string fichier = engine::playerFile(dossier);
        bool reset = true;
        InitPlanning_Grid(3, reset);

        platform::forms::Spread& sheetGrid = *fpSpreadPlanning;
        using platform::forms::Spread;
        sheetGrid.SetReDraw(false);
        for (int feuille = 1; feuille <= sheetGrid.SheetCount(); ++feuille) {
            sheetGrid.SetSheet(feuille);
            const int lineList = feuille == 1 ? 24 : 96;
            sheetGrid.SetMaxCols(engine::kDays);
            sheetGrid.SetMaxRows(lineList);
            for (int16_t jour = 1; jour <= engine::kDays; ++jour)
                sheetGrid.SetText(jour, 0, engine::LibJour(jour, 0));
            for (int lineText = 1; lineText <= lineList; ++lineText)
                sheetGrid.SetText(0, lineText, engine::lineLabel(feuille, lineText));
            sheetGrid.SetColWidth(0, feuille == 1 ? 4 : 6);
            const double header = sheetGrid.ColWidthToTwips(sheetGrid.ColWidth(0));
            for (int col = 1; col <= engine::kDays; ++col)
                sheetGrid.SetColWidth(
                    col, (sheetGrid.Width() - 420 - header) / engine::kDays / sheetGrid.TwipsPerColumnUnit());
            const double headerLine = Spread::RowHeightToTwips(sheetGrid.RowHeight(0));
            const double heightValue =
                (sheetGrid.Height() - 960 - headerLine) / lineList / 22 * (feuille == 1 ? 1 : 3);
            for (int lineText = 1; lineText <= lineList; ++lineText)
                sheetGrid.SetRowHeight(lineText, heightValue);
            if (feuille >= 2) engine::loadSheet(sheetGrid, feuille, fichier);
        }
        sheetGrid.SetReDraw(true);
    });
}

void Frm_MainBis::InitPlanning_Grid(int16_t sheetCount, bool& reset) {
    engine::Trap("Frm_MainBis:InitPlanning_Grid", [&] {
        if (PbBQuitter || !fpSpreadPlanning) return;
        platform::forms::Spread& sheetGrid = *fpSpreadPlanning;
        sheetGrid.SetReDraw(false);
        if (reset) sheetGrid.Reset();
        sheetGrid.SetSheetCount(sheetCount);
        static const std::array<const char*, 3> kNames{"Programme", "Emission", "URL Emission"};
        for (int feuille = 1; feuille <= sheetGrid.SheetCount(); ++feuille) {
            sheetGrid.SetSheet(feuille);
            if (feuille <= int(kNames.size())) sheetGrid.SetSheetName(kNames[feuille - 1]);
            sheetGrid.SetFontName("Arial");
        }
        sheetGrid.SetSheet(1);
        sheetGrid.SetReDraw(true);
    });
}
