// The general operation: history, key check, bounds, then the call loop and its status table.
#include "btrieve/Operation.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <tuple>

#include "btrieve/ErrorReport.h"
#include "btrieve/FieldCleaning.h"
#include "btrieve/History.h"
#include "btrieve/KeyCheck.h"
#include "btrieve/Records.h"
#include "btrieve/Seams.h"
#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/ErrorReporter.h"
#include "foundation/RunState.h"
#include "platform/Cp1252.h"

namespace Lib_Data_BTrieve {
namespace {

constexpr int kMaxRetries = 10;
const std::string kSelf = "Lib_Data_BTrieve:BTRieve";

bool oneOf(int16_t value, std::initializer_list<int16_t> values) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

std::string historyEntry(int16_t file, int32_t instance, int16_t op, int16_t keyNum,
                         const std::string& key, const std::string& caller) {
    std::string shown = platform::cp1252::toUtf8(key);  // cleaned as a copy, never the key sent
    Lib_Public::ClearChaine(shown);
    return "File:" + Lib_Public::N2S(file, 2) + " Station:" + std::to_string(instance) +
           " OP:" + Lib_Public::N2S(op, 2) + " K:" + Lib_Public::N2S(keyNum, 2) + " [" + shown +
           "]" + " [" + caller + "]";
}

void report(int16_t base, int16_t file, const std::string& key) {
    Lib_Data_BTrieve_2::ErreurBTrieve(base, file, platform::cp1252::toUtf8(key), kSelf);
}

// A conflict or key change that lasted through every retry: the status stays, logged once.
void giveUp(int16_t base, int16_t file, int32_t instance, int16_t op, int16_t keyNum,
            const std::string& caller) {
    Lib_Public::TraceLog(base, -1, -1,
                         "Err: BTRieve: Status " + std::to_string(PbIBtrStatus) + " after " +
                             std::to_string(kMaxRetries + 1) + " tries |File:" +
                             Lib_Public::N2S(file, 2) + " Station:" + std::to_string(instance) +
                             " OP:" + Lib_Public::N2S(op, 2) + " K:" + Lib_Public::N2S(keyNum, 2) +
                             " |Sub: " + caller,
                         true, -1, nullptr, true);
}

bool refused(int16_t base, int16_t file, int32_t instance, int16_t op) {
    const bool baseOk = base >= 0 && base < kNbBasesBTR;
    const bool fileOk = file >= 0 && file < kNbFichiersBTR;
    if (baseOk && fileOk) return false;
    Lib_Public::ReportError(9,
                            "Subscript out of range (base " + std::to_string(base) + ", file " +
                                std::to_string(file) + ", station " + std::to_string(instance) + ")",
                            kSelf);
    PbIBtrStatus = op == 5 ? 4 : 9;
    return true;
}

// The base, file and station of each file found not open in this run.
std::set<std::tuple<int16_t, int16_t, int32_t>>& notOpenShown() {
    static std::set<std::tuple<int16_t, int16_t, int32_t>> shown;
    return shown;
}

// A file that is not open: reported, status 20, and the program goes on. The boxes come once
// per base, station and file in a run; the log line every time.
void notOpen(int16_t base, int16_t file, int32_t instance, const std::string& key,
             const std::string& caller) {
    const bool first = notOpenShown().insert({base, file, instance}).second;
    Lib_Public::GestErr(2003, "#: " + std::to_string(file) + " Station: " + std::to_string(instance),
                        "(Source:" + caller + ")", !first, "");
    PbIBtrStatus = 20;
    Lib_Data_BTrieve_2::ErreurBTrieve(base, file, platform::cp1252::toUtf8(key), kSelf, false,
                                      false, first);
}

enum class Next { Done, Retry };

Next afterFailure(int16_t base, int16_t op, std::string& key, int16_t keyNum, int16_t file,
                  int32_t instance, const std::string& caller, BtrPosBlockType& pos,
                  int& retries) {
    const int16_t status = PbIBtrStatus;
    uint32_t dataLen = uint32_t(BtrRecordLength[size_t(file)]);
    if (status == 7) {
        if ((op == 3 && file == 35) || (oneOf(op, {6, 7}) && file == 34)) return Next::Done;
        if (++retries > kMaxRetries) {
            giveUp(base, file, instance, op, keyNum, caller);
            return Next::Done;
        }
        if (oneOf(op, {6, 7})) {
            const int16_t again = BTRieve_Reel(file, 5, pos, dataLen, key, keyNum);
            if (again == 0) return Next::Done;  // status stays 7
            PbIBtrStatus = again;
        }
        report(base, file, key);
        return Next::Retry;
    }
    if (oneOf(status, {36, 37, 38, 39, 83, 92, 81, 84, 85})) {
        if (++retries > kMaxRetries) report(base, file, key);
        seams::sleep(1000);
        return Next::Retry;
    }
    if (status == 54) {
        if (op == 3 && file == 35) PbIBtrStatus = 0;
        else report(base, file, key);
        return Next::Done;
    }
    if (status == 80) {
        if (++retries > kMaxRetries) {
            giveUp(base, file, instance, op, keyNum, caller);
            return Next::Done;
        }
        seams::sleep(500);
        if (oneOf(op, {3, 4})) BTRieve_Reel(file, 5, pos, dataLen, key, keyNum);
        return Next::Retry;
    }
    const bool quiet = oneOf(op, {2, 3}) ? status == 5 : oneOf(status, {4, 5, 9});
    if (!quiet) report(base, file, key);
    return Next::Done;
}

void callLoop(int16_t base, int16_t op, std::string& key, int16_t keyNum, int16_t file,
              int32_t instance, const std::string& caller) {
    BtrPosBlockType& pos = BtrPosBlock[size_t(base)][size_t(instance - 1)][size_t(file)];
    int retries = 0;
    for (;;) {
        uint32_t dataLen = uint32_t(BtrRecordLength[size_t(file)]);
        if (key.empty()) key = std::string(100, ' ');
        PbIBtrStatus = BTRieve_Reel(file, op, pos, dataLen, key, keyNum);
        if (PbIBtrStatus == 0) break;
        if (Abandon || PbBArretSignale) return;
        if (afterFailure(base, op, key, keyNum, file, instance, caller, pos, retries) == Next::Done)
            return;
    }
    if (oneOf(op, {19, 1019})) BtrInTransaction = true;
    if (oneOf(op, {20, 21})) BtrInTransaction = false;
    if (op > 4 && oneOf(file, {20, 22, 32})) NettoyageChamps(file, RecordBuffer(file));
}

}  // namespace

void resetOperation() { notOpenShown().clear(); }

int16_t BTRieve_Reel(int16_t NoFichier, int16_t operation, BtrPosBlockType& posBlock,
                     uint32_t& dataLen, std::string& key, int16_t keyNum) {
    char* record = RecordBuffer(NoFichier);
    if (!record) return 0;
    std::string buffer(std::max<size_t>(255, key.size()) + 1, '\0');
    std::memcpy(buffer.data(), key.data(), key.size());
    const int16_t status = seams::callEngine(uint16_t(operation), posBlock.data(), record,
                                             &dataLen, buffer.data(), 255, keyNum);
    key.assign(buffer.data(), key.size());
    return status;
}

void BTRieve(int16_t base, int16_t operation, std::string& key, int16_t keyNum, int16_t NoFichier,
             int32_t instance, const std::string& caller, bool /*notRead*/) {
    if (oneOf(operation, {20, 21}) && !BtrInTransaction) return;
    if (oneOf(operation, {10, 11})) std::replace(key.begin(), key.end(), '\xFF', 'z');
    if (instance < 1) instance = 1;
    if (refused(base, NoFichier, instance, operation)) return;
    if (!VBA::Trim(caller).empty())
        AjoutHistorique(base, historyEntry(NoFichier, instance, operation, keyNum, key, caller));
    BTrieveTestCle(operation, key, keyNum, NoFichier, caller);
    if (instance > kNbInstancesBTR) {
        Lib_Public::GestErr(9, std::to_string(instance), "BTrieve (Source:" + caller + ")", false,
                            "");
        PbIBtrStatus = operation == 5 ? 4 : 9;
        return;
    }
    if (!PbBBtrFileOpen[size_t(base)][size_t(instance - 1)][size_t(NoFichier)]) {
        // While shutting down nothing is reported, but an earlier success must not stand.
        if (Abandon) PbIBtrStatus = 20;
        else notOpen(base, NoFichier, instance, key, caller);
    } else {
        callLoop(base, operation, key, keyNum, NoFichier, instance, caller);
    }
    PrefixeStatutHistorique(base, PbIBtrStatus);
}

}  // namespace Lib_Data_BTrieve
