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
constexpr int32_t kLigneShell = 30;    // the folder's items and their details
constexpr int32_t kLigneFichier = 60;  // the file-system object

// A failed step, numbered as the platform objects raise their errors.
struct Echec {
    int32_t numero;
    std::string description;
    int32_t ligne;
};

using Colonnes = std::array<std::string, 35>;

platform::LocalClockTime heureLocale(const struct timespec& moment) {
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

std::string texteDate(const struct timespec& moment) {
    return Date2StringEx(heureLocale(moment), "dd/MM/yyyy hh:mm");
}

// The shell's date text "dd/MM/yyyy HH:mm" (or a date alone), when it names a real moment.
bool lireDate(const std::string& texte, platform::LocalClockTime& date) {
    platform::LocalTimeFields f;
    char reste = 0;
    const int lus = std::sscanf(texte.c_str(), "%2d/%2d/%4d %2d:%2d%c", &f.day, &f.month, &f.year,
                                &f.hour, &f.minute, &reste);
    if (!(lus == 3 || lus == 5) || f.year < 100 || f.month < 1 || f.month > 12 || f.day < 1 ||
        f.hour < 0 || f.hour > 23 || f.minute < 0 || f.minute > 59)
        return false;
    if (lus == 3) f.hour = f.minute = 0;
    static const int jours[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bissextile = (f.year % 4 == 0 && f.year % 100 != 0) || f.year % 400 == 0;
    if (f.day > jours[f.month - 1] + (f.month == 2 && bissextile ? 1 : 0)) return false;
    date = platform::timeOf(f);
    return true;
}

// "1 235 Ko": kilobytes rounded up, grouped by three.
std::string texteTaille(uintmax_t octets) {
    std::string chiffres = std::to_string((octets + 1023) / 1024);
    for (int at = int(chiffres.size()) - 3; at > 0; at -= 3) chiffres.insert(size_t(at), " ");
    return chiffres + " Ko";
}

std::string proprietaire(uid_t uid) {
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[1024];
    if (getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) != 0 || !found) return {};
    return Lib_Systeme::ComputerName() + "\\" + found->pw_name;
}

// Folder.GetDetailsOf for the item named nom in the folder.
void lireColonnes(const std::string& dossier, const std::string& nom, Colonnes& colonnes) {
    const fs::path hoteDossier = platform::winpath::toHost(dossier);
    std::error_code ec;
    if (dossier.empty() || hoteDossier.empty() || !fs::is_directory(hoteDossier, ec))
        throw Echec{platform::vb::kObjectNotSet, "Object variable or With block variable not set",
                    kLigneShell};
    const fs::path hote = platform::winpath::toHost(dossier + nom);
    struct stat etat {};
    if (nom.empty() || hote.empty() || ::stat(hote.c_str(), &etat) != 0)
        throw Echec{platform::vb::kFileNotFound, "File not found", kLigneShell};
    const bool estDossier = S_ISDIR(etat.st_mode);
    const std::string nomSurDisque = hote.filename().string();
    const std::string extension = hote.extension().string();
    colonnes[0] = nomSurDisque;
    if (!estDossier) colonnes[1] = texteTaille(uintmax_t(etat.st_size));
    colonnes[2] = estDossier          ? "Dossier de fichiers"
                  : extension.empty() ? "Fichier"
                                      : "Fichier " + VBA::UCase(extension.substr(1));
    colonnes[3] = texteDate(etat.st_mtim);
    struct statx naissance {};
    if (::statx(AT_FDCWD, hote.c_str(), 0, STATX_BTIME, &naissance) == 0 &&
        (naissance.stx_mask & STATX_BTIME))
        colonnes[4] = texteDate({naissance.stx_btime.tv_sec, naissance.stx_btime.tv_nsec});
    colonnes[5] = texteDate(etat.st_atim);
    if (!(etat.st_mode & S_IWUSR)) colonnes[6] += "R";
    if (!nomSurDisque.empty() && nomSurDisque[0] == '.') colonnes[6] += "H";
    colonnes[10] = proprietaire(etat.st_uid);
}

void rangerColonne(int colonne, const std::string& texte, InfoFichier& info) {
    switch (colonne) {
    case 0: info.Nom = texte; return;
    case 1: info.Taille = VBA::ValLong(texte); return;
    case 2: info.Type = texte; return;
    case 3: lireDate(texte, info.DateModification); return;
    case 4: lireDate(texte, info.DateCreation); return;
    case 5: lireDate(texte, info.DateAcces); return;
    case 18: info.Detail18 = VBA::ValInt(texte); return;
    case 19: info.Detail19 = VBA::ValInt(texte); return;
    case 25: lireDate(texte, info.Detail25); return;
    default: break;
    }
    if (colonne <= 17) info.Details06a17[size_t(colonne - 6)] = texte;
    else if (colonne <= 24) info.Details20a24[size_t(colonne - 20)] = texte;
    else info.Details26a34[size_t(colonne - 26)] = texte;
}

void signaler(const Echec& echec, const std::string& fichier) {
    const std::string description = echec.description + " (Fichier: " + fichier + ")";
    const std::string sub = " |Sub: " + kCaller + ":" + std::to_string(echec.ligne);
    switch (echec.numero) {
    case platform::vb::kFileNotFound:
        TraceLog(-1, -1, -1, "Err: 53: File not found: " + fichier + sub);
        return;
    case platform::vb::kObjectNotSet:
        TraceLog(-1, -1, -1, "Err: 91: " + description + " Fichier: " + fichier + sub);
        return;
    default:
        ReportError(echec.numero, description, kCaller, "AL3_Relaytone", echec.ligne);
    }
}

// The file-system object: the exact size, then the names of the file.
void lireFichier(const std::string& fichier, InfoFichier& info) {
    const fs::path hote = platform::winpath::toHost(fichier);
    std::error_code ec;
    if (hote.empty() || !fs::is_regular_file(hote, ec))
        throw Echec{platform::vb::kFileNotFound, "File not found", kLigneFichier};
    const uintmax_t octets = fs::file_size(hote, ec);
    if (octets > uintmax_t(INT32_MAX))
        signaler({platform::vb::kOverflow, "Overflow", kLigneFichier}, fichier);
    else info.Taille = int32_t(octets);

    const std::string chemin = platform::winpath::fromHost(fs::absolute(hote));
    const size_t separateur = chemin.rfind('\\');
    const std::string nom = chemin.substr(separateur + 1);
    const size_t point = nom.rfind('.');
    info.CheminAbsolu = chemin;
    info.DossierParent = chemin.substr(0, separateur);
    if (info.DossierParent.size() == 2) info.DossierParent += "\\";  // a drive's root
    info.NomDeBase = point == std::string::npos ? nom : nom.substr(0, point);
    info.Extension = point == std::string::npos ? "" : nom.substr(point + 1);
    // No 8.3 names on this host: the short forms are the long ones, as on a volume without them.
    info.CheminCourt = chemin;
    info.NomCourt = nom;
}

}  // namespace

