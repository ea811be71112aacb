// Windows-1252 on the outside, UTF-8 inside: the conversions at every file and wire boundary.
#pragma once

#include <string>
#include <string_view>

namespace platform::cp1252 {

std::string toUtf8(std::string_view cp1252);
// Characters Windows-1252 cannot hold become '?'.
std::string fromUtf8(std::string_view utf8);

// Unicode code points of a UTF-8 text (invalid bytes are taken as Windows-1252).
std::u32string decodeUtf8(std::string_view utf8);
std::string encodeUtf8(std::u32string_view text);
// Code point of a Windows-1252 byte, and the byte of a code point (0 when it has none).
char32_t toUnicode(unsigned char byte);
unsigned char toByte(char32_t codePoint);

}  // namespace platform::cp1252
