// Process-wide run-state flags and folders that the waits, the log and the reporters test.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/Clock.h"
#include "platform/StopSignals.h"

inline bool Abandon = false;  // shut-down under way
// A stop signal came; set by the signal handler itself, so that waits which let no events run
// (a record held by another process) give up before the shut-down can start.
inline std::atomic<bool>& PbBArretSignale = platform::stopsignals::raised();
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

// Main window and start-up.
inline platform::LocalClockTime PbDDateLancement{};  // the program's start
inline bool PbBFrmMsgAffichee = false;               // progress window FrmMsg loaded
inline float PbFCoefPolice = 0.0f;                   // font scale, set by the look start-up

// Site data shown by the log header, the caption and the mails (Lib_Site::initRadioIdentity).
inline int16_t PbIIdRadio = 0;
inline int16_t PbIIndexNomRadio = 0;
inline std::array<std::string, 20> PbSNomRadio{};
// The record manager's engine versions, filled when the base's files are opened.
inline std::string PbSBtrEngineVersion;

// Back to the start of the process: every flag, folder and value above as it was declared
// (PbBArretSignale is the stop signals' own).
inline void resetRunState() {
    Abandon = false;
    PbBQuitter = false;
    PbBRelanceForcee = false;
    PbBDemarrageEnCours = false;
    PbBFeuilleChargee = false;
    PbBDemarrageTermine = false;
    PbBFrmSetupChargee = false;
    PbSDossierApplication.clear();
    PbSDossierSettings.clear();
    PbSDossierLog.clear();
    PbINoInstance = 0;
    PbSLigneCommande.clear();
    PbIDefaultNoBase = -1;
    PbDDateLancement = {};
    PbBFrmMsgAffichee = false;
    PbFCoefPolice = 0.0f;
    PbIIdRadio = 0;
    PbIIndexNomRadio = 0;
    PbSNomRadio = {};
    PbSBtrEngineVersion.clear();
}
