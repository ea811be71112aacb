// The one general operation on an open record-manager file, with its retries and call history.
#pragma once

#include <cstdint>
#include <string>

#include "btrieve/BtrState.h"

namespace Lib_Data_BTrieve {

// base 0 to 4; key: raw Windows-1252 bytes, rewritten by the gets; instance: station 1 to 20.
// Results in PbIBtrStatus and the file's record buffer.
void BTRieve(int16_t base, int16_t operation, std::string& key, int16_t keyNum, int16_t NoFichier,
             int32_t instance, const std::string& caller, bool notRead = false);

// One engine call with the file's record buffer and a key length of 255; the caller's key keeps
// its length (the engine writes into a copy that is never shorter than 255 bytes).
int16_t BTRieve_Reel(int16_t NoFichier, int16_t operation, BtrPosBlockType& posBlock, uint32_t& dataLen,
                     std::string& key, int16_t keyNum);

// Back to the start of the process: no file found not open yet (its boxes come again).
void resetOperation();

}  // namespace Lib_Data_BTrieve
