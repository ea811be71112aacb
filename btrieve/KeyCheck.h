// The key length diagnostic run before every record-manager call: it only logs.
#pragma once

#include <cstdint>
#include <string>

namespace Lib_Data_BTrieve {

// Logs an incident when the key is shorter than the file's minimum for that key number.
void BTrieveTestCle(int16_t operation, const std::string& key, int16_t keyNum, int16_t NoFichier,
                    const std::string& caller);
// The minimum length of a key, or -1 when nothing is tested for that file and key number.
int32_t minimumKeyLength(int16_t NoFichier, int16_t keyNum);

}  // namespace Lib_Data_BTrieve
