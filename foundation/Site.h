// Lib_Site: the site's bases, the chosen base's record, folders and stations, set once at start.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// One station of a base.
struct InfoStation {
    std::string Lib;
    bool Actif = false;
};

// One base of the site; every folder ends with a backslash.
struct InfoBase {
    std::string Lib;
    bool Actif = false;
    int16_t NbStation = 0;  // at most 20 (one record per station)
    std::string DossierIni;
    std::string Dossier_Log;
    std::string Dossier_Local;
    std::string DossierIniLocal;
    std::string Dossier_Shared;
    std::string Dossier_Data;
    std::string Backup;
    std::string Dossier_Notes;
    std::string DossierImage;
    std::string Dossier_Notes_Schedule;
    std::array<InfoStation, 20> Stations{};
};

inline constexpr int16_t kMaxBases = 5;
inline constexpr int16_t kMaxStations = 20;
inline constexpr int16_t kMaxStationsHandled = 7;

inline std::string PbSDossierConfigSite;                   // full path of AL3_Config.ini
inline int16_t PbINbBasesSite = 0;                         // 1 once a base has been chosen
inline std::array<std::string, 5> PbSDossierConfigBase{};  // each base's configuration folder
inline std::array<InfoBase, 5> PbTBases{};                 // entry 0: the base worked on
inline int16_t PbINbLignesUDP = 0;                         // UDP rows of the settings window
inline int16_t PbINbStations = 0;                          // stations handled

namespace Lib_Site {

// Settles the base (command line or FrmSelectBase), records it in AL3_Config.ini, fills base 0,
// makes its folders, checks its data and keeps a copy of the program. Ends the program at once
// when the operator cancels the choice or the data question.
void InitGeneralSite(int16_t unused = -1);
// The base's system file: its configuration folder and "AL3_Systeme.ini"; the folder is filled
// and created when needed.
std::string DetermineFichierSysteme(int16_t base);
// The configuration folders of one base, or of every base of the site for -1.
void InitGeneralPath(int16_t& base);
// The radio's identity, once base 0 is filled: PbSNomRadio are its station labels,
// PbIIdRadio is AL3_Config.ini "Site"/"Id_Radio" (default 0) and PbIIndexNomRadio the station
// "Site"/"NoStation_Radio" names, from 1 (default 1); a value out of range is logged and the
// default taken.
void initRadioIdentity();

// Back to the start of the process: no site read, no base chosen.
inline void resetSite() {
    PbSDossierConfigSite.clear();
    PbINbBasesSite = 0;
    PbSDossierConfigBase = {};
    PbTBases = {};
    PbINbLignesUDP = 0;
    PbINbStations = 0;
}

}  // namespace Lib_Site
