// INI access with its retries, the settings-file path rule and the window positions.
#include "foundation/SettingsFiles.h"

#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/RunState.h"
#include "foundation/SystemQueries.h"
#include "platform/IniFile.h"

namespace Lib_Systeme {

using platform::ini::WriteStatus;

namespace {

std::string failureReason(WriteStatus status) {
    switch (status) {
        case WriteStatus::PathNotFound:
            return "Path not found";
        case WriteStatus::AccessDenied:
            return "Access denied";
        default:
            return "Write error";
    }
}

}  // namespace

std::string LectureIni(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& defaultValue) {
    if (!Lib_Public::NomFichierCorrect(file)) return defaultValue;
    return platform::ini::getString(file, section, key, defaultValue, 255);
}

bool EcritureIni(const std::string& file, const std::string& section, const std::string& key,
                 const std::string& value) {
    if (VBA::Trim(section).empty() || VBA::Trim(key).empty() || !Lib_Public::NomFichierCorrect(file))
        return false;
    WriteStatus status = platform::ini::writeString(file, section, key, value);
    if (status == WriteStatus::InvalidName || status == WriteStatus::InvalidValue) {
        Lib_Public::TraceLog(-1, -1, -1,
                             "Err: EcritureIni: refused (line break or reserved character): " + file + " [" +
                                 section + "] " + key);
        return false;
    }
    if (status == WriteStatus::Written) return true;
    const std::string path = platform::ini::profilePath(file);
    if (const size_t slash = path.rfind('\\'); slash != std::string::npos) {
        VerificationEtCreationRepertoire(path.substr(0, slash + 1), true);
        status = platform::ini::writeString(file, section, key, value);
        if (status == WriteStatus::Written) return true;
    }
    File_RemoveFlag(path, 1);
    status = platform::ini::writeString(file, section, key, value);
    if (status == WriteStatus::Written) return true;
    // Most callers ignore the result: the value would be lost without a trace.
    Lib_Public::TraceLog(-1, -1, -1,
                         "Err: EcritureIni: Unable to write: " + path + " [" + section + "] " + key + " |" +
                             failureReason(status));
    return false;
}

}  // namespace Lib_Systeme

namespace Lib_Public {
namespace {

std::string instanceSuffix() {
    return PbINoInstance != 0 ? "_" + std::to_string(PbINoInstance) : std::string();
}

std::string positionKey(const PositionedForm& form, const char* ending, const std::string& qualifier) {
    std::string key = form.Name() + ending;
    if (!VBA::Trim(qualifier).empty()) key += "_" + qualifier;
    return key;
}

// Plain whole twips: a shortest float text would write 300000 as "3e+05", read back as 3.
std::string positionText(double value) { return std::to_string(VBA::CLng(value)); }

}  // namespace

bool NomFichierCorrect(const std::string& file) { return file.find_first_of("*?\"|") == std::string::npos; }

void NomDossierSettings() {
    if (PbTInfoVersionOS.platformId == 0) platform::system::getVersionEx(PbTInfoVersionOS);
    PbSDossierSettings = PbSDossierApplication + "Settings\\AL3_Relaytone\\";
    const std::string caller = "Lib_Public:NomDossierSettings";
    const std::string settingsFile = NomFichierSettings("", ".Ini");
    if (Lib_Systeme::File_Exist(settingsFile, caller, false)) return;
    const std::string oldFile =
        CheckRep(Lib_Systeme::GetWinDir()) + "AL3_Relaytone" + instanceSuffix() + ".Ini";
    if (!Lib_Systeme::File_Exist(oldFile, caller, false)) return;
    Lib_Systeme::File_Copy(oldFile, settingsFile);
    if (Lib_Systeme::File_Exist(settingsFile, caller, false)) Lib_Systeme::File_Delete(oldFile, caller);
}

std::string NomFichierSettings(const std::string& suffix, const std::string& extension) {
    if (VBA::Trim(PbSDossierSettings).empty()) NomDossierSettings();
    return PbSDossierSettings + "AL3_Relaytone" + instanceSuffix() + suffix + extension;
}

void PositionFeuille(PositionedForm& form, const std::string& qualifier) {
    const std::string file = NomFichierSettings("_Positions", ".Ini");
    double left =
        VBA::Val(Lib_Systeme::LectureIni(file, "FrmPos", positionKey(form, "_Left", qualifier), "0"));
    double top = VBA::Val(Lib_Systeme::LectureIni(file, "FrmPos", positionKey(form, "_Top", qualifier), "0"));
    const double screenHeight = form.ScreenHeight();
    if (top > screenHeight)
        top = screenHeight / 2;
    else if (top + form.Height() < 100)
        top = 0;
    if (left < -20000) left = 0;
    form.SetLeft(left);
    form.SetTop(top);
}

void PositionFeuilleSauvegarde(const PositionedForm& form, const std::string& qualifier) {
    if (form.WindowState() != 0) return;
    const std::string file = NomFichierSettings("_Positions", ".Ini");
    Lib_Systeme::EcritureIni(file, "FrmPos", positionKey(form, "_Left", qualifier),
                             positionText(form.Left()));
    Lib_Systeme::EcritureIni(file, "FrmPos", positionKey(form, "_Top", qualifier), positionText(form.Top()));
}

}  // namespace Lib_Public
