// VB built-ins over UTF-8 texts: characters are code points, case folding goes through Qt.
#include "foundation/ConversionsVba.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include <QString>

#include "platform/Cp1252.h"

namespace VBA {
namespace {

using platform::cp1252::decodeUtf8;
using platform::cp1252::encodeUtf8;

template <typename Int>
Int wholeOf(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = std::nearbyint(value);  // the default rounding mode: half to even
    if (rounded >= double(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
    if (rounded <= double(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
    return Int(rounded);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitOf(char c, int radix) {
    int d = -1;
    if (isDigit(c))
        d = c - '0';
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    return d < radix ? d : -1;
}

// The digits after "&H" or "&O", typed as VB types them: an Integer when the value fits 16 bits,
// a Long when it fits 32 ("&HFFFF" is -1, "&H10000" 65536), and a trailing "&" asks for the
// Long ("&HFFFF&" is 65535). Beyond 32 bits, where VB overflows, the plain value, held to 64 bits.
double radixValue(std::string_view digits, int radix) {
    uint64_t value = 0;
    size_t i = 0;
    for (int d; i < digits.size() && (d = digitOf(digits[i], radix)) >= 0; ++i)
        value = value > (UINT64_MAX - uint64_t(d)) / uint64_t(radix) ? UINT64_MAX
                                                                     : value * uint64_t(radix) + uint64_t(d);
    const bool asLong = i < digits.size() && digits[i] == '&';
    if (!asLong && value <= 0xFFFF) return double(int16_t(uint16_t(value)));
    if (value <= 0xFFFFFFFF) return double(int32_t(uint32_t(value)));
    return double(value);
}

// Power of ten of the leading digit of "123.4" (2) or "0.05" (-2); digits only, no sign.
long leadingPowerOfTen(std::string_view mantissa) {
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return 0;
    return first < point ? long(point - first) - 1 : -long(first - point);
}

// Sign, digits, point, digits, then an exponent ("E" or, as VB also reads, "D") when digits
// follow it; read with from_chars, so the process locale never matters. A value beyond a double
// is held to the largest one, one too small for it is 0.
double decimalValue(std::string_view s) {
    size_t i = 0;
    const bool negative = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    const size_t start = i;
    bool digits = false;
    for (bool point = false; i < s.size(); ++i) {
        if (isDigit(s[i]))
            digits = true;
        else if (s[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (!digits) return 0.0;
    const std::string_view mantissa = s.substr(start, i - start);
    long exponent = 0;
    if (i < s.size() && std::string_view("EeDd").find(s[i]) != std::string_view::npos) {
        size_t j = i + 1;
        const bool down = j < s.size() && s[j] == '-';
        if (j < s.size() && (s[j] == '-' || s[j] == '+')) ++j;
        for (; j < s.size() && isDigit(s[j]); ++j) exponent = std::min(exponent * 10 + (s[j] - '0'), 100000L);
        if (down) exponent = -exponent;
    }
    const std::string number = std::string(mantissa) + "e" + std::to_string(exponent);
    double value = 0.0;
    if (std::from_chars(number.data(), number.data() + number.size(), value).ec ==
        std::errc::result_out_of_range)
        value = leadingPowerOfTen(mantissa) + exponent > 0 ? std::numeric_limits<double>::max() : 0.0;
    if (negative) value = -value;
    return value == 0.0 ? 0.0 : value;  // no "-0"
}

// Simple case folding, one character to one, so positions stay those of the original text.
std::u32string folded(std::u32string s) {
    for (char32_t& c : s) c = QChar::toCaseFolded(c);
    return s;
}

}  // namespace

double Val(std::string_view text) {
    std::string s;
    for (const char c : text)
        if (!isBlank(c)) s += c;
    const std::string_view rest(s);
    if (rest.size() >= 2 && rest[0] == '&' && (rest[1] == 'H' || rest[1] == 'h'))
        return radixValue(rest.substr(2), 16);
    if (rest.size() >= 2 && rest[0] == '&' && (rest[1] == 'O' || rest[1] == 'o'))
        return radixValue(rest.substr(2), 8);
    return decimalValue(rest);
}

int32_t CLng(double value) { return wholeOf<int32_t>(value); }
int16_t CInt(double value) { return wholeOf<int16_t>(value); }
int64_t CLngLng(double value) { return wholeOf<int64_t>(value); }

std::string LTrim(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string RTrim(std::string_view text) {
    const size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

std::string Trim(std::string_view text) { return LTrim(RTrim(text)); }

int32_t Len(std::string_view text) { return int32_t(decodeUtf8(text).size()); }

std::string Left(std::string_view text, int32_t count) {
    if (count <= 0) return {};
    const std::u32string s = decodeUtf8(text);
    return encodeUtf8(std::u32string_view(s).substr(0, size_t(count)));
}

std::string Right(std::string_view text, int32_t count) {
    if (count <= 0) return {};
    const std::u32string s = decodeUtf8(text);
    const size_t n = std::min(s.size(), size_t(count));
    return encodeUtf8(std::u32string_view(s).substr(s.size() - n));
}

std::string Mid(std::string_view text, int32_t start, int32_t count) {
    const std::u32string s = decodeUtf8(text);
    if (start < 1 || size_t(start) > s.size() || count == 0) return {};
    const size_t n = count < 0 ? std::u32string::npos : size_t(count);
    return encodeUtf8(std::u32string_view(s).substr(size_t(start - 1), n));
}

int32_t InStr(int32_t start, std::string_view text, std::string_view find, bool ignoreCase) {
    const std::u32string s = decodeUtf8(text), f = decodeUtf8(find);
    if (start < 1) start = 1;
    if (size_t(start) > s.size() + 1) return 0;
    if (f.empty()) return start;
    const size_t at =
        ignoreCase ? folded(s).find(folded(f), size_t(start - 1)) : s.find(f, size_t(start - 1));
    return at == std::u32string::npos ? 0 : int32_t(at + 1);
}

std::string Replace(std::string_view text, std::string_view find, std::string_view with) {
    if (find.empty()) return std::string(text);
    std::string out;
    size_t from = 0;
    for (size_t at; (at = text.find(find, from)) != std::string_view::npos; from = at + find.size()) {
        out.append(text.substr(from, at - from));
        out.append(with);
    }
    out.append(text.substr(from));
    return out;
}

std::string UCase(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size())).toUpper().toStdString();
}

std::string LCase(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size())).toLower().toStdString();
}

}  // namespace VBA
