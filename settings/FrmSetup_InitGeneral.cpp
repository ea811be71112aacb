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
constexpr int16_t kZonesWithFolders = 5;
constexpr int16_t kZonesMax = 20;

const std::array<const char*, 13> kSoundCategories = {"Mus", "Jin", "Lin", "Rub", "Inf", "Emi", "Ann",
                                                      "Chr", "Spe", "RLT", "Pre", "Pub", "Ext"};

bool isEmpty(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

// A base without a configuration folder has no AL3_Systeme.ini to read: its defaults hold.
std::string systemFile(int16_t noBase) {
    const std::string& dossier = PbSDossierIniBase[noBase];
    return isEmpty(dossier) ? std::string() : dossier + "AL3_Systeme.ini";
}

std::string readFolder(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& fallback) {
    const std::string value = file.empty() ? fallback : settings::readText(file, section, key, fallback);
    return Lib_Public::CheckRep(value);
}

// Computer names are plain ASCII, compared without regard to case.
bool beginsWith(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

void createIfMissing(const std::string& folder, bool warning) {
    if (!Lib_Systeme::FolderFound(folder)) Lib_Systeme::VerificationEtCreationRepertoire(folder, warning);
}

}  // namespace

void FrmSetup::InitGeneral() {
    settings::onError(kForm + ":" + "InitGeneral", [this] {
        Lib_Public::TraceLog(-1, -1, -1, "FrmSetup: Init General: Start");
        if (isEmpty(PbSDossierSettings)) Lib_Public::NomDossierSettings();

        const std::string cfg = Lib_Public::DetermineDossierConfig(1);
        const int16_t nbBases = Lib_Public::DetermineDossierConfig_Bases_Nombre(cfg);
        Lib_Public::TraceLog(-1, -1, -1, "AL3_Config.ini: " + cfg + " |Nb Base: " + std::to_string(nbBases));
        PbSDossierIniBase[0] = Lib_Public::DetermineDossierConfig_Fichier(cfg, 1);
        if (nbBases <= 1)
            for (auto& dossier : PbSDossierIniBase)
                if (isEmpty(dossier)) dossier = PbSDossierIniBase[0];

        PbINbZones = settings::readInteger16(settingsFile(), "General_Out", "NbZones", "1");
        PbINbZones = std::clamp<int16_t>(PbINbZones, 1, kZonesMax);

        createIfMissing(PbSDossierApplication + "Settings\\_Local\\", true);
        const int16_t zones = std::min(PbINbZones, kZonesWithFolders);
        for (int16_t zone = 0; zone < zones; ++zone) InitGeneralDossiers(zone);
        if (PbINbZones > kZonesWithFolders)
            Lib_Public::TraceLog(-1, -1, -1,
                                 "Warning: FrmSetup: Init General: NbZones: " + std::to_string(PbINbZones) +
                                     " |Only zones 1 to 5 have folders, zones 6 and above are "
                                     "left out");

        const std::string systemDir = systemFile(PbINoBase);
        std::array<std::array<std::string, 10>, kSoundCategories.size()> soundFolders;
        for (size_t c = 0; c < kSoundCategories.size(); ++c) {
            const std::string section = std::string("Dossiers_Sons_") + kSoundCategories[c];
            for (int s = 0; s < 10; ++s) {
                const std::string slot = Lib_Public::N2S(s, 2, 0, "0");
                std::string value =
                    systemDir.empty()
                        ? std::string()
                        : Lib_Public::CheckRep(settings::readText(systemDir, section, slot, ""));
                if (value.empty() && s == 0) value = c > 0 ? soundFolders[c - 1][0] : "C:\\AL_Sons\\Sons\\";
                soundFolders[c][s] = value;
                if (!value.empty())
                    Lib_Public::TraceLog(
                        -1, -1, -1,
                        std::string("Sound Folder: ") + kSoundCategories[c] + " " + slot + ": " + value);
            }
        }
        Lib_Public::TraceLog(-1, -1, -1, "FrmSetup: Init General: End");
    });
}

void FrmSetup::InitGeneralDossiers(int16_t noBase) {
    settings::onError(kForm + ":" + "InitGeneralDossiers", [noBase] {
        const std::string computer = Lib_Systeme::ComputerName();
        const std::string file = systemFile(noBase);
        const std::string section = "Base_" + settings::twoDigits(noBase);

        const std::string local =
            readFolder(file, section, "Dossier_Local", "C:\\Vantremo\\Aerolune\\Settings\\_Local\\");
        createIfMissing(local, true);
        Lib_Public::TraceLog(noBase, -1, -1, "Local_Folder: " + local);

        PbSDossierDataBase[noBase] = readFolder(file, section, "Dossier_Data", "C:\\AL_Data\\");
        createIfMissing(PbSDossierDataBase[noBase], true);
        Lib_Public::TraceLog(noBase, -1, -1, "Data_Folder: " + PbSDossierDataBase[noBase]);

        PbSDossierLog = readFolder(file, section, "Dossier_Log", "C:\\AudioLog\\");
        createIfMissing(PbSDossierLog, false);
        PbSDossierLog += "Histo_AL3_Relaytone\\";
        createIfMissing(PbSDossierLog, false);

        std::string shared = readFolder(file, section, "Dossier_Shared", "C:\\Vantremo\\Aerolune\\Shared\\");
        const std::string prefixText = "\\\\" + computer;
        if (beginsWith(shared, prefixText))
            shared = Lib_Systeme::ChangeUNCFolder2LocalFolder(shared, computer);
        createIfMissing(shared, true);
        Lib_Public::TraceLog(-1, -1, -1, "Folder_Shared: " + shared);
    });
}
