// The call history of each base.
#include "btrieve/History.h"

#include "btrieve/BtrState.h"
#include "foundation/Conversions.h"

namespace Lib_Data_BTrieve {

void addHistory(int16_t base, const std::string& entry) {
    auto& entries = BtrCallHistory[size_t(base)];
    for (size_t slot = entries.size() - 1; slot > 0; --slot) entries[slot] = entries[slot - 1];
    entries[0] = entry;
}

void prefixHistoryStatus(int16_t base, int16_t status) {
    std::string& newest = BtrCallHistory[size_t(base)][0];
    if (newest.rfind("S:", 0) == 0) return;
    newest = "S:" + Lib_Public::N2S(status, 5) + " " + newest;
}

}  // namespace Lib_Data_BTrieve
