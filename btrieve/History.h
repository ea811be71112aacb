// The call history of each base: the last six calls, slot 0 the newest, for the error report.
#pragma once

#include <cstdint>
#include <string>

namespace Lib_Data_BTrieve {

// Slots 0 to 4 move to 1 to 5 (the oldest goes) and slot 0 receives the entry.
void addHistory(int16_t base, const std::string& entry);
// Slot 0 gets "S:", the status on five digits and a blank, unless it already begins with "S:".
void prefixHistoryStatus(int16_t base, int16_t status);

}  // namespace Lib_Data_BTrieve
