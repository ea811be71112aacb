// VB built-ins over UTF-8 texts: characters are code points, case folding goes through Qt.
#include "foundation/ConversionsVba.h"

#include <cmath>
#include <cstdlib>
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

// Simple case folding, one character to one, so positions stay those of the original text.
std::u32string folded(std::u32string s) {
    for (char32_t& c : s) c = QChar::toCaseFolded(c);
    return s;
}

}  // namespace

double Val(std::string_view text) {
    std::string number;
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && isBlank(text[i])) ++i;
    };
    skipBlanks();
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) number += text[i++];
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isBlank(c)) continue;
        if (c >= '0' && c <= '9') {
            number += c;
            digits = true;
        } else if (c == '.' && !point) {
            number += c;
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return 0.0;
    const double value = std::strtod(number.c_str(), nullptr);
    return value == 0.0 ? 0.0 : value;  // no "-0"
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
    const size_t at = ignoreCase ? folded(s).find(folded(f), size_t(start - 1))
                                 : s.find(f, size_t(start - 1));
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

std::string Space(int32_t count) { return count > 0 ? std::string(size_t(count), ' ') : std::string(); }

}  // namespace VBA
