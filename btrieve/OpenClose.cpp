// Opening and closing a base's files: paths, existence, creation of the optional files.
#include "btrieve/OpenClose.h"

#include <cstring>
#include <filesystem>
#include <set>
#include <system_error>

#include "btrieve/BtrState.h"
#include "btrieve/Catalogue.h"
#include "btrieve/ErrorReport.h"
#include "btrieve/History.h"
#include "btrieve/Operation.h"
#include "btrieve/Records.h"
#include "btrieve/Seams.h"
#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/ErrorReporter.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/NeighbourServices.h"
#include "platform/Cp1252.h"
#include "platform/VbErrors.h"
#include "platform/WinPath.h"
#include "platform/btrcall/Btrcall.h"

namespace Lib_Data_BTrieve {
namespace {

namespace btr = platform::btrcall;

BtrPosBlockType blanks() {
    BtrPosBlockType block;
    block.fill(' ');
    return block;
}

// The create and version calls' own position block.
BtrPosBlockType& modulePosBlock() {
    static BtrPosBlockType block = blanks();
    return block;
}

bool createdWhenMissing(int16_t file) { return file == 37 || (file >= 40 && file <= 49); }

// Whole "::"-separated entries, compared without regard to case.
bool openedBefore(const std::string& path) {
    const std::string wanted = VBA::LCase(path);
    const std::string all = VBA::LCase(PbSBtrCheminsOuverts);
    for (size_t at = 0; at < all.size();) {
        size_t end = all.find("::", at);
        if (end == std::string::npos) end = all.size();
        if (all.compare(at, end - at, wanted) == 0) return true;
        at = end + 2;
    }
    return false;
}

bool present(const std::string& path, const std::string& caller) {
    return openedBefore(path) || Lib_Systeme::File_Exist(path, caller, true);
}

bool inRange(int16_t base, int16_t first, int16_t last, int16_t file, const char* procedure) {
    if (base >= 0 && base < kNbBasesBTR && first >= 1 && last <= kNbInstancesBTR && file >= 0 &&
        file < kBtrFileCount)
        return true;
    Lib_Public::ReportError(platform::vb::kSubscriptOutOfRange,
                            "Subscript out of range (base " + std::to_string(base) + ", stations " +
                                std::to_string(first) + " to " + std::to_string(last) + ", file " +
                                std::to_string(file) + ")",
                            std::string("Lib_Data_BTrieve:") + procedure);
    return false;
}

// The network data folders already refused in this run.
std::set<std::string>& refusedFolders() {
    static std::set<std::string> logged;
    return logged;
}

// WAL needs a local disk: a data folder on the network is refused, with one line per folder.
bool onNetwork(int16_t base, const std::string& folder) {
    if (!platform::btrcall::isNetworkPath(folder)) return false;
    if (refusedFolders().insert(VBA::LCase(folder)).second)
        Lib_Public::TraceLog(base, -1, -1,
                             "Err: Data folder on a network path, files not opened: " + folder +
                                 " |The record manager needs a local disk",
                             true, -1, nullptr, true);
    return true;
}

}  // namespace

void resetOpenClose() {
    modulePosBlock() = blanks();
    refusedFolders().clear();
}

void FichierPervasiveOuvrir(int16_t NoBase, int16_t FirstInstance, int16_t LastInstance, int16_t NoFichier,
                            int16_t Mode) {
    const std::string caller = "Lib_Data_BTrieve:FichierPervasiveOuvrir";
    if (!inRange(NoBase, FirstInstance, LastInstance, NoFichier, "FichierPervasiveOuvrir")) return;
    const std::string folder = Lib_Public::CheckRep(PbSDossierDataBase[size_t(NoBase)]);
    if (onNetwork(NoBase, folder)) return;
    InitStructureFichierBTR(NoFichier, true);
    const uint32_t recordLength = uint32_t(BtrieveFileSpec[0] | (BtrieveFileSpec[1] << 8));
    for (int16_t i = FirstInstance; i <= LastInstance; ++i) {
        const size_t station = size_t(i - 1);
        const std::string path = folder + NomFichierBTR(NoFichier, int16_t(i - 1));
        BtrFilePath[size_t(NoBase)][size_t(NoFichier)][station] = path;
        PbBBtrFileOpen[size_t(NoBase)][station][size_t(NoFichier)] = false;
        bool exists = present(path, caller);
        if (!exists && createdWhenMissing(NoFichier)) {
            Lib_Public::TraceLog(NoBase, -1, -1, "File: " + path + " not found |Create empty structure",
                                 false, -1, nullptr, true);
            if (const int16_t status = CreationStructureVide(path))
                Lib_Public::TraceLog(NoBase, -1, -1,
                                     "Err: File: " + path + " not created |Status: " + std::to_string(status),
                                     false, -1, nullptr, true);
            exists = present(path, caller);
        }
        if (exists && OuvertureFichierBTrieve(NoBase, NoFichier, path, recordLength, i, Mode)) {
            PbBBtrFileOpen[size_t(NoBase)][station][size_t(NoFichier)] = true;
            PbSBtrCheminsOuverts += path + "::";
        }
    }
}

void FichierPervasiveFermer(int16_t NoBase, int16_t FirstInstance, int16_t LastInstance, int16_t NoFichier) {
    if (!inRange(NoBase, FirstInstance, LastInstance, NoFichier, "FichierPervasiveFermer")) return;
    for (int16_t i = FirstInstance; i <= LastInstance; ++i) {
        bool& open = PbBBtrFileOpen[size_t(NoBase)][size_t(i - 1)][size_t(NoFichier)];
        if (!open) continue;
        const std::string& path = BtrFilePath[size_t(NoBase)][size_t(NoFichier)][size_t(i - 1)];
        if (FermetureFichierBTrieve(NoBase, NoFichier, path, i))
            open = false;
        else
            Lib_Public::TraceLog(NoBase, -1, -1, "Unable to close: " + path, false, -1, nullptr, true);
    }
}

bool OpenFile(int16_t NoBase, int16_t NoFichier, int32_t Instance) {
    if (NoBase < 0 || NoBase >= kNbBasesBTR || NoFichier < 0 || NoFichier >= kBtrFileCount || Instance < 1 ||
        Instance > kNbInstancesBTR)
        return false;
    return PbBBtrFileOpen[size_t(NoBase)][size_t(Instance - 1)][size_t(NoFichier)];
}

bool OuvertureFichierBTrieve(int16_t NoBase, int16_t NoFichier, const std::string& Path, uint32_t DataLen,
                             int32_t Instance, int16_t Mode) {
    if (!RecordBuffer(NoFichier)) return false;
    std::error_code ec;
    const std::filesystem::path host = platform::winpath::toHost(Path);
    if (host.empty() || !std::filesystem::is_regular_file(host, ec)) {
        PbIBtrStatus = btr::StatusFileNotFound;
    } else {
        BtrPosBlockType pos = blanks();
        std::string key = platform::cp1252::fromUtf8(Path);
        PbIBtrStatus = BTRieve_Reel(NoFichier, btr::OpOpen, pos, DataLen, key, Mode);
        if (PbIBtrStatus == btr::StatusOk) {
            BtrPosBlock[size_t(NoBase)][size_t(Instance - 1)][size_t(NoFichier)] = pos;
            BtrRecordLength[size_t(NoFichier)] = int16_t(DataLen);
            return true;
        }
    }
    std::string shown = Path;
    Lib_Public::ClearChaine(shown);
    addHistory(NoBase, "File:" + Lib_Public::N2S(NoFichier, 2) +
                           (PbIBtrStatus == btr::StatusFileNotFound ? " (" + Path + ")" : "") +
                           " Station:" + std::to_string(Instance) + " OP:00 K:00 [" + shown + "]");
    Lib_Data_BTrieve_2::ErreurBTrieve(NoBase, NoFichier, Path, "Lib_Data_BTrieve:OuvertureFichierBTrieve");
    return false;
}

bool FermetureFichierBTrieve(int16_t NoBase, int16_t NoFichier, const std::string& Path, int32_t Instance) {
    if (!RecordBuffer(NoFichier)) return false;
    // A close on the file's own block: the stop operation would end every open file.
    BtrPosBlockType& pos = BtrPosBlock[size_t(NoBase)][size_t(Instance - 1)][size_t(NoFichier)];
    uint32_t dataLen = uint32_t(BtrRecordLength[size_t(NoFichier)]);
    std::string key = platform::cp1252::fromUtf8(Path);
    PbIBtrStatus = BTRieve_Reel(NoFichier, btr::OpClose, pos, dataLen, key, 0);
    if (PbIBtrStatus == btr::StatusOk) return true;
    Lib_Data_BTrieve_2::ErreurBTrieve(NoBase, NoFichier, Path, "Lib_Data_BTrieve:FermetureFichierBTrieve");
    return false;
}

int16_t CreationStructureVide(const std::string& Path) {
    modulePosBlock() = blanks();
    std::string key = platform::cp1252::fromUtf8(Path);
    const uint16_t keyLen = uint16_t(key.size());
    key.push_back('\0');
    uint32_t dataLen = kFileSpecSize;
    PbIBtrStatus = seams::callEngine(btr::OpCreate, modulePosBlock().data(), BtrieveFileSpec.data(), &dataLen,
                                     key.data(), keyLen, 0);
    return PbIBtrStatus;
}

void GetVersionsMoteur() {
    PbSBtrEngineVersion.clear();
    unsigned char data[15] = {};
    uint32_t dataLen = sizeof data;
    std::string key(255, ' ');
    PbIBtrStatus =
        seams::callEngine(btr::OpVersion, modulePosBlock().data(), data, &dataLen, key.data(), 255, 0);
    if (PbIBtrStatus != btr::StatusOk) return;
    auto block = [&](int b) {
        const unsigned char* at = data + 5 * b;
        const int version = at[0] | (at[1] << 8);
        const int revision = at[2] | (at[3] << 8);
        const int platformCode = at[4] == 0 ? 32 : at[4];
        return Lib_Public::N2S(version, 2, 0, "") + "." + Lib_Public::N2S(revision, 2) + "." +
               Lib_Public::N2S(platformCode, 3);
    };
    PbSBtrEngineVersion = "Client: " + block(0) + " |Moteur: " + block(1) + " |Serveur: " + block(2);
}

}  // namespace Lib_Data_BTrieve