void InformationsFichier(const std::string& fichier, InfoFichier& info, const bool& dateSeulement,
                         const bool& tailleEtDate) {
    const platform::LocalClockTime maintenant = platform::clock::now();
    info = InfoFichier{};
    info.DateModification = info.DateCreation = info.DateAcces = info.Detail25 = maintenant;
    try {
        EclateRepFicExt(fichier);
        const RepFicExt parties = PbTRepFicExt;
        Colonnes colonnes;
        lireColonnes(parties.Rep, parties.Fic + parties.Ext, colonnes);
        if (dateSeulement) {
            lireDate(colonnes[3], info.DateModification);
            return;
        }
        if (tailleEtDate) {
            info.Taille = VBA::ValLong(colonnes[1]);
            lireDate(colonnes[3], info.DateModification);
        } else {
            for (int colonne = 0; colonne < int(colonnes.size()); ++colonne)
                if (!colonnes[size_t(colonne)].empty())
                    rangerColonne(colonne, colonnes[size_t(colonne)], info);
        }
        lireFichier(parties.Rep + parties.Fic + parties.Ext, info);
    } catch (const Echec& echec) {
        // Trying the step again would meet the same missing file or folder: the record keeps
        // what was filled.
        signaler(echec, fichier);
    } catch (const std::exception& erreur) {
        signaler({platform::vb::kInvalidProcedureCall, erreur.what(), kLigneFichier}, fichier);
    }
}

}  // namespace Lib_Public
