// The record manager's one entry: Btrieve-numbered operations and statuses over SQLite files.
// One database per file at the path the program builds; each position block carries a handle
// with its own connection and current record; keys compare as unsigned bytes. Operations not
// listed give 1. 84 (record) and 85 (open, create) when another connection holds the write
// lock, 80 when the record changed since it was read; a stored row that is not of the record
// length is an I/O status, never handed on. A database file is never opened with plain file
// I/O, which would drop SQLite's locks.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform::btrcall {

constexpr uint32_t kPosBlockSize = 128;
constexpr uint32_t kCreateSpecSize = 160;
constexpr uint32_t kVersionSize = 15;

// The engine here serves open, close, insert, delete, the two gets, create, stop and version;
// the others are named for the callers that send them and are refused with status 1.
enum Op : uint16_t {
    OpOpen = 0,
    OpClose = 1,
    OpInsert = 2,
    OpUpdate = 3,
    OpDelete = 4,
    OpGetEqual = 5,
    OpGetNext = 6,
    OpGetPrevious = 7,
    OpGetGreaterOrEqual = 9,
    OpGetLessThan = 10,
    OpGetLessOrEqual = 11,
    OpCreate = 14,
    OpBeginTransaction = 19,
    OpEndTransaction = 20,
    OpAbortTransaction = 21,
    OpStop = 25,
    OpVersion = 26,
    OpBeginConcurrentTransaction = 1019,
};

enum Status : int16_t {
    StatusOk = 0,
    StatusInvalidOperation = 1,
    StatusIoError = 2,
    StatusFileNotOpen = 3,
    StatusKeyNotFound = 4,
    StatusDuplicateKey = 5,
    StatusInvalidKeyNumber = 6,
    StatusKeyNumberChanged = 7,
    StatusInvalidPositioning = 8,
    StatusEndOfFile = 9,
    StatusInvalidFileName = 11,
    StatusFileNotFound = 12,
    StatusPreImageOpenError = 14,
    StatusPreImageIoError = 15,
    StatusDiskFull = 18,
    StatusUnrecoverable = 19,
    StatusRecordManagerInactive = 20,
    StatusKeyBufferTooShort = 21,
    StatusDataBufferTooShort = 22,
    StatusPageSizeError = 24,
    StatusKeyCountError = 26,
    StatusInvalidKeyPosition = 27,
    StatusInvalidRecordLength = 28,
    StatusInvalidKeyLength = 29,
    StatusNotOurFile = 30,
    StatusTransactionError = 36,
    StatusTransactionActive = 37,
    StatusTransactionControlFileError = 38,
    StatusNoTransactionBegun = 39,
    StatusAccessDenied = 46,
    StatusVariablePortionCorrupt = 54,
    StatusFileExists = 59,
    StatusConflict = 80,
    StatusLockError = 81,
    StatusReadOutsideTransaction = 83,
    StatusRecordLocked = 84,
    StatusFileLocked = 85,
    StatusTransactionTableFull = 92,
    StatusLicenseLimit = 161,
};

// op: operation; posBlock: 128 bytes the caller keeps per open file; data, dataLen: the record
// (in: buffer length, out: bytes transferred); key: keyLen bytes; keyNum: key number, or the
// open mode for an open and -1 for a create that must not replace an existing file.
// Paths in the key buffer are Windows paths in Windows-1252, ended by a NUL or the key length.
int16_t BTRCALL(uint16_t op, char* posBlock, void* data, uint32_t* dataLen, char* key, uint16_t keyLen,
                int16_t keyNum);

// True for a UNC path or a folder on a network file system: WAL needs a local disk, so files
// there are refused (status 11).
bool isNetworkPath(std::string_view windowsPath);

}  // namespace platform::btrcall
