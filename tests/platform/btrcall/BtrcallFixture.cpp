// Shared helpers of the record-manager tests.
#include "tests/platform/btrcall/BtrcallFixture.h"

namespace btrtest {
namespace bc = platform::btrcall;

namespace {
void put16(std::string& s, size_t at, uint16_t v) {
    s[at] = char(v & 0xff);
    s[at + 1] = char(v >> 8);
}
}  // namespace

std::string spec(uint16_t recordLength, const std::vector<std::vector<Seg>>& keys, uint16_t pageSize) {
    std::string s(160, '\0');
    put16(s, 0, recordLength);
    put16(s, 2, pageSize);
    put16(s, 4, uint16_t(keys.size()));
    size_t at = 16;
    for (const auto& key : keys)
        for (const Seg& seg : key) {
            put16(s, at, seg.position);
            put16(s, at + 2, seg.length);
            put16(s, at + 4, seg.flags);
            at += 16;
        }
    return s;
}

int16_t create(const std::string& windowsPath, std::string specification, int16_t keyNum) {
    std::array<char, 128> pos;
    pos.fill(' ');
    uint32_t len = uint32_t(specification.size());
    std::string key = windowsPath;
    return bc::BTRCALL(bc::OpCreate, pos.data(), specification.data(), &len, key.data(), uint16_t(key.size()),
                       keyNum);
}

int16_t Handle::open(const std::string& windowsPath) {
    pos.fill(' ');
    std::string key = windowsPath + std::string(255 - windowsPath.size(), '\0');
    std::string data(length, ' ');
    return bc::BTRCALL(bc::OpOpen, pos.data(), data.data(), &length, key.data(), 255, 0);
}

int16_t Handle::close() {
    std::string key(255, ' ');
    return bc::BTRCALL(bc::OpClose, pos.data(), nullptr, nullptr, key.data(), 255, 0);
}

int16_t Handle::insert(const std::string& rec, int16_t keyNum) {
    std::string data = rec;
    uint32_t len = uint32_t(data.size());
    std::string key(255, '\0');
    return bc::BTRCALL(bc::OpInsert, pos.data(), data.data(), &len, key.data(), 255, keyNum);
}

int16_t Handle::get(uint16_t op, std::string& key, int16_t keyNum) {
    std::string buffer = key + std::string(255 - key.size(), '\0');
    std::string data(length, '\0');
    uint32_t len = length;
    const int16_t status = bc::BTRCALL(op, pos.data(), data.data(), &len, buffer.data(), 255, keyNum);
    if (status == 0) {
        record = data.substr(0, len);
        key = buffer.substr(0, key.size());
    }
    return status;
}

int16_t Handle::remove() {
    std::string key(255, ' ');
    std::string data(length, ' ');
    uint32_t len = length;
    return bc::BTRCALL(bc::OpDelete, pos.data(), data.data(), &len, key.data(), 255, 0);
}

std::string recordWith(const std::string& key, size_t length) {
    std::string r(length, ' ');
    r.replace(0, key.size(), key);
    return r;
}

}  // namespace btrtest
