// Reads a workbook with Debian's python3-xlrd, the independent reader the tests trust.
#pragma once

#include <filesystem>
#include <string>

#include "platform/xls/Workbook.h"

namespace gridtest {

// The first sheet as xlrd sees it; colours resolved through the workbook's palette. False with
// xlrd's message in `error` when it refuses the file.
bool readWithXlrd(const std::filesystem::path& file, platform::xls::Sheet& sheet, std::string& error);

}  // namespace gridtest
