// Minimum key lengths per file and key number; kept as data, not derived from the catalogue.
#include "btrieve/KeyCheck.h"

#include <initializer_list>
#include <map>
#include <vector>

#include "foundation/DailyLog.h"
#include "platform/Cp1252.h"

namespace Lib_Data_BTrieve {
namespace {

const std::map<int16_t, std::vector<int32_t>>& minimums() {
    static const std::map<int16_t, std::vector<int32_t>> table = {
        {0, {10}},
        {1, {8, 10}},
        {2, {10, 10}},
        {3, {8, 10}},
        {4, {10, 10}},
        {5, {16, 14, 6}},
        {6, {8, 10}},
        {7, {21, 13, 23, 21}},
        {9, {10}},
        {10, {14}},
        {11, {83}},
        {12, {18, 50, 8, 8, 1, 7, 6}},
        {13, {33, 12, 18, 48, 15}},
        {14, {18, 1, 9}},
        {15, {53, 10}},
        {16, {53, 8}},
        {17, {14, 8}},
        {18, {14, 16, 16}},
        {19, {8, 10, 50}},
        {20, {5, 3, 20, 21}},
        {21, {10, 15}},
        {22, {8, 5, 5, 5, 5, 20}},
        {23, {8, 11, 25}},
        {24, {8, 11, 25}},
        {25, {10}},
        {26, {8, 19, 14, 39}},
        {27, {14, 8}},
        {28, {16, 8, 14}},
        {29, {18, 30, 8}},
        {30, {8}},
        {31, {11}},
        {32, {10}},
        {33, {16, 19, 19}},
        {34, {14, 22, 54, 19, 19, 14}},
        {35, {19, 6, 16}},
        {36, {5, 10, 8}},
        {37, {8, 12, 12}},
        {38, {8, 40}},
        {39, {68}},
        {40, {8, 14}},
        {41, {10, 50, 14}},
        {42, {20}},
        {43, {8, 60}},
        {44, {8, 21, 60}},
        {45, {8}},
        {46, {5}},
        {47, {11}},
        {48, {8, 43}},
        {49, {8}},
        {55, {16}},
        {59, {100}},
    };
    return table;
}

bool isTransaction(int16_t operation) {
    return operation == 19 || operation == 20 || operation == 21 || operation == 1019;
}

}  // namespace

int32_t minimumKeyLength(int16_t NoFichier, int16_t keyNum) {
    const auto it = minimums().find(NoFichier);
    if (it == minimums().end() || keyNum < 0 || size_t(keyNum) >= it->second.size()) return -1;
    return it->second[size_t(keyNum)];
}

void BTrieveTestCle(int16_t operation, const std::string& key, int16_t keyNum, int16_t NoFichier,
                    const std::string& caller) {
    if (isTransaction(operation)) return;
    const int32_t minimum = minimumKeyLength(NoFichier, keyNum);
    if (minimum < 0 || int32_t(key.size()) >= minimum) return;
    Lib_Public::TraceLog(-1, -1, -1,
                         "Err: Key too short: NoFile: " + std::to_string(NoFichier) +
                             " Key: " + std::to_string(keyNum) + " Lng: " + std::to_string(key.size()) +
                             " OP: " + std::to_string(operation) + "\nKey:" + platform::cp1252::toUtf8(key) +
                             " Sub: " + caller,
                         true, -1, nullptr, true);
}

}  // namespace Lib_Data_BTrieve
