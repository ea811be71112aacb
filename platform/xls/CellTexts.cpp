// Figures, booleans and errors of a workbook as the texts the spreadsheet showed.
#include "platform/xls/CellTexts.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace platform::xls::celltexts {
namespace {

struct ErrorName {
    uint32_t code;
    const char* english;
    const char* french;
};

constexpr ErrorName kErrors[] = {
    {0x00, "#NULL!", "#NUL!"}, {0x07, "#DIV/0!", "#DIV/0!"}, {0x0F, "#VALUE!", "#VALEUR!"},
    {0x17, "#REF!", "#REF!"},  {0x1D, "#NAME?", "#NOM?"},    {0x24, "#NUM!", "#NOMBRE!"},
    {0x2A, "#N/A", "#N/A"},
};

}  // namespace

Language languageOfCountry(uint32_t country) {
    // France, and French-speaking Canada; the countries of several languages say nothing.
    return country == 33 || country == 2 ? Language::French : Language::English;
}

std::string number(double value, Language language) {
    if (!std::isfinite(value)) return error(0x24, language);
    if (value == 0) return "0";  // -0 too
    char text[32];
    const auto [end, failed] = std::to_chars(text, text + sizeof text, value);
    if (failed != std::errc()) return error(0x24, language);
    std::string out(text, end);
    for (char& c : out)
        if (c == 'e') c = 'E';
    return out;
}

std::string boolean(bool value, Language language) {
    if (language == Language::French) return value ? "VRAI" : "FAUX";
    return value ? "TRUE" : "FALSE";
}

std::string error(uint32_t code, Language language) {
    for (const ErrorName& e : kErrors)
        if (e.code == code) return language == Language::French ? e.french : e.english;
    return "#N/A";
}

double rkValue(uint32_t rk) {
    double value;
    if (rk & 0x02) {
        value = double(int32_t(rk) >> 2);
    } else {
        const uint64_t bits = uint64_t(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return rk & 0x01 ? value / 100 : value;
}

}  // namespace platform::xls::celltexts
