// The VB built-ins the modules lean on (Val, Trim, Mid, InStr...), on characters, not UTF-8 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace VBA {

// Leading number of a text as VB reads it, whatever the process locale: blanks ignored,
// optional sign, digits, optional "." and digits, optional exponent ("2E1" and "2D1" are 20), or
// "&H"/"&O" and hexadecimal/octal digits ("&HFFFF" is -1, "&H10000" 65536, "&HFFFF&" 65535);
// 0 when the text has none.
double Val(std::string_view text);
// Nearest whole number, a half to the even neighbour, held to the type's range (NaN gives 0).
int32_t CLng(double value);
int16_t CInt(double value);
int64_t CLngLng(double value);
// The leading number of a text made whole: "2.5" -> 2, "3.5" -> 4, "12abc" -> 12, "abc" -> 0.
inline int32_t ValLong(std::string_view text) { return CLng(Val(text)); }
inline int16_t ValInt(std::string_view text) { return CInt(Val(text)); }

// Blanks (spaces only, as VB's Trim) removed at both ends.
std::string Trim(std::string_view text);
std::string LTrim(std::string_view text);
std::string RTrim(std::string_view text);

// Lengths and positions count characters (1-based positions, as in VB).
int32_t Len(std::string_view text);
std::string Left(std::string_view text, int32_t count);
std::string Right(std::string_view text, int32_t count);
std::string Mid(std::string_view text, int32_t start, int32_t count = -1);
// Position of the first occurrence from start, 0 when none; ignoreCase as vbTextCompare.
int32_t InStr(int32_t start, std::string_view text, std::string_view find, bool ignoreCase = false);
std::string Replace(std::string_view text, std::string_view find, std::string_view with);
std::string UCase(std::string_view text);
std::string LCase(std::string_view text);

}  // namespace VBA
