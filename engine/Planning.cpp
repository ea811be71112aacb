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

constexpr int kJours = 7;
constexpr int kCellules = 672;  // 7 days of 96 quarter hours
constexpr int32_t kTranche = 200;
constexpr const char* kSection = "Planning";
// A design size for the grid that is never shown, in twips.
constexpr double kLargeurGrille = 15360, kHauteurGrille = 11520;

std::string remplacer(std::string texte, const std::string& motif, const std::string& par) {
    for (size_t at = texte.find(motif); at != std::string::npos; at = texte.find(motif, at + par.size()))
        texte.replace(at, motif.size(), par);
    return texte;
}

std::vector<std::string> decouper(const std::string& texte) {
    std::vector<std::string> morceaux{{}};
    for (char c : texte) {
        if (c == '|') morceaux.emplace_back();
        else morceaux.back().push_back(c);
    }
    return morceaux;
}

std::string libelleLigne(int feuille, int ligne) {
    static const std::array<const char*, 4> kQuarts{" 00", " 15", " 30", " 45"};
    if (feuille == 1) return "H" + Lib_Public::N2S(ligne - 1, 2);
    return "H" + Lib_Public::N2S((ligne - 1) / 4, 2) + kQuarts[(ligne - 1) % 4];
}

// The sheet's text: the keys' values in order, each made exactly 200 characters long.
std::string texteFeuille(const std::string& fichier, const std::string& prefixe) {
    std::string texte;
    for (int n = 0; !PbBQuitter; ++n) {
        const std::string numero = n < 100 ? Lib_Public::N2S(n, 2) : std::to_string(n);
        const std::string valeur = Lib_Systeme::LectureIni(fichier, kSection, prefixe + numero, "");
        if (valeur.empty()) break;
        std::string blanc = " ";
        texte += Lib_Public::Calibre(valeur, blanc, kTranche);
        QCoreApplication::processEvents();
    }
    return texte;
}

void chargerFeuille(platform::forms::Spread& grille, int feuille, const std::string& fichier) {
    std::string texte = texteFeuille(fichier, feuille == 2 ? "Emission_" : "URLEmission_");
    if (texte.empty()) texte = std::string(kCellules, '|');
    const std::vector<std::string> morceaux = decouper(texte);
    size_t suivant = 0;
    for (int col = 1; col <= kJours; ++col) {
        for (int ligne = 1; ligne <= grille.MaxRows(); ++ligne) {
            if (suivant >= morceaux.size()) return;
            grille.SetText(col, ligne, remplacer(remplacer(morceaux[suivant++], "%7C", "|"), "%20", " "));
        }
    }
}

}  // namespace

std::string LibJour(int16_t jour, int16_t longueur) {
    static const std::array<const char*, kJours> kLongs{"Lundi", "Mardi", "Mercredi", "Jeudi",
                                                        "Vendredi", "Samedi", "Dimanche"};
    if (jour < 1 || jour > kJours) return {};
    const std::string nom = kLongs[jour - 1];
    return longueur == 3 ? nom.substr(0, 3) : nom;
}

std::string FichierPlayer(const std::string& dossierConfig) {
    std::string fichier = dossierConfig + "AL3_Player.ini";
    if (Lib_Systeme::File_Exist(fichier, "Frm_MainBis:InitPlanning", true)) return fichier;
    for (char lettre = 'A'; lettre <= 'H'; ++lettre) {
        fichier = dossierConfig + "AL3_Player_" + lettre + ".ini";
        if (Lib_Systeme::File_Exist(fichier, "Frm_MainBis:InitPlanning", true)) break;
    }
    return fichier;
}

}  // namespace engine

void Frm_MainBis::InitPlanning() {
    engine::Trap("Frm_MainBis:InitPlanning", [&] {
        if (!fpSpreadPlanning) {
            fpSpreadPlanning = new platform::forms::Spread(this);
            fpSpreadPlanning->Move(0, 0, engine::kLargeurGrille, engine::kHauteurGrille);
        }
        const std::string dossier = Lib_Public::CheckRep(Lib_Systeme::LectureIni(
            PbSDossierApplication + "Settings\\AL3_Config.ini", "Site", "Dossier_Config_Global",
            "C:\\Vantremo\\Aerolune\\Config\\"));
        const std::string fichier = engine::FichierPlayer(dossier);
        bool reset = true;
        InitPlanning_Grid(3, reset);

        platform::forms::Spread& grille = *fpSpreadPlanning;
        using platform::forms::Spread;
        grille.SetReDraw(false);
        for (int feuille = 1; feuille <= grille.SheetCount(); ++feuille) {
            grille.SetSheet(feuille);
            const int lignes = feuille == 1 ? 24 : 96;
            grille.SetMaxCols(engine::kJours);
            grille.SetMaxRows(lignes);
            for (int16_t jour = 1; jour <= engine::kJours; ++jour) grille.SetText(jour, 0, engine::LibJour(jour, 0));
            for (int ligne = 1; ligne <= lignes; ++ligne) grille.SetText(0, ligne, engine::libelleLigne(feuille, ligne));
            grille.SetColWidth(0, feuille == 1 ? 4 : 6);
            const double entete = grille.ColWidthToTwips(grille.ColWidth(0));
            for (int col = 1; col <= engine::kJours; ++col)
                grille.SetColWidth(col, (grille.Width() - 420 - entete) / engine::kJours / grille.TwipsPerColumnUnit());
            const double enteteLigne = Spread::RowHeightToTwips(grille.RowHeight(0));
            const double hauteur = (grille.Height() - 960 - enteteLigne) / lignes / 22 * (feuille == 1 ? 1 : 3);
            for (int ligne = 1; ligne <= lignes; ++ligne) grille.SetRowHeight(ligne, hauteur);
            if (feuille >= 2) engine::chargerFeuille(grille, feuille, fichier);
        }
        grille.SetReDraw(true);
    });
}

void Frm_MainBis::InitPlanning_Grid(int16_t nbFeuilles, bool& reset) {
    engine::Trap("Frm_MainBis:InitPlanning_Grid", [&] {
        if (PbBQuitter || !fpSpreadPlanning) return;
        platform::forms::Spread& grille = *fpSpreadPlanning;
        grille.SetReDraw(false);
        if (reset) grille.Reset();
        grille.SetSheetCount(nbFeuilles);
        static const std::array<const char*, 3> kNoms{"Programme", "Emission", "URL Emission"};
        for (int feuille = 1; feuille <= grille.SheetCount(); ++feuille) {
            grille.SetSheet(feuille);
            if (feuille <= int(kNoms.size())) grille.SetSheetName(kNoms[feuille - 1]);
            grille.SetFontName("Arial");
        }
        grille.SetSheet(1);
        grille.SetReDraw(true);
    });
}
