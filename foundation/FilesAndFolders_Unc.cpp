// Mapping a UNC path onto the local folder of one of this machine's disk shares.
#include <vector>

#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/SystemQueries.h"

namespace Lib_Systeme {

std::string ChangeUNCFolder2LocalFolder(const std::string& uncPath, const std::string& computerName) {
    std::vector<ShareInfo> shares;
    if (GetLocalShareList(shares, {}) < 1) return uncPath;
    Lib_Public::TraceLogEncadre(-1, -1, -1, "Shared Paths List |UNC Path to Change: " + uncPath, "=", false);
    for (size_t index = 0; index < shares.size(); ++index) {
        const ShareInfo& share = shares[index];
        if (share.type != 0) continue;
        const std::string prefix = "\\\\" + computerName + "\\" + share.netName + "\\";
        if (VBA::InStr(1, uncPath, prefix, true) != 1) continue;
        // One backslash between the share's folder and the rest, whichever way it is written.
        std::string local = share.path;
        while (local.ends_with("\\")) local.pop_back();
        local += uncPath.substr(prefix.size() - 1);
        const std::string number = Lib_Public::N2S(double(index), 2, 0, "0");
        Lib_Public::TraceLog(-1, -1, -1, number + ": UNC: Local Path found: " + local);
        if (!FolderFound(local)) return uncPath;
        Lib_Public::TraceLog(-1, -1, -1, number + ": UNC: Path change from: " + uncPath + " to: " + local);
        return local;
    }
    return uncPath;
}

}  // namespace Lib_Systeme
