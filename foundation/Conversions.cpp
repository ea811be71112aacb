// Lib_Public conversions: characters are code points; Windows-1252 codes where the ANSI page counts.
#include "foundation/Conversions.h"

#include <charconv>
#include <chrono>
#include <cmath>

#include <QChar>
#include <QString>

#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/ErrorReporter.h"
#include "platform/Cp1252.h"
#include "platform/VbErrors.h"

namespace Lib_Public {
namespace {

using namespace std::chrono;
using platform::cp1252::decodeUtf8;
using platform::cp1252::encodeUtf8;

const char* const kInvalidCallText = "Invalid procedure call or argument";

std::string textOfDouble(double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

// Windows-1252 code of a character; "?" for one the page cannot hold.
unsigned ansiCode(char32_t c) {
    if (c == 0) return 0;
    const unsigned char b = platform::cp1252::toByte(c);
    return b ? b : unsigned('?');
}

// A diacritic standing on its own (text in decomposed form) folds to nothing.
bool diacriticOnly(char32_t c) { return c >= 0x300 && QChar::isMark(c); }

// The base letter of a character with diacritics, else the character itself.
char32_t foldAccent(char32_t c) {
    if (c < 0xC0) return c;
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D);
    const std::u32string parts = decodeUtf8(decomposed.toStdString());
    if (parts.size() < 2 || parts[0] >= 0x80 || !QChar::isLetter(parts[0])) return c;
    for (size_t i = 1; i < parts.size(); ++i)
        if (!QChar::isMark(parts[i])) return c;
    return parts[0];
}

// Weeks begin on Sunday; week 1 is the one that holds 1 January.
int weekOfYear(const platform::LocalTimeFields& f) {
    const sys_days firstOfYear{std::chrono::year{f.year} / 1 / 1};
    const sys_days day{std::chrono::year{f.year} / unsigned(f.month) / unsigned(f.day)};
    const int sundayOffset = int(weekday{firstOfYear}.c_encoding());
    return int((day - firstOfYear).count() + sundayOffset) / 7 + 1;
}

}  // namespace

platform::LocalClockTime nullDate() { return platform::timeOf({.year = 1899, .month = 12, .day = 30}); }

std::string ExtraireBalise(const std::string& message, const std::string& tag,
                           const std::string& defaultValue) {
    if (VBA::Trim(message).empty()) return defaultValue;
    const int32_t found = VBA::InStr(1, message, tag, true);
    if (found == 0) return defaultValue;
    const int32_t close = VBA::InStr(found + 1, message, ">");
    if (close == 0) return defaultValue;
    const int32_t valueStart = found + VBA::Len(tag);
    if (close < valueStart) {  // the tag itself holds the ">"
        ReportError(platform::vb::kInvalidProcedureCall, kInvalidCallText, "Lib_Public:ExtraireBalise");
        return defaultValue;
    }
    return VBA::Mid(message, valueStart, close - valueStart);
}

std::string N2S(double value, int16_t width, int16_t decimals, const std::string& pad) {
    const bool negative = value < 0;
    value = std::fabs(value);
    const std::u32string padText = decodeUtf8(pad);
    const char32_t padChar = padText.empty() ? U' ' : padText[0];
    const std::string caller = "Lib_Public:N2S (Value: " + textOfDouble(value) + ")";

    // The scaled value rounded half to even (no bias added, whatever the decimals).
    const double scaled = value * std::pow(10.0, std::max<int16_t>(decimals, 0));
    const int32_t whole = std::isnan(scaled) ? 0 : VBA::CLng(std::min(scaled, 2147483647.0));

    std::u32string text;
    if (width < 0) {
        ReportError(platform::vb::kInvalidProcedureCall, kInvalidCallText, caller);
    } else {
        const std::u32string digits = decodeUtf8(std::to_string(whole));
        text = std::u32string(size_t(width), padChar) + digits;
        text = text.substr(text.size() - size_t(width));
    }

    if (decimals != 0) {
        if (decimals < 0 || width < decimals + 1) {
            ReportError(platform::vb::kInvalidProcedureCall, kInvalidCallText, caller);
        } else {
            text = text.substr(1, size_t(width - decimals - 1)) + U"." +
                   text.substr(text.size() - size_t(decimals));
        }
    }

    if (const size_t point = text.find(U'.'); point != std::u32string::npos) {
        for (size_t i = point + 1; i < text.size(); ++i)
            if (text[i] == U' ') text[i] = U'0';
        if (VBA::Val(encodeUtf8(text)) < 1 && point > 0) text[point - 1] = U'0';
    }

    if (negative) {
        if (const size_t blank = text.rfind(U' '); blank != std::u32string::npos)
            text[blank] = U'-';
        else if (!text.empty() && !(text[0] >= U'1' && text[0] <= U'9'))
            text[0] = U'-';
        else
            text = U"-" + text;
    }
    return encodeUtf8(text);
}

std::string D2S(platform::LocalClockTime date) {
    const platform::LocalTimeFields f = platform::fieldsOf(date);
    return N2S(f.year, 4, 0, "0") + N2S(f.month, 2, 0, "0") + N2S(f.day, 2, 0, "0");
}

platform::LocalClockTime S2D(const std::string& text) {
    // Each field held to 32 bits ("9e99" is a year too), so the month count cannot overflow.
    const int64_t y = VBA::CLng(VBA::Val(VBA::Mid(text, 1, 4)));
    const int64_t m = VBA::CLng(VBA::Val(VBA::Mid(text, 5, 2)));
    const int64_t d = VBA::CLng(VBA::Val(VBA::Mid(text, 7, 2)));
    // Months carry into years, then days count on from the first of the month.
    const int64_t months = y * 12 + (m - 1);
    const int64_t year = months >= 0 ? months / 12 : (months - 11) / 12;
    const int64_t month = months - year * 12 + 1;
    if (year >= 100 && year <= 9999) {
        const sys_days first{std::chrono::year{int(year)} / unsigned(month) / 1};
        const sys_days day = first + days{d - 1};
        const int composedYear = int(year_month_day{day}.year());
        if (composedYear >= 100 && composedYear <= 9999)
            return platform::LocalClockTime{duration_cast<milliseconds>(day.time_since_epoch())};
    }
    ReportError(platform::vb::kInvalidProcedureCall, "Invalid date: " + text, "Lib_Public:S2D");
    return nullDate();
}

std::string Date2StringEx(platform::LocalClockTime date, const std::string& format) {
    const std::string pattern = VBA::Trim(format).empty() ? "HH:MM:SS" : format;
    const platform::LocalTimeFields f = platform::fieldsOf(date);
    auto two = [](int n) { return N2S(n, 2, 0, "0"); };
    std::string out;
    bool afterHour = false;
    for (size_t i = 0; i < pattern.size();) {
        auto starts = [&](const char* token) {
            const size_t n = std::char_traits<char>::length(token);
            if (pattern.size() - i < n) return false;
            for (size_t k = 0; k < n; ++k)
                if (std::tolower((unsigned char)pattern[i + k]) != token[k]) return false;
            i += n;
            return true;
        };
        if (starts("yyyy")) {
            out += N2S(f.year, 4, 0, "0");
            afterHour = false;
        } else if (starts("hh")) {
            out += two(f.hour);
            afterHour = true;
        } else if (starts("mm")) {
            out += two(afterHour ? f.minute : f.month);
            afterHour = false;
        } else if (starts("dd")) {
            out += two(f.day);
            afterHour = false;
        } else if (starts("ss")) {
            out += two(f.second);
            afterHour = false;
        } else if (starts("ww")) {
            out += std::to_string(weekOfYear(f));
            afterHour = false;
        } else if (starts("w")) {
            out += std::to_string(f.dayOfWeek + 1);
            afterHour = false;
        } else {
            out += pattern[i++];  // literals keep the token before them in force
        }
    }
    return out;
}

std::string Calibre(const std::string& text, std::string& pad, int32_t width) {
    if (pad.empty()) pad = " ";
    if (width < 0) {
        ReportError(platform::vb::kInvalidProcedureCall, kInvalidCallText, "Lib_Public:Calibre");
        return {};
    }
    const std::u32string padChar = decodeUtf8(pad).substr(0, 1);
    std::u32string filled = decodeUtf8(text);
    filled.append(size_t(width), padChar[0]);
    return encodeUtf8(filled.substr(0, size_t(width)));
}

std::string CheckRep(const std::string& path) {
    if (path.empty() || path.back() == '\\') return path;
    return path + "\\";
}

std::string ClearChaine(std::string& text) {
    static const std::u32string kKept = U"éèàçûôâëù";
    std::u32string chars = decodeUtf8(text);
    for (char32_t& c : chars) {
        if (kKept.find(c) != std::u32string::npos) continue;
        const unsigned code = ansiCode(c);
        if (code < 32 || code >= 251) c = U' ';
    }
    text = encodeUtf8(chars);
    return text;
}

std::string RemoveAccent(const std::string& text, bool Nettoyer, bool GarderArobase, bool GarderDeuxPoints,
                         bool GarderTiret, bool GarderApostrophe, bool GarderPlus) {
    if (VBA::Trim(text).empty()) return {};
    std::string source = text;
    if (source.find("œ") != std::string::npos) {
        source = VBA::Replace(VBA::Replace(source, "œ", "oe"), "Œ", "oe");
    } else {
        source = VBA::Replace(source, "Œ", "Oe");
    }
    std::u32string folded;
    for (const char32_t c : decodeUtf8(source))
        if (!diacriticOnly(c)) folded += foldAccent(c);
    std::string result = encodeUtf8(folded);
    if (VBA::Trim(result).empty()) {
        TraceLog(-1, -1, -1, "Err: RemoveAccent: " + text);
        result = source;
    }

    if (Nettoyer) {
        std::u32string special = U"+-&;,!/\\'#?%°:@";
        auto keep = [&](bool flag, char32_t c) {
            if (flag) special.erase(special.find(c), 1);
        };
        keep(GarderArobase, U'@');
        keep(GarderDeuxPoints, U':');
        keep(GarderApostrophe, U'\'');
        keep(GarderTiret, U'-');
        keep(GarderPlus, U'+');
        special += U'"';
        std::u32string cleaned = decodeUtf8(result);
        for (char32_t& c : cleaned)
            if (special.find(c) != std::u32string::npos) c = U' ';
        result = VBA::Replace(encodeUtf8(cleaned), "  ", " ");
    }
    return result;
}

void EclateRepFicExt(const std::string& path, const std::string& separator) {
    const std::u32string p = decodeUtf8(VBA::Trim(path));
    const std::u32string sep = decodeUtf8(separator).substr(0, 1);
    PbTRepFicExt = {encodeUtf8(p), "", ""};
    if (p.empty()) return;

    size_t point = std::u32string::npos;
    size_t stop = std::u32string::npos;
    for (size_t i = p.size(); i-- > 0;) {
        if (p[i] == U'.' && PbTRepFicExt.Ext.empty()) {
            point = i;
            PbTRepFicExt.Ext = encodeUtf8(p.substr(i));
        } else if ((!sep.empty() && p[i] == sep[0]) || i == 0) {
            stop = i;
            break;
        }
    }
    if (stop == std::u32string::npos) return;  // the first character is the point

    const size_t cut = (!sep.empty() && p[stop] == sep[0]) ? stop + 1 : 0;
    PbTRepFicExt.Rep = encodeUtf8(p.substr(0, cut));
    PbTRepFicExt.Fic = encodeUtf8(point == std::u32string::npos ? p.substr(cut) : p.substr(cut, point - cut));
}

std::string NettoieNomDeDossier(const std::string& path) {
    std::string text = path;
    for (const char* bad : {"/", "*", "?", "\"", "<", ">", "|", ","}) text = VBA::Replace(text, bad, " ");
    text = VBA::Replace(VBA::Replace(VBA::Replace(text, "...", ""), "..", ""), "%", "");
    if (VBA::Len(text) > 2) {
        const std::string drive = VBA::Left(text, 2);
        const std::string rest = VBA::Replace(VBA::Replace(VBA::Mid(text, 3), ":", " "), "   ", " ");
        text = drive + rest;
    }
    for (size_t at; (at = text.find(" \\")) != std::string::npos;) text.erase(at, 1);
    return VBA::Trim(text);
}

void CheckValiditeValeurMin(int32_t& value, int32_t minimum) {
    if (value < minimum) value = minimum;
}

}  // namespace Lib_Public

namespace Lib_Email {

std::string NbSecondes2String(double seconds) {
    const int64_t total = VBA::CLngLng(seconds);
    int64_t minutes = total / 60;
    const int64_t secs = total % 60;
    int64_t hours = 0, daysCount = 0;
    if (minutes >= 60) {
        hours = minutes / 60;
        minutes %= 60;
        if (hours >= 24) {
            daysCount = hours / 24;
            hours %= 24;
        }
    }
    std::string text;
    if (daysCount >= 1)
        text = std::to_string(daysCount) + " J " + std::to_string(hours) + " H ";
    else if (hours > 0)
        text = std::to_string(hours) + " H ";
    return text + std::to_string(minutes) + " Min " + std::to_string(secs) + " Sec";
}

}  // namespace Lib_Email
