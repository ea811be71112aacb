// libFuzzer target: ExtraireBalise over arbitrary tags and messages.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!fuzzchecks::extractTag({reinterpret_cast<const char*>(data), size})) __builtin_trap();
    return 0;
}
