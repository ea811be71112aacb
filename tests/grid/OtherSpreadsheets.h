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
// The sheet through xlwt: palette colours by name, any other colour set in the palette.
bool writeWithXlwt(const Wanted& workbook, std::string& error);
// The size of the compound file's Workbook stream (small ones live in the mini stream).
bool workbookStreamSize(const std::filesystem::path& file, uint64_t& size, std::string& error);

}  // namespace gridtest
