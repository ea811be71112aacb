// The texts a spreadsheet shows for the figures, booleans and errors of its cells.
#pragma once

#include <cstdint>
#include <string>

namespace platform::xls::celltexts {

// The language of the spreadsheet that wrote the workbook, as its COUNTRY record tells.
enum class Language { English, French };
Language languageOfCountry(uint32_t country);

// The shortest text that reads back as the same number, without the process locale: "4217",
// "3.25", "1E+20"; what is no number shows as the spreadsheet's #NUM! error.
std::string number(double value, Language language);
// TRUE/FALSE, or VRAI/FAUX from a French spreadsheet.
std::string boolean(bool value, Language language);
// The error's name (#DIV/0!, #N/A, ...); an unknown code shows as #N/A.
std::string error(uint32_t code, Language language);
// The number an RK field holds: a 30-bit integer or the high bits of a double, maybe over 100.
double rkValue(uint32_t rk);

}  // namespace platform::xls::celltexts
