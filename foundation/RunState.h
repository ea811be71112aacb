// Process-wide run-state flags and folders that the waits, the log and the reporters test.
#pragma once

#include <cstdint>
#include <string>

inline bool Abandon = false;              // shut-down under way
inline bool PbBQuitter = false;           // quit or restart confirmed
inline bool PbBRelanceForcee = false;     // quit without questions
inline bool PbBDemarrageEnCours = false;  // start-up under way
inline bool PbBFeuilleChargee = false;    // main window shown
inline bool PbBDemarrageTermine = false;  // start-up finished
inline bool PbBFrmSetupChargee = false;   // settings window loaded

// Folders, each ending with a backslash.
inline std::string PbSDossierApplication;
inline std::string PbSDossierSettings;
inline std::string PbSDossierLog;

inline const std::string PbSFormatDate = "dd/MM/yyyy";
inline const std::string PbSFormatHeure = "HH:MM:SS";

inline int16_t PbINoInstance = 0;
inline std::string PbSLigneCommande;
inline int16_t PbIDefaultNoBase = -1;
