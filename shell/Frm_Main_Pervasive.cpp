// The database files of a base: the fixed set opened at start-up and closed at shut-down.
#include "btrieve/Catalogue.h"
#include "btrieve/ErrorReport.h"
#include "btrieve/OpenClose.h"
#include "btrieve/Operation.h"
#include "btrieve/Records.h"
#include "foundation/DailyLog.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/RunState.h"
#include "foundation/Site.h"
#include "shell/Frm_Main.h"

namespace {

const char* const kOpening = "Frm_Main:PervasiveOuvertureFichiers";
// Always opened, in this order; closed in the reverse order.
const int16_t kFiles[] = {20, 21, 22, 26, 31, 32, 37, 43, 44, 45, 47};

}  // namespace

void Frm_Main::PervasiveOuvertureFichiers(int16_t noBase, int16_t noStationInf, int16_t noStationSup) {
    if (noBase < 0 || noBase > 4) return;
    if (!catalogueInitialise_) {
        Lib_Data_BTrieve_2::InitGeneralData();
        catalogueInitialise_ = true;
    }
    if (openFiles_[noBase]) PervasiveFermetureFichiers(noBase, noStationInf, noStationSup, -1);
    // Counted as open from the first file on: a quit confirmed from an error report during the
    // opening closes those already open.
    openFiles_[noBase] = true;
    openStations_[noBase] = {noStationInf, noStationSup};
    for (const int16_t fichier : kFiles)
        Lib_Data_BTrieve::FichierPervasiveOuvrir(noBase, noStationInf, noStationSup, fichier, 0);
    const std::string dossier = PbTBases[noBase].Dossier_Data;
    PbBFRADx55Ouvert = Lib_Systeme::File_Exist(dossier + "FRADA55.bt6", kOpening, false);
    if (PbBFRADx55Ouvert) Lib_Data_BTrieve::FichierPervasiveOuvrir(noBase, noStationInf, noStationSup, 55, 0);
    PbBFRAD059Ouvert = Lib_Systeme::File_Exist(dossier + "FRAD059.bt6", kOpening, false);
    if (PbBFRAD059Ouvert) Lib_Data_BTrieve::FichierPervasiveOuvrir(noBase, noStationInf, noStationSup, 59, 0);
    Lib_Public::TraceLog(noBase, -1, -1, "Pervasive Files: Opened");
}

void Frm_Main::PervasiveFermetureFichiers(int16_t noBase, int16_t noStationInf, int16_t noStationSup,
                                          int16_t fileNumber) {
    if (noBase < 0 || noBase > 4) return;
    if (fileNumber != -1) {
        Lib_Data_BTrieve::FichierPervasiveFermer(noBase, noStationInf, noStationSup, fileNumber);
        Lib_Public::TraceLog(noBase, -1, -1, "Pervasive File: " + std::to_string(fileNumber) + ": Closed");
        return;
    }
    if (PbBFRAD059Ouvert) Lib_Data_BTrieve::FichierPervasiveFermer(noBase, noStationInf, noStationSup, 59);
    if (PbBFRADx55Ouvert)
        Lib_Data_BTrieve::FichierPervasiveFermer(noBase, noStationInf, noStationSup, kFileFRADx55);
    for (auto it = std::rbegin(kFiles); it != std::rend(kFiles); ++it)
        Lib_Data_BTrieve::FichierPervasiveFermer(noBase, noStationInf, noStationSup, *it);
    Lib_Public::TraceLog(noBase, -1, -1, "Pervasive Files: Closed");
    openFiles_[noBase] = false;
}
