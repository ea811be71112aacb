// AL3_Config.ini lookups; the layout is chosen once, on the first call.
#include "foundation/FamilyConfig.h"

#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "foundation/SystemQueries.h"
#include "platform/Dialogs.h"

namespace Lib_Public {
namespace {

const std::string kDefaultBaseFolder = "C:\\Vantremo\\Aerolune\\Config\\";

struct Kept {
    bool workedOut = false;
    std::string path;
};
Kept& kept() {
    static Kept k;
    return k;
}

std::string baseSection(int16_t base) { return "Base_" + N2S(base, 2, 0, "0"); }
std::string read(const std::string& file, const std::string& section, const std::string& key,
                 const std::string& defaultValue) {
    return Lib_Systeme::LectureIni(file, section, key, defaultValue);
}
bool blank(const std::string& value) { return VBA::Trim(value).empty(); }

}  // namespace

void resetFamilyConfig() {
    kept() = {};
    ConfigParSite = false;
}

std::string DetermineDossierConfig(int16_t /*unused*/) {
    Kept& k = kept();
    if (k.workedOut) return k.path;
    if (PbLVersionOS == 0) Lib_Systeme::GetOSDisplayString();
    ConfigParSite = true;
    k.path = PbSDossierApplication + "Settings\\AL3_Config.ini";
    const bool vistaOrLater = PbLVersionOS >= 6 && PbLVersionOS <= 12;
    if (!vistaOrLater && !Lib_Systeme::File_Exist(k.path, "Lib_Public:DetermineDossierConfig", false)) {
        ConfigParSite = false;
        platform::dialogs::MsgBox("Fichier de configuration non trouvé: \r\n\r\n" + k.path,
                                  platform::dialogs::vbInformation, neighbours::Frm_Main().Caption());
    }
    k.workedOut = true;
    return k.path;
}

std::string DetermineDossierConfig_Bases_Dossier(const std::string& file, int16_t base, bool& preferBase) {
    std::string folder;
    if (!ConfigParSite) {
        folder = read(file, "Vantremo", "Ini_Base_" + N2S(base, 2, 0, "0"), "");
    } else if (preferBase) {
        folder = read(file, baseSection(base), "Dossier_Config_Global", kDefaultBaseFolder);
        if (blank(folder)) folder = read(file, "Site", "Dossier_Config_Global", "");
    } else {
        folder = read(file, "Site", "Dossier_Config_Global", "");
        if (blank(folder))
            folder = read(file, baseSection(base), "Dossier_Config_Global", kDefaultBaseFolder);
    }
    return CheckRep(folder);
}

int16_t DetermineDossierConfig_Bases_Nombre(const std::string& file) {
    if (ConfigParSite) return VBA::ValInt(read(file, "Sites", "NbBase", "1"));
    return VBA::ValInt(read(file, "Vantremo", "Nb_Base", "0"));
}

std::string DetermineDossierConfig_Fichier(const std::string& file, int16_t base) {
    const std::string programConfig = PbSDossierApplication + "Config\\";
    std::string folder;
    if (ConfigParSite) {
        folder = read(file, "Site", "Dossier_Config_Global", "");
        TraceLog(-1, -1, -1, "Dossier_Config_Global: " + folder + " /A");
        if (blank(folder)) {
            folder = CheckRep(read(file, baseSection(base), "Dossier_Config_Global", programConfig));
            TraceLog(-1, -1, -1, "Dossier_Config_Global: " + folder + " /B");
        }
    } else {
        const bool unc = read(file, "Vantremo", "UNC_Actif", "0FF") == "ON";
        const std::string key = unc ? "INI_AEROLUNE_UNC" : "INI_AEROLUNE";
        folder = CheckRep(read(file, "Vantremo", key, programConfig));
        TraceLog(-1, -1, -1, key + ": " + folder);
        if (blank(folder)) {
            const std::string number = N2S(base, 2, 0, "0");
            folder = read(file, "Vantremo", "Ini_Base_" + number, "");
            TraceLog(-1, -1, -1, "Ini_Base_" + number + ": " + folder);
        }
    }
    return CheckRep(folder);
}

}  // namespace Lib_Public
