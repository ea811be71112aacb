// Little-endian fields of the compound file and of the workbook records.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::xls::bytes {

inline void put8(std::string& out, uint32_t v) { out.push_back(char(v & 0xFF)); }
inline void put16(std::string& out, uint32_t v) {
    put8(out, v);
    put8(out, v >> 8);
}
inline void put32(std::string& out, uint32_t v) {
    put16(out, v);
    put16(out, v >> 16);
}
inline void set32(std::string& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = char((v >> (8 * i)) & 0xFF);
}

// Readers: the caller has checked that the bytes are there.
inline uint32_t get8(std::string_view in, size_t at) { return uint8_t(in[at]); }
inline uint32_t get16(std::string_view in, size_t at) { return get8(in, at) | get8(in, at + 1) << 8; }
inline uint32_t get32(std::string_view in, size_t at) { return get16(in, at) | get16(in, at + 2) << 16; }

}  // namespace platform::xls::bytes
