// Workbooks written by other spreadsheet programs: LibreOffice Calc and python3-xlwt.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/xls/Workbook.h"

namespace gridtest {

struct Wanted {
    std::filesystem::path file;  // the .xls to write
    platform::xls::Sheet sheet;
};

// Each sheet as a flat OpenDocument file, then all converted to .xls by one headless soffice
// run with its own profile under `work`. False with soffice's output when it fails.
bool writeWithLibreOffice(const std::vector<Wanted>& workbooks, const std::filesystem::path& work,
                          std::string& error);

// An operator's figures in the first two rows of a sheet named "Relevés":
//   A1 "marker-text"  B1 4217   C1 3.25   D1 =C1*2      E1 =B1>1 (true)  F1 =1/0
//   A2 ="ab"&"cd"     B2 0.1    C2 1E+20  D2 -123456789 E2 TRUE          F2 FALSE
// and a second sheet "Notes" with "note" in A1. LibreOffice Calc, run under the desktop locale
// given (its language decides the booleans' words), stores each formula's result; xlwt stores
// none, writes E2 and F2 as booleans and has no error cell, so its F1 is the text "#DIV/0!".
bool writeFiguresWithLibreOffice(const std::filesystem::path& file, const std::filesystem::path& work,
                                 const std::string& locale, std::string& error);
bool writeFiguresWithXlwt(const std::filesystem::path& file, std::string& error);
// The sheet through xlwt: palette colours by name, any other colour set in the palette.
bool writeWithXlwt(const Wanted& workbook, std::string& error);
// The size of the compound file's Workbook stream (small ones live in the mini stream).
bool workbookStreamSize(const std::filesystem::path& file, uint64_t& size, std::string& error);

}  // namespace gridtest
