// Reading the create specification and building index keys from records.
#include "platform/btrcall/FileSpec.h"

#include "platform/btrcall/Btrcall.h"

namespace platform::btrcall {
namespace {

constexpr uint32_t kHeaderSize = 16;
constexpr uint32_t kKeySpecSize = 16;
constexpr uint32_t kMaxKeys = 24;
constexpr uint32_t kMaxKeyLength = 255;
constexpr uint16_t kKnownFlags =
    KeyDuplicates | KeyModifiable | KeyBinary | KeySegmented | KeyCaseInsensitive;

uint16_t word(std::string_view bytes, uint32_t offset) {
    return uint16_t(uint8_t(bytes[offset]) | (uint8_t(bytes[offset + 1]) << 8));
}

char upperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

}  // namespace

int16_t parseSpec(std::string_view spec, FileDef& out) {
    if (spec.size() < kHeaderSize) return StatusDataBufferTooShort;
    FileDef def;
    def.recordLength = word(spec, 0);
    def.pageSize = word(spec, 2);
    const uint16_t keyCount = word(spec, 4);
    def.fileFlags = word(spec, 10);
    if (def.recordLength < 4) return StatusInvalidRecordLength;
    if (def.pageSize < 512 || def.pageSize > 4096 || def.pageSize % 512 != 0) return StatusPageSizeError;
    if (keyCount < 1 || keyCount > kMaxKeys) return StatusKeyCountError;

    uint32_t offset = kHeaderSize;
    for (uint16_t k = 0; k < keyCount; ++k) {
        KeyDef key;
        bool more = true;
        while (more) {
            if (offset + kKeySpecSize > spec.size()) return StatusDataBufferTooShort;
            Segment segment{word(spec, offset), word(spec, offset + 2), word(spec, offset + 4)};
            offset += kKeySpecSize;
            if (segment.flags & ~kKnownFlags) return StatusInvalidOperation;
            if (segment.length == 0) return StatusInvalidKeyLength;
            if (segment.position < 1 || uint32_t(segment.position) + segment.length - 1 > def.recordLength)
                return StatusInvalidKeyPosition;
            key.length += segment.length;
            if (key.length > kMaxKeyLength) return StatusInvalidKeyLength;
            if (key.segments.empty()) key.duplicates = segment.flags & KeyDuplicates;
            more = segment.flags & KeySegmented;
            key.segments.push_back(segment);
        }
        def.keys.push_back(std::move(key));
    }
    out = std::move(def);
    return StatusOk;
}

std::string keyOfRecord(const KeyDef& key, std::string_view record) {
    std::string bytes;
    bytes.reserve(key.length);
    for (const Segment& s : key.segments) bytes.append(record.substr(s.position - 1, s.length));
    return bytes;
}

std::string collationKey(const KeyDef& key, std::string_view keyBytes) {
    std::string out(keyBytes.substr(0, key.length));
    uint32_t at = 0;
    for (const Segment& s : key.segments) {
        if (s.flags & KeyCaseInsensitive)
            for (uint32_t i = at; i < at + s.length; ++i) out[i] = upperAscii(out[i]);
        at += s.length;
    }
    return out;
}

}  // namespace platform::btrcall
