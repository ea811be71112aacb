// What a grid of texts cannot hold, as it came, of a workbook imported into it.
#pragma once

#include <string>
#include <vector>

#include "platform/xls/Workbook.h"

namespace platform::xls {

struct ImportReport {
    int count = 0;                   // everything not held as it came
    std::vector<std::string> lines;  // one per sheet or cell, the first ones only
};

// A text from a workbook on one log line: CR LF as "<CRLF>", a lone CR or LF as "<CR>"/"<LF>",
// other control characters as "\xNN".
std::string oneLine(const std::string& text);

// Sheet `imported` of the workbook going into an area of `columns` by `rows`: the other sheets
// that hold cells, the cells outside the area, and the cells whose text stands for something
// else (a figure, a boolean, an error, a formula's result). Lines are UTF-8, one line each.
ImportReport reportImport(const std::vector<Sheet>& sheets, size_t imported, int columns, int rows);

}  // namespace platform::xls
