// Figures the user reads, in the user's locale: VB's Format with "###,###,##0.00".
#include <charconv>
#include <cmath>
#include <string>

#include <QLocale>

#include "foundation/FilesAndFolders.h"
#include "platform/Cp1252.h"

namespace Lib_Systeme {
namespace {

bool heldByWindows1252(const std::string& text) {
    for (const char32_t c : platform::cp1252::decodeUtf8(text))
        if (platform::cp1252::toByte(c) == 0) return false;
    return !text.empty();
}

// The figure goes into Windows-1252 files: fr_FR's narrow no-break space becomes the no-break
// space French Windows used, any other separator the file cannot hold becomes C's.
std::string groupSeparator(const QLocale& locale) {
    const QString separator = locale.groupSeparator();
    if (heldByWindows1252(separator.toStdString())) return separator.toStdString();
    return separator.size() == 1 && separator.at(0).isSpace() ? "\u00A0" : ",";
}

std::string decimalPoint(const QLocale& locale) {
    const std::string point = locale.decimalPoint().toStdString();
    return heldByWindows1252(point) ? point : ".";
}

}  // namespace

std::string FormatGrouped2(double value) {
    if (!std::isfinite(value)) return {};
    char buffer[400];  // the largest double has 309 whole digits
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, 2).ptr;
    const std::string digits(buffer, end);  // ASCII digits and "." whatever the locale
    const size_t point = digits.size() - 3;

    const QLocale user;  // the desktop's LANG/LC_*, or what a test set as default
    const std::string group = groupSeparator(user);
    std::string whole = digits.substr(0, point);
    for (size_t at = whole.size(); at > 3; at -= 3) whole.insert(at - 3, group);
    const bool negative = value < 0 && digits.find_first_not_of("0.") != std::string::npos;
    return (negative ? "-" : "") + whole + decimalPoint(user) + digits.substr(point + 1);
}

}  // namespace Lib_Systeme
