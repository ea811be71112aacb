// The settings window's folder set-up: base INI folders, zones, their folders, sound folders.
#include "settings/FrmSetup.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "foundation/Conversions.h"
#include "foundation/DailyLog.h"
#include "foundation/FamilyConfig.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "foundation/SystemQueries.h"
#include "settings/ErrorTrap.h"
#include "settings/IniValues.h"
#include "settings/SettingsFlags.h"

namespace {

const std::string kForm = "FrmSetup";
// Only these zones have entries in the per-base tables.
constexpr int16_t kZonesAvecDossiers = 5;
constexpr int16_t kZonesMax = 20;

const std::array<const char*, 13> kCategoriesSons = {"Mus", "Jin", "Lin", "Rub", "Inf", "Emi", "Ann",
                                                     "Chr", "Spe", "RLT", "Pre", "Pub", "Ext"};

bool estVide(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

// A base without a configuration folder has no AL3_Systeme.ini to read: its defaults hold.
std::string fichierSysteme(int16_t noBase) {
    const std::string& dossier = PbSDossierIniBase[noBase];
    return estVide(dossier) ? std::string() : dossier + "AL3_Systeme.ini";
}

std::string lireDossier(const std::string& file, const std::string& section,
                        const std::string& key, const std::string& defaut) {
    const std::string value = file.empty() ? defaut : settings::lireTexte(file, section, key, defaut);
    return Lib_Public::CheckRep(value);
}

// Computer names are plain ASCII, compared without regard to case.
bool commencePar(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

void creerSiAbsent(const std::string& folder, bool warning) {
    if (!Lib_Systeme::FolderFound(folder))
        Lib_Systeme::VerificationEtCreationRepertoire(folder, warning);
}

}  // namespace

void FrmSetup::InitGeneral() {
    settings::SurErreur(kForm + ":" + "InitGeneral", [this] {
        Lib_Public::TraceLog(-1, -1, -1, "FrmSetup: Init General: Start");
        if (estVide(PbSDossierSettings)) Lib_Public::NomDossierSettings();

        const std::string cfg = Lib_Public::DetermineDossierConfig(1);
        const int16_t nbBases = Lib_Public::DetermineDossierConfig_Bases_Nombre(cfg);
        Lib_Public::TraceLog(-1, -1, -1,
                             "AL3_Config.ini: " + cfg + " |Nb Base: " + std::to_string(nbBases));
        PbSDossierIniBase[0] = Lib_Public::DetermineDossierConfig_Fichier(cfg, 1);
        if (nbBases <= 1)
            for (auto& dossier : PbSDossierIniBase)
                if (estVide(dossier)) dossier = PbSDossierIniBase[0];

        PbINbZones = settings::lireEntier16(FichierSettings(), "General_Out", "NbZones", "1");
        PbINbZones = std::clamp<int16_t>(PbINbZones, 1, kZonesMax);

        creerSiAbsent(PbSDossierApplication + "Settings\\_Local\\", true);
        const int16_t zones = std::min(PbINbZones, kZonesAvecDossiers);
        for (int16_t zone = 0; zone < zones; ++zone) InitGeneralDossiers(zone);
        if (PbINbZones > kZonesAvecDossiers)
            Lib_Public::TraceLog(-1, -1, -1,
                                 "Warning: FrmSetup: Init General: NbZones: " +
                                     std::to_string(PbINbZones) +
                                     " |Only zones 1 to 5 have folders, zones 6 and above are "
                                     "left out");

        const std::string systeme = fichierSysteme(PbINoBase);
        std::array<std::array<std::string, 10>, kCategoriesSons.size()> dossiersSons;
        for (size_t c = 0; c < kCategoriesSons.size(); ++c) {
            const std::string section = std::string("Dossiers_Sons_") + kCategoriesSons[c];
            for (int s = 0; s < 10; ++s) {
                const std::string slot = Lib_Public::N2S(s, 2, 0, "0");
                std::string value = systeme.empty()
                                        ? std::string()
                                        : Lib_Public::CheckRep(settings::lireTexte(systeme, section, slot, ""));
                if (value.empty() && s == 0)
                    value = c > 0 ? dossiersSons[c - 1][0] : "C:\\AL_Sons\\Sons\\";
                dossiersSons[c][s] = value;
                if (!value.empty())
                    Lib_Public::TraceLog(-1, -1, -1,
                                         std::string("Sound Folder: ") + kCategoriesSons[c] + " " +
                                             slot + ": " + value);
            }
        }
        Lib_Public::TraceLog(-1, -1, -1, "FrmSetup: Init General: End");
    });
}

void FrmSetup::InitGeneralDossiers(int16_t noBase) {
    settings::SurErreur(kForm + ":" + "InitGeneralDossiers", [noBase] {
        const std::string computer = Lib_Systeme::ComputerName();
        const std::string file = fichierSysteme(noBase);
        const std::string section = "Base_" + settings::deuxChiffres(noBase);

        const std::string local =
            lireDossier(file, section, "Dossier_Local", "C:\\Vantremo\\Aerolune\\Settings\\_Local\\");
        creerSiAbsent(local, true);
        Lib_Public::TraceLog(noBase, -1, -1, "Local_Folder: " + local);

        PbSDossierDataBase[noBase] = lireDossier(file, section, "Dossier_Data", "C:\\AL_Data\\");
        creerSiAbsent(PbSDossierDataBase[noBase], true);
        Lib_Public::TraceLog(noBase, -1, -1, "Data_Folder: " + PbSDossierDataBase[noBase]);

        PbSDossierLog = lireDossier(file, section, "Dossier_Log", "C:\\AudioLog\\");
        creerSiAbsent(PbSDossierLog, false);
        PbSDossierLog += "Histo_AL3_Relaytone\\";
        creerSiAbsent(PbSDossierLog, false);

        std::string shared =
            lireDossier(file, section, "Dossier_Shared", "C:\\Vantremo\\Aerolune\\Shared\\");
        const std::string prefixe = "\\\\" + computer;
        if (commencePar(shared, prefixe))
            shared = Lib_Systeme::ChangeUNCFolder2LocalFolder(shared, computer);
        creerSiAbsent(shared, true);
        Lib_Public::TraceLog(-1, -1, -1, "Folder_Shared: " + shared);
    });
}
