// Finding the outside audio converter, in its newer or its older form.
#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/FileVersions.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/Registry.h"
#include "foundation/SystemQueries.h"

namespace Lib_Convert {
namespace {

const std::string kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

// The converter's folder from its application-path key, else the default install folder.
std::string candidate(const std::string& programFiles, const std::string& executable) {
    std::string folder;
    if (Lib_Systeme::Reg_GetValue(Lib_Systeme::HKEY_LOCAL_MACHINE, kAppPaths + executable, "Path", folder) !=
            0 ||
        VBA::Trim(folder).empty())
        folder = programFiles + "Illustrate\\dBpowerAMP\\";
    return Lib_Public::CheckRep(folder) + executable;
}

}  // namespace

bool ConvertSonDetermineVersion(bool& newer, std::string& path) {
    const std::string caller = "Lib_Convert:ConvertSonDetermineVersion";
    const std::string programFiles = Lib_Public::CheckRep(Lib_Systeme::GetSpecialFolderLocation(38));
    path = candidate(programFiles, "CoreConverter.exe");
    if (Lib_Systeme::File_Exist(path, caller)) {
        newer = true;
        return true;
    }
    path = candidate(programFiles, "MusicConverter.exe");
    if (Lib_Systeme::File_Exist(path, caller)) {
        newer = false;
        return true;
    }
    return false;
}

}  // namespace Lib_Convert
