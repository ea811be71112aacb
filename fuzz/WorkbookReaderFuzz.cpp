// libFuzzer target: the workbook reader over arbitrary file bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!fuzzchecks::workbookReader({reinterpret_cast<const char*>(data), size})) __builtin_trap();
    return 0;
}
