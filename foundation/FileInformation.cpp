// Lib_Public.InformationsFichier over the host's file system: the detail columns a French shell
// shows for the file, where this host keeps them, then the file-system object's size and names.
#include "foundation/FileInformation.h"

#include <cstdio>
#include <ctime>
#include <filesystem>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>

#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/ErrorReporter.h"
#include "foundation/SystemQueries.h"
#include "platform/VbErrors.h"
#include "platform/WinPath.h"

namespace Lib_Public {
namespace {

namespace fs = std::filesystem;

const std::string kCaller = "Lib_Public:InformationsFichier";
constexpr int32_t kShellLine = 30;  // the folder's items and their details
constexpr int32_t kFileLine = 60;   // the file-system object

// A failed step, numbered as the platform objects raise their errors.
struct Failure {
    int32_t number;
    std::string description;
    int32_t lineText;
};

using Columns = std::array<std::string, 35>;

platform::LocalClockTime localTime(const struct timespec& moment) {
    struct tm local {};
    const time_t seconds = moment.tv_sec;
    localtime_r(&seconds, &local);
    platform::LocalTimeFields fields;
    fields.year = local.tm_year + 1900;
    fields.month = local.tm_mon + 1;
    fields.day = local.tm_mday;
    fields.hour = local.tm_hour;
    fields.minute = local.tm_min;
    fields.second = local.tm_sec;
    return platform::timeOf(fields);
}

std::string dateText(const struct timespec& moment) {
    return Date2StringEx(localTime(moment), "dd/MM/yyyy hh:mm");
}

// The shell's date text "dd/MM/yyyy HH:mm" (or a date alone), when it names a real moment.
bool readDate(const std::string& textValue, platform::LocalClockTime& date) {
    platform::LocalTimeFields f;
    char rest = 0;
    const int readCount = std::sscanf(textValue.c_str(), "%2d/%2d/%4d %2d:%2d%c", &f.day, &f.month, &f.year,
                                      &f.hour, &f.minute, &rest);
    if (!(readCount == 3 || readCount == 5) || f.year < 100 || f.month < 1 || f.month > 12 || f.day < 1 ||
        f.hour < 0 || f.hour > 23 || f.minute < 0 || f.minute > 59)
        return false;
    if (readCount == 3) f.hour = f.minute = 0;
    static const int jours[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leapYear = (f.year % 4 == 0 && f.year % 100 != 0) || f.year % 400 == 0;
    if (f.day > jours[f.month - 1] + (f.month == 2 && leapYear ? 1 : 0)) return false;
    date = platform::timeOf(f);
    return true;
}

// "1 235 Ko": kilobytes rounded up, grouped by three.
std::string sizeText(uintmax_t octets) {
    std::string digitText = std::to_string((octets + 1023) / 1024);
    for (int at = int(digitText.size()) - 3; at > 0; at -= 3) digitText.insert(size_t(at), " ");
    return digitText + " Ko";
}

std::string owner(uid_t uid) {
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[1024];
    if (getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) != 0 || !found) return {};
    return Lib_Systeme::ComputerName() + "\\" + found->pw_name;
}

// Folder.GetDetailsOf for the item named nameText in the folder.
void readColumns(const std::string& dossier, const std::string& nameText, Columns& columnTexts) {
    const fs::path hostFolder = platform::winpath::toHost(dossier);
    std::error_code ec;
    if (dossier.empty() || hostFolder.empty() || !fs::is_directory(hostFolder, ec))
        throw Failure{platform::vb::kObjectNotSet, "Object variable or With block variable not set",
                      kShellLine};
    const fs::path hostName = platform::winpath::toHost(dossier + nameText);
    struct stat stateNow {};
    if (nameText.empty() || hostName.empty() || ::stat(hostName.c_str(), &stateNow) != 0)
        throw Failure{platform::vb::kFileNotFound, "File not found", kShellLine};
    const bool isFolder = S_ISDIR(stateNow.st_mode);
    const std::string nameOnDisk = hostName.filename().string();
    const std::string extension = hostName.extension().string();
    columnTexts[0] = nameOnDisk;
    if (!isFolder) columnTexts[1] = sizeText(uintmax_t(stateNow.st_size));
    columnTexts[2] = isFolder            ? "Dossier de fichiers"
                     : extension.empty() ? "Fichier"
                                         : "Fichier " + VBA::UCase(extension.substr(1));
    columnTexts[3] = dateText(stateNow.st_mtim);
    struct statx birth {};
    if (::statx(AT_FDCWD, hostName.c_str(), 0, STATX_BTIME, &birth) == 0 && (birth.stx_mask & STATX_BTIME))
        columnTexts[4] = dateText({birth.stx_btime.tv_sec, birth.stx_btime.tv_nsec});
    columnTexts[5] = dateText(stateNow.st_atim);
    if (!(stateNow.st_mode & S_IWUSR)) columnTexts[6] += "R";
    if (!nameOnDisk.empty() && nameOnDisk[0] == '.') columnTexts[6] += "H";
    columnTexts[10] = owner(stateNow.st_uid);
}

void storeColumn(int column, const std::string& textValue, FileInfo& info) {
    switch (column) {
        case 0:
            info.Nom = textValue;
            return;
        case 1:
            info.Taille = VBA::ValLong(textValue);
            return;
        case 2:
            info.Type = textValue;
            return;
        case 3:
            readDate(textValue, info.DateModification);
            return;
        case 4:
            readDate(textValue, info.DateCreation);
            return;
        case 5:
            readDate(textValue, info.accessDate);
            return;
        case 18:
            info.Detail18 = VBA::ValInt(textValue);
            return;
        case 19:
            info.Detail19 = VBA::ValInt(textValue);
            return;
        case 25:
            readDate(textValue, info.Detail25);
            return;
        default:
            break;
    }
    if (column <= 17)
        info.Details06a17[size_t(column - 6)] = textValue;
    else if (column <= 24)
        info.Details20a24[size_t(column - 20)] = textValue;
    else
        info.Details26a34[size_t(column - 26)] = textValue;
}

void report(const Failure& failureText, const std::string& fichier) {
    const std::string description = failureText.description + " (Fichier: " + fichier + ")";
    const std::string sub = " |Sub: " + kCaller + ":" + std::to_string(failureText.lineText);
    switch (failureText.number) {
        case platform::vb::kFileNotFound:
            TraceLog(-1, -1, -1, "Err: 53: File not found: " + fichier + sub);
            return;
        case platform::vb::kObjectNotSet:
            TraceLog(-1, -1, -1, "Err: 91: " + description + " Fichier: " + fichier + sub);
            return;
        default:
            ReportError(failureText.number, description, kCaller, "AL3_Relaytone", failureText.lineText);
    }
}

// The file-system object: the exact size, then the names of the file.
void readFile(const std::string& fichier, FileInfo& info) {
    const fs::path hostName = platform::winpath::toHost(fichier);
    std::error_code ec;
    if (hostName.empty() || !fs::is_regular_file(hostName, ec))
        throw Failure{platform::vb::kFileNotFound, "File not found", kFileLine};
    const uintmax_t octets = fs::file_size(hostName, ec);
    if (octets > uintmax_t(INT32_MAX))
        report({platform::vb::kOverflow, "Overflow", kFileLine}, fichier);
    else
        info.Taille = int32_t(octets);

    const std::string filePath = platform::winpath::fromHost(fs::absolute(hostName));
    const size_t separator = filePath.rfind('\\');
    const std::string nameText = filePath.substr(separator + 1);
    const size_t point = nameText.rfind('.');
    info.fullPath = filePath;
    info.parentFolder = filePath.substr(0, separator);
    if (info.parentFolder.size() == 2) info.parentFolder += "\\";  // a drive's root
    info.stem = point == std::string::npos ? nameText : nameText.substr(0, point);
    info.Extension = point == std::string::npos ? "" : nameText.substr(point + 1);
    // No 8.3 names on this host: the short forms are the long ones, as on a volume without them.
    info.shortPath = filePath;
    info.shortName = nameText;
}

}  // namespace

void InformationsFichier(const std::string& fichier, FileInfo& info, const bool& dateOnly,
                         const bool& sizeAndDate) {
    const platform::LocalClockTime currentTime = platform::clock::now();
    info = FileInfo{};
    info.DateModification = info.DateCreation = info.accessDate = info.Detail25 = currentTime;
    try {
        EclateRepFicExt(fichier);
        const DirFileExt parties = PbTRepFicExt;
        Columns columnTexts;
        readColumns(parties.Rep, parties.Fic + parties.Ext, columnTexts);
        if (dateOnly) {
            readDate(columnTexts[3], info.DateModification);
            return;
        }
        if (sizeAndDate) {
            info.Taille = VBA::ValLong(columnTexts[1]);
            readDate(columnTexts[3], info.DateModification);
        } else {
            for (int column = 0; column < int(columnTexts.size()); ++column)
                if (!columnTexts[size_t(column)].empty())
                    storeColumn(column, columnTexts[size_t(column)], info);
        }
        readFile(parties.Rep + parties.Fic + parties.Ext, info);
    } catch (const Failure& failureText) {
        // Trying the step again would meet the same missing file or folder: the record keeps
        // what was filled.
        report(failureText, fichier);
    } catch (const std::exception& errorText) {
        report({platform::vb::kInvalidProcedureCall, errorText.what(), kFileLine}, fichier);
    }
}

}  // namespace Lib_Public
