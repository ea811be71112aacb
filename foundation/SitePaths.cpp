// Where each base keeps its configuration, and the path of its system file.
#include "foundation/ConversionsVba.h"
#include "foundation/ErrorReporter.h"
#include "foundation/FamilyConfig.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/SettingsFiles.h"
#include "foundation/Site.h"
#include "platform/VbErrors.h"

namespace Lib_Site {
namespace {

void makeExist(const std::string& folder) {
    if (!VBA::Trim(folder).empty() && !Lib_Systeme::FolderFound(folder))
        Lib_Systeme::VerificationEtCreationRepertoire(folder, true);
}

}  // namespace

void InitGeneralPath(int16_t& base) {
    PbSDossierConfigSite = Lib_Public::DetermineDossierConfig(1);
    int16_t first = base, last = base;
    if (base == -1) {
        first = 0;
        last =
            PbINbBasesSite >= 0
                ? int16_t(PbINbBasesSite - 1)
                : int16_t(VBA::ValInt(Lib_Systeme::LectureIni(PbSDossierConfigSite, "Site", "NbBase", "1")) -
                          1);
    }
    if (first < 0) first = 0;
    if (last >= kMaxBases) last = kMaxBases - 1;
    for (base = first; base <= last; ++base) {
        bool preferBase = true;
        PbSDossierConfigBase[size_t(base)] = Lib_Public::DetermineDossierConfig_Bases_Dossier(
            PbSDossierConfigSite, int16_t(base + 1), preferBase);
        makeExist(PbSDossierConfigBase[size_t(base)]);
    }
}

std::string DetermineFichierSysteme(int16_t base) {
    if (base < 0 || base >= kMaxBases) {
        Lib_Public::ReportError(platform::vb::kSubscriptOutOfRange, "Subscript out of range",
                                "Lib_Site:DetermineFichierSysteme");
        return {};
    }
    std::string& folder = PbSDossierConfigBase[size_t(base)];
    if (VBA::Trim(folder).empty()) {
        int16_t copy = base;
        InitGeneralPath(copy);
    }
    makeExist(folder);
    return folder + "AL3_Systeme.ini";
}

}  // namespace Lib_Site
