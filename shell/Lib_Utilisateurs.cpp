// The mandatory-user setting, read once and kept for the run.
#include "shell/Lib_Utilisateurs.h"

#include <optional>

#include "foundation/SettingsFiles.h"
#include "foundation/Site.h"

namespace Lib_Utilisateurs {

bool UserObligatoire() {
    static std::optional<bool> obligatoire;
    if (!obligatoire)
        obligatoire = Lib_Systeme::LectureIni(PbSDossierConfigBase[0] + "AL3_Systeme.ini", "DroitsUsers",
                                              "Actif", "0") != "0";
    return *obligatoire;
}

}  // namespace Lib_Utilisateurs
