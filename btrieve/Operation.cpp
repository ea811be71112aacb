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
#include "platform/VbErrors.h"
#include "platform/btrcall/Btrcall.h"

namespace Lib_Data_BTrieve {
namespace {

namespace btr = platform::btrcall;

constexpr int kMaxRetries = 10;
const std::string kSelf = "Lib_Data_BTrieve:BTRieve";

bool oneOf(int16_t value, std::initializer_list<int16_t> values) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

std::string historyEntry(int16_t file, int32_t instance, int16_t op, int16_t keyNum, const std::string& key,
                         const std::string& caller) {
    std::string shown = platform::cp1252::toUtf8(key);  // cleaned as a copy, never the key sent
    Lib_Public::ClearChaine(shown);
    return "File:" + Lib_Public::N2S(file, 2) + " Station:" + std::to_string(instance) +
           " OP:" + Lib_Public::N2S(op, 2) + " K:" + Lib_Public::N2S(keyNum, 2) + " [" + shown + "]" + " [" +
           caller + "]";
}

void report(int16_t base, int16_t file, const std::string& key) {
    Lib_Data_BTrieve_2::ErreurBTrieve(base, file, platform::cp1252::toUtf8(key), kSelf);
}

// A conflict or key change that lasted through every retry: the status stays, logged once.
void giveUp(int16_t base, int16_t file, int32_t instance, int16_t op, int16_t keyNum,
            const std::string& caller) {
    Lib_Public::TraceLog(base, -1, -1,
                         "Err: BTRieve: Status " + std::to_string(PbIBtrStatus) + " after " +
                             std::to_string(kMaxRetries + 1) + " tries |File:" + Lib_Public::N2S(file, 2) +
                             " Station:" + std::to_string(instance) + " OP:" + Lib_Public::N2S(op, 2) +
                             " K:" + Lib_Public::N2S(keyNum, 2) + " |Sub: " + caller,
                         true, -1, nullptr, true);
}

bool refused(int16_t base, int16_t file, int32_t instance, int16_t op) {
    const bool baseOk = base >= 0 && base < kNbBasesBTR;
    const bool fileOk = file >= 0 && file < kBtrFileCount;
    if (baseOk && fileOk) return false;
    Lib_Public::ReportError(platform::vb::kSubscriptOutOfRange,
                            "Subscript out of range (base " + std::to_string(base) + ", file " +
                                std::to_string(file) + ", station " + std::to_string(instance) + ")",
                            kSelf);
    PbIBtrStatus = op == btr::OpGetEqual ? btr::StatusKeyNotFound : btr::StatusEndOfFile;
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
    PbIBtrStatus = btr::StatusRecordManagerInactive;
    Lib_Data_BTrieve_2::ErreurBTrieve(base, file, platform::cp1252::toUtf8(key), kSelf, false, false, first);
}

enum class Next { Done, Retry };

Next afterFailure(int16_t base, int16_t op, std::string& key, int16_t keyNum, int16_t file, int32_t instance,
                  const std::string& caller, BtrPosBlockType& pos, int& retries) {
    const int16_t status = PbIBtrStatus;
    uint32_t dataLen = uint32_t(BtrRecordLength[size_t(file)]);
    if (status == btr::StatusKeyNumberChanged) {
        if ((op == btr::OpUpdate && file == 35) ||
            (oneOf(op, {btr::OpGetNext, btr::OpGetPrevious}) && file == 34))
            return Next::Done;
        if (++retries > kMaxRetries) {
            giveUp(base, file, instance, op, keyNum, caller);
            return Next::Done;
        }
        if (oneOf(op, {btr::OpGetNext, btr::OpGetPrevious})) {
            const int16_t again = BTRieve_Reel(file, btr::OpGetEqual, pos, dataLen, key, keyNum);
            if (again == btr::StatusOk) return Next::Done;  // the key-changed status stays
            PbIBtrStatus = again;
        }
        report(base, file, key);
        return Next::Retry;
    }
    if (oneOf(status, {btr::StatusTransactionError, btr::StatusTransactionActive,
                       btr::StatusTransactionControlFileError, btr::StatusNoTransactionBegun,
                       btr::StatusReadOutsideTransaction, btr::StatusTransactionTableFull,
                       btr::StatusLockError, btr::StatusRecordLocked, btr::StatusFileLocked})) {
        if (++retries > kMaxRetries) report(base, file, key);
        seams::sleep(1000);
        return Next::Retry;
    }
    if (status == btr::StatusVariablePortionCorrupt) {
        if (op == btr::OpUpdate && file == 35)
            PbIBtrStatus = btr::StatusOk;
        else
            report(base, file, key);
        return Next::Done;
    }
    if (status == btr::StatusConflict) {
        if (++retries > kMaxRetries) {
            giveUp(base, file, instance, op, keyNum, caller);
            return Next::Done;
        }
        seams::sleep(500);
        if (oneOf(op, {btr::OpUpdate, btr::OpDelete}))
            BTRieve_Reel(file, btr::OpGetEqual, pos, dataLen, key, keyNum);
        return Next::Retry;
    }
    const bool quiet =
        oneOf(op, {btr::OpInsert, btr::OpUpdate})
            ? status == btr::StatusDuplicateKey
            : oneOf(status, {btr::StatusKeyNotFound, btr::StatusDuplicateKey, btr::StatusEndOfFile});
    if (!quiet) report(base, file, key);
    return Next::Done;
}

void callLoop(int16_t base, int16_t op, std::string& key, int16_t keyNum, int16_t file, int32_t instance,
              const std::string& caller) {
    BtrPosBlockType& pos = BtrPosBlock[size_t(base)][size_t(instance - 1)][size_t(file)];
    int retries = 0;
    for (;;) {
        uint32_t dataLen = uint32_t(BtrRecordLength[size_t(file)]);
        if (key.empty()) key = std::string(100, ' ');
        PbIBtrStatus = BTRieve_Reel(file, op, pos, dataLen, key, keyNum);
        if (PbIBtrStatus == btr::StatusOk) break;
        if (Abandon || PbBArretSignale) return;
        if (afterFailure(base, op, key, keyNum, file, instance, caller, pos, retries) == Next::Done) return;
    }
    if (oneOf(op, {btr::OpBeginTransaction, btr::OpBeginConcurrentTransaction})) BtrInTransaction = true;
    if (oneOf(op, {btr::OpEndTransaction, btr::OpAbortTransaction})) BtrInTransaction = false;
    if (op > 4 && oneOf(file, {20, 22, 32})) cleanFields(file, RecordBuffer(file));
}

}  // namespace

void resetOperation() { notOpenShown().clear(); }

int16_t BTRieve_Reel(int16_t NoFichier, int16_t operation, BtrPosBlockType& posBlock, uint32_t& dataLen,
                     std::string& key, int16_t keyNum) {
    char* record = RecordBuffer(NoFichier);
    if (!record) return 0;
    std::string buffer(std::max<size_t>(255, key.size()) + 1, '\0');
    std::memcpy(buffer.data(), key.data(), key.size());
    const int16_t status =
        seams::callEngine(uint16_t(operation), posBlock.data(), record, &dataLen, buffer.data(), 255, keyNum);
    key.assign(buffer.data(), key.size());
    return status;
}

void BTRieve(int16_t base, int16_t operation, std::string& key, int16_t keyNum, int16_t NoFichier,
             int32_t instance, const std::string& caller, bool /*notRead*/) {
    if (oneOf(operation, {btr::OpEndTransaction, btr::OpAbortTransaction}) && !BtrInTransaction) return;
    if (oneOf(operation, {btr::OpGetLessThan, btr::OpGetLessOrEqual}))
        std::replace(key.begin(), key.end(), '\xFF', 'z');
    if (instance < 1) instance = 1;
    if (refused(base, NoFichier, instance, operation)) return;
    if (!VBA::Trim(caller).empty())
        addHistory(base, historyEntry(NoFichier, instance, operation, keyNum, key, caller));
    BTrieveTestCle(operation, key, keyNum, NoFichier, caller);
    if (instance > kNbInstancesBTR) {
        Lib_Public::GestErr(9, std::to_string(instance), "BTrieve (Source:" + caller + ")", false, "");
        PbIBtrStatus = operation == btr::OpGetEqual ? btr::StatusKeyNotFound : btr::StatusEndOfFile;
        return;
    }
    if (!PbBBtrFileOpen[size_t(base)][size_t(instance - 1)][size_t(NoFichier)]) {
        // While shutting down nothing is reported, but an earlier success must not stand.
        if (Abandon)
            PbIBtrStatus = btr::StatusRecordManagerInactive;
        else
            notOpen(base, NoFichier, instance, key, caller);
    } else {
        callLoop(base, operation, key, keyNum, NoFichier, instance, caller);
    }
    prefixHistoryStatus(base, PbIBtrStatus);
}

}  // namespace Lib_Data_BTrieve
