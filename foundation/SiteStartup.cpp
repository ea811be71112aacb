// Lib_Site.InitGeneralSite: settle the base, then fill base 0 and make its folders.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>

#include "foundation/BaseChoice.h"
#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/ErrorReporter.h"
#include "foundation/FamilyConfig.h"
#include "foundation/FileVersions.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "foundation/Site.h"
#include "platform/Dialogs.h"
#include "platform/VbErrors.h"

namespace Lib_Site {
namespace {

const std::string kCaller = "Lib_Site:InitGeneralSite";
const std::string kCrLf = "\r\n";

std::string two(int value) { return Lib_Public::N2S(value, 2, 0, "0"); }
std::string read(const std::string& file, const std::string& section, const std::string& key,
                 const std::string& defaultValue) {
    return Lib_Systeme::LectureIni(file, section, key, defaultValue);
}
bool blank(const std::string& value) { return VBA::Trim(value).empty(); }
void makeExist(const std::string& folder) { Lib_Systeme::VerificationEtCreationRepertoire(folder, true); }
void log(int16_t base, const std::string& text) { Lib_Public::TraceLog(base, -1, -1, text); }

// The operator stopped the start-up: the program ends here, with no shut-down and no mail.
[[noreturn]] void endAtOnce() {
    std::fflush(nullptr);
    std::_Exit(0);
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// "Actif": true unless the value is a number equal to 0; a value that is no number is an error.
bool activeOf(const std::string& value, bool current) {
    const std::string text = lower(VBA::Trim(value));
    if (text == "true") return true;
    if (text == "false") return false;
    const std::string_view digits = std::string_view(text).substr(text.starts_with('+') ? 1 : 0);
    double number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        Lib_Public::ReportError(platform::vb::kTypeMismatch, "Type mismatch", kCaller);
        return current;
    }
    return number != 0;
}

int16_t cappedBaseCount(int16_t count) {
    if (count > kMaxBases) {
        log(-1, "Warning: NbBase " + std::to_string(count) + " above " + std::to_string(kMaxBases) + ": " +
                    std::to_string(kMaxBases) + " bases used |Sub: " + kCaller);
        return kMaxBases;
    }
    if (count < 1) {
        log(-1, "Warning: NbBase " + std::to_string(count) + " below 1: 1 base used |Sub: " + kCaller);
        return 1;
    }
    return count;
}

// Records base k (from 0) as the site's base in AL3_Config.ini; returns its folder.
std::string writeChosenBase(int16_t k) {
    bool preferBase = true;
    const std::string folder =
        Lib_Public::DetermineDossierConfig_Bases_Dossier(PbSDossierConfigSite, int16_t(k + 1), preferBase);
    Lib_Systeme::EcritureIni(PbSDossierConfigSite, "Site", "Dossier_Config_Global", folder);
    Lib_Systeme::EcritureIni(PbSDossierConfigSite, "Site", "NoBase", std::to_string(k + 1));
    return folder;
}

// The dialog's line label: the base's own section, else Base_01, else "Base NN".
std::string baseLabel(const std::string& folder, int16_t number) {
    const std::string file = folder + "AL3_Systeme.ini";
    std::string label = read(file, "Base_" + two(number), "Lib", "");
    if (blank(label)) label = read(file, "Base_01", "Lib", "");
    if (blank(label)) label = "Base " + two(number);
    return label;
}

void askForBase() {
    const std::string current =
        Lib_Public::CheckRep(read(PbSDossierConfigSite, "Site", "Dossier_Config_Global", ""));
    neighbours::FrmSelectBaseServices& dialog = neighbours::FrmSelectBase();
    dialog.Load();
    dialog.ComboBase_Clear();
    int16_t lines = 0, preselected = -1;
    for (int16_t n = 1; n <= PbINbBasesSite; ++n) {
        bool preferBase = true;
        const std::string folder =
            Lib_Public::DetermineDossierConfig_Bases_Dossier(PbSDossierConfigSite, n, preferBase);
        if (folder.empty()) continue;
        if (preselected < 0 && lower(folder) == lower(current)) preselected = lines;
        dialog.ComboBase_AddItem(baseLabel(folder, n), int16_t(n - 1));
        ++lines;
    }
    dialog.ComboBase_SetListIndex(preselected < 0 ? 0 : preselected);
    neighbours::Frm_Main().FrmMsg().Hide();
    log(-1, "Open Modal Form: FrmSelectBase");
    dialog.ShowModal();
    const int16_t k = PbINoBaseSelectionnee;
    if (k < 0 || k >= kMaxBases) endAtOnce();
    const std::string written = writeChosenBase(k);
    const std::string& filled = PbSDossierConfigBase[size_t(k)];
    PbSDossierConfigBase[0] = blank(filled) ? written : filled;
}

void chooseBase() {
    if (VBA::InStr(1, PbSLigneCommande, "/Base=Current", true) > 0) {
        const std::string folder =
            Lib_Public::CheckRep(read(PbSDossierConfigSite, "Site", "Dossier_Config_Global", ""));
        if (!blank(folder)) PbSDossierConfigBase[0] = folder;
    } else if (PbIDefaultNoBase >= 0 && PbIDefaultNoBase < PbINbBasesSite) {
        PbSDossierConfigBase[0] = writeChosenBase(PbIDefaultNoBase);
    } else {
        if (PbIDefaultNoBase >= 0)
            log(-1, "Warning: /NoBase=" + std::to_string(PbIDefaultNoBase) + " is not a base of the site (" +
                        std::to_string(PbINbBasesSite) + " bases): base to choose |Sub: " + kCaller);
        askForBase();
    }
    PbINbBasesSite = 1;
    PbINoBaseSelectionnee = 0;
}

// The same folder picked this many times in a row ends the search as "No" does: a script that
// ran out of answers gives the boxes' defaults for ever.
constexpr int kSameAnswerLimit = 10;

// Until FRAD000.bt6 is found in the data folder, or the operator goes on without it. A close
// during the question (Abandon) ends the search too; the caller then stops.
void checkData(int16_t b, InfoBase& base, const std::string& systemFile, const std::string& section) {
    std::string lastPick;
    int samePicks = 0;
    for (;;) {
        if (Lib_Systeme::File_Exist(base.Dossier_Data + "FRAD000.bt6", kCaller, true)) return;
        const int answer = platform::dialogs::MsgBox(
            "Impossible de trouver la base de données pour la base: " + base.Lib + kCrLf + kCrLf +
                "Fichier '" + base.Dossier_Data + "FRAD000.bt6' non trouvé" + kCrLf + kCrLf +
                "Voulez-vous rechercher manuellement la localisation de la base de données Aerolune ?",
            platform::dialogs::vbYesNoCancel + platform::dialogs::vbQuestion,
            neighbours::Frm_Main().Caption());
        if (answer == platform::dialogs::vbNo) return;
        if (answer == platform::dialogs::vbCancel) endAtOnce();
        const std::string start = base.Dossier_Data.size() > 1
                                      ? base.Dossier_Data.substr(0, base.Dossier_Data.size() - 1)
                                      : base.Dossier_Data;
        std::string picked = Lib_Systeme::FolderSelect(start, "");
        samePicks = picked == lastPick ? samePicks + 1 : 1;
        lastPick = picked;
        if (picked != "*") {
            picked = Lib_Public::CheckRep(picked);
            if (Lib_Systeme::File_Exist(picked + "FRAD000.bt6", kCaller, true))
                Lib_Systeme::EcritureIni(systemFile, section, "Dossier_Data", picked);
            base.Dossier_Data = picked;
        }
        QCoreApplication::processEvents();
        if (Abandon) return;
        if (samePicks >= kSameAnswerLimit) {
            log(b, "Err: Database not found: " + base.Dossier_Data + "FRAD000.bt6 |The same answer " +
                       std::to_string(samePicks) + " times: search given up |Sub: " + kCaller);
            return;
        }
    }
}

// One copy of the program per version in the base's redistribution folder.
void copyForRedistribution(int16_t b, const std::string& systemFile, const std::string& section) {
    std::string folder = Lib_Public::CheckRep(read(systemFile, section, "Dossier_Redist", ""));
    if (!folder.empty()) {
        folder += "AL\\Backup\\Programmes\\";
        makeExist(folder);
        const std::string copy = folder + "AL3_Relaytone " + Lib_Systeme::VersionApplication() + ".exe";
        if (!Lib_Systeme::File_Exist(copy, kCaller, true))
            Lib_Systeme::File_Copy(PbSDossierApplication + "AL3_Relaytone", copy);
    }
    log(b, "Dossier_Redist: " + folder);
}

std::string folderOf(const std::string& systemFile, const std::string& section, const std::string& key,
                     const std::string& defaultValue) {
    const std::string folder = Lib_Public::CheckRep(read(systemFile, section, key, defaultValue));
    makeExist(folder);
    return folder;
}

void fillBase(int16_t b) {
    const std::string systemFile = DetermineFichierSysteme(b);
    const std::string number = two(b + 1);
    const std::string section = "Base_" + number;
    InfoBase& base = PbTBases[size_t(b)];

    base.Lib = read(systemFile, section, "Lib", "Base " + std::to_string(b + 1));
    base.Actif = activeOf(read(systemFile, section, "Actif", "0"), base.Actif);
    base.NbStation = VBA::ValInt(read(systemFile, section, "NbStation", "1"));
    if (base.NbStation > kMaxStations) {
        log(b, "Warning: NbStation " + std::to_string(base.NbStation) + " above " +
                   std::to_string(kMaxStations) + ": " + std::to_string(kMaxStations) +
                   " stations used |Sub: " + kCaller);
        base.NbStation = kMaxStations;
    }
    PbINbLignesUDP = std::min(base.NbStation, kMaxStationsHandled);
    PbINbStations = PbINbLignesUDP;

    base.DossierIni = Lib_Public::DetermineDossierConfig_Fichier(PbSDossierConfigSite, 1);
    base.Dossier_Log = folderOf(systemFile, section, "Dossier_Log", "C:\\AudioLog\\");
    base.Dossier_Local =
        folderOf(systemFile, section, "Dossier_Local", "C:\\Vantremo\\Aerolune\\Settings\\_Local\\");
    base.DossierIniLocal = base.Dossier_Local + "Serveur_Ini\\Relaytone\\" + two(b) + "\\";
    makeExist(base.DossierIniLocal);
    log(b, "Local_INI_Folder: " + base.DossierIniLocal);

    base.Dossier_Shared = folderOf(systemFile, section, "Dossier_Shared", "C:\\Vantremo\\Aerolune\\Shared\\");
    base.DossierImage = base.Dossier_Shared + "Image\\";
    makeExist(base.DossierImage);
    for (const char* sub : {"Artiste\\", "Morceau\\", "Categorie\\", "Message\\"})
        makeExist(base.DossierImage + sub);

    base.Dossier_Data = folderOf(systemFile, section, "Dossier_Data", "C:\\AL_Data\\");
    checkData(b, base, systemFile, section);
    // A close during the question: nothing more is made, copied or read.
    if (Abandon) return;
    base.Backup = folderOf(systemFile, section + "_Settings_Folders", "Backup", "C:\\AL_Data\\_Bkp\\");
    copyForRedistribution(b, systemFile, section);

    base.Dossier_Notes = folderOf(systemFile, section, "Dossier_Notes", "C:\\Vantremo\\Aerolune\\Notes\\");
    log(b, "Notes_Folder: " + base.Dossier_Notes);
    makeExist(base.Dossier_Notes + "Artiste\\");
    makeExist(base.Dossier_Notes + "Disque\\");
    base.Dossier_Notes_Schedule = folderOf(systemFile, section, "Dossier_Notes_Schedule",
                                           "C:\\Vantremo\\Aerolune\\Notes\\Conducteur\\");
    log(b, "Schedule_Notes_Folder: " + base.Dossier_Notes_Schedule);

    for (int16_t s = 0; s < base.NbStation; ++s) {
        const std::string stationSection = section + "_Station_" + two(s + 1);
        InfoStation& station = base.Stations[size_t(s)];
        station.Lib = read(systemFile, stationSection, "Lib", "Station " + std::to_string(s + 1));
        station.Actif = activeOf(read(systemFile, stationSection, "Actif", "0"), station.Actif);
    }
}

}  // namespace

void InitGeneralSite(int16_t /*unused*/) {
    DetermineFichierSysteme(0);
    PbINbBasesSite = cappedBaseCount(VBA::ValInt(read(PbSDossierConfigSite, "Site", "NbBase", "1")));
    if (PbINbBasesSite > 1) chooseBase();
    makeExist(Lib_Public::CheckRep(read(PbSDossierConfigSite, "Site", "Settings_Local_Folder",
                                        "C:\\Vantremo\\Aerolune\\Settings\\_Local\\")));
    for (int16_t b = 0; b < PbINbBasesSite && !Abandon; ++b) fillBase(b);
    if (!Abandon) initRadioIdentity();
}

}  // namespace Lib_Site
