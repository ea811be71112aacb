// libFuzzer target: the registry hive reader and writer over arbitrary file texts.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!fuzzchecks::hiveReader({reinterpret_cast<const char*>(data), size})) __builtin_trap();
    return 0;
}
