// Windows-1252 table: 0x80-0x9F differ from Latin-1, the rest maps one to one.
#include "platform/Cp1252.h"

#include <array>

namespace platform::cp1252 {
namespace {

constexpr std::array<char32_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

}  // namespace

char32_t toUnicode(unsigned char byte) {
    return (byte >= 0x80 && byte < 0xA0) ? kHigh[byte - 0x80] : char32_t(byte);
}

unsigned char toByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return (unsigned char)c;
    for (size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c) return (unsigned char)(0x80 + i);
    return 0;
}

std::u32string decodeUtf8(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const unsigned char b = (unsigned char)s[i];
        if (b < 0x80) {
            out += char32_t(b);
            ++i;
            continue;
        }
        const int extra = (b >= 0xC2 && b < 0xE0)   ? 1
                          : (b >= 0xE0 && b < 0xF0) ? 2
                          : (b >= 0xF0 && b < 0xF5) ? 3
                                                    : 0;
        char32_t c = extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool valid = extra > 0 && i + extra < s.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const unsigned char next = (unsigned char)s[i + k];
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        // An overlong form, a surrogate or a value past the last code point is no character:
        // its bytes are taken one by one, as any other byte that starts no sequence.
        if (valid)
            valid = c >= (extra == 2   ? 0x800u
                          : extra == 3 ? 0x10000u
                                       : 0x80u) &&
                    c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
        if (valid) {
            out += c;
            i += extra + 1;
        } else {
            out += toUnicode(b);  // a stray byte is taken as Windows-1252
            ++i;
        }
    }
    return out;
}

std::string encodeUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) appendUtf8(out, c);
    return out;
}

std::string toUtf8(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    for (unsigned char b : in) appendUtf8(out, toUnicode(b));
    return out;
}

std::string fromUtf8(std::string_view utf8) {
    std::string out;
    for (char32_t c : decodeUtf8(utf8)) {
        const unsigned char b = toByte(c);
        out += (b == 0 && c != 0) ? '?' : char(b);
    }
    return out;
}

}  // namespace platform::cp1252
