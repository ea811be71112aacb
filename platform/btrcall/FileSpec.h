// A file's fixed record length and keys, read from the 160-byte create specification.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::btrcall {

enum KeyFlag : uint16_t {
    KeyDuplicates = 1,
    KeyModifiable = 2,
    KeyBinary = 4,
    KeySegmented = 16,
    KeyCaseInsensitive = 1024,
};

struct Segment {
    uint16_t position = 0;  // 1-based byte position in the record
    uint16_t length = 0;
    uint16_t flags = 0;
};

struct KeyDef {
    std::vector<Segment> segments;
    bool duplicates = false;
    uint32_t length = 0;  // all segments together
};

struct FileDef {
    uint16_t recordLength = 0;
    uint16_t pageSize = 0;
    uint16_t fileFlags = 0;
    std::vector<KeyDef> keys;
};

// Status 0 and the definition, or the status that names what is wrong with the create block.
int16_t parseSpec(std::string_view spec, FileDef& out);

// The key's bytes as they stand in the record.
std::string keyOfRecord(const KeyDef& key, std::string_view record);
// The key as the index orders it: unsigned bytes, ASCII letters upper-cased in segments that
// ignore case. keyBytes holds at least key.length bytes.
std::string collationKey(const KeyDef& key, std::string_view keyBytes);

}  // namespace platform::btrcall
