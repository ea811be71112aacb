// Shared helpers of the record-manager tests: specifications, one open handle, a record maker.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/btrcall/Btrcall.h"
#include "tests/support/TempSite.h"

namespace btrtest {

struct Seg {
    uint16_t position, length, flags;
};

// The 160-byte create specification of a file with the given keys (each a list of segments).
std::string spec(uint16_t recordLength, const std::vector<std::vector<Seg>>& keys, uint16_t pageSize = 1024);

int16_t create(const std::string& windowsPath, std::string specification, int16_t keyNum = 0);

// One open handle with its own position block.
class Handle {
public:
    int16_t open(const std::string& windowsPath);
    int16_t close();
    int16_t insert(const std::string& record, int16_t keyNum = 0);
    int16_t get(uint16_t op, std::string& key, int16_t keyNum = 0);
    int16_t remove();

    std::string record;  // last record read
    std::array<char, 128> pos{};
    uint32_t length = 500;
};

// A record of the given length: the key bytes at the start, blanks after.
std::string recordWith(const std::string& key, size_t length = 500);

}  // namespace btrtest
