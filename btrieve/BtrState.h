// Process-wide state of the record-manager layer: the request, the status, open files, history.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "btrieve/Catalogue.h"
#include "foundation/RunState.h"

constexpr int16_t kNbBasesBTR = 5;       // bases 0 to 4
constexpr int16_t kNbInstancesBTR = 20;  // stations 1 to 20, indexed by station - 1
constexpr int kPosBlockSize = 128;
constexpr int kHistorySlots = 6;  // slot 0 is the newest call

using BtrPosBlockType = std::array<char, kPosBlockSize>;
template <typename T>
using PerBaseStationFile = std::array<std::array<std::array<T, kBtrFileCount>, kNbInstancesBTR>, kNbBasesBTR>;

// The request a caller prepares; the error report reads PbIBtrOp.
inline int16_t PbIBtrOp = 0;
inline int16_t PbIBtrFile = 0;
inline int16_t PbIBtrKeyNum = 0;
inline std::string PbSBtrKey;  // raw Windows-1252 bytes
// Status of the last engine call; 0 is success.
inline int16_t PbIBtrStatus = 0;
inline bool BtrInTransaction = false;
inline std::array<std::array<std::string, kHistorySlots>, kNbBasesBTR> BtrCallHistory;

inline PerBaseStationFile<bool> PbBBtrFileOpen{};
inline PerBaseStationFile<BtrPosBlockType> BtrPosBlock{};
// Indexed [base][file][station - 1], as the opening builds it.
inline std::array<std::array<std::array<std::string, kNbInstancesBTR>, kBtrFileCount>, kNbBasesBTR>
    BtrFilePath;
inline std::array<int16_t, kBtrFileCount> BtrRecordLength{};
// Every path opened in this run, each followed by "::".
inline std::string PbSBtrCheminsOuverts;
// PbSBtrEngineVersion lives in foundation/RunState.h: the daily log's header reads it.

// Back to the start of the process: no request, status or history, no file open.
inline void resetBtrState() {
    PbIBtrOp = 0;
    PbIBtrFile = 0;
    PbIBtrKeyNum = 0;
    PbSBtrKey.clear();
    PbIBtrStatus = 0;
    BtrInTransaction = false;
    BtrCallHistory = {};
    PbBBtrFileOpen = {};
    BtrPosBlock = {};
    BtrFilePath = {};
    BtrRecordLength = {};
    PbSBtrCheminsOuverts.clear();
}
