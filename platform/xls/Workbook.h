// The Excel 97-2003 workbook (BIFF8 in an OLE2 compound file) of the grids: cell texts and colours.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::xls {

// Excel's own limits for one sheet of a 97-2003 workbook.
inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxColumns = 256;
inline constexpr int kMaxTextLength = 32767;

// What a cell held in the workbook read: only a text goes back into a workbook as it came, the
// others as the text the spreadsheet showed for them.
enum class Origin : uint8_t { Text, Number, Boolean, Error, Formula };

// Colours are 0x00BBGGRR, as VB writes them; no value means the sheet's automatic colour.
struct Cell {
    std::string text;  // UTF-8
    std::optional<int32_t> foreColour;
    std::optional<int32_t> backColour;
    Origin origin = Origin::Text;
    bool operator==(const Cell&) const = default;
};

struct Sheet {
    std::string name;
    std::map<std::pair<int, int>, Cell> cells;  // (row, column), both from 0
};

// Success, or the reason a workbook could not be written or read.
struct Outcome {
    std::string reason;
    bool ok() const { return reason.empty(); }
    static Outcome failure(std::string why) { return {why.empty() ? "failed" : std::move(why)}; }
};

// The compound file's bytes for one sheet.
Outcome encodeWorkbook(const Sheet& sheet, std::string& bytes);
// Every worksheet of a compound file's workbook; damaged or foreign bytes are refused.
Outcome decodeWorkbook(std::string_view bytes, std::vector<Sheet>& sheets);
// Whether the bytes are a compound file whose workbook stream opens as BIFF8 (the quick test).
Outcome probeWorkbook(std::string_view bytes);

// Replaces the file as a whole, so a failed export never leaves half a workbook.
Outcome writeWorkbook(const std::filesystem::path& file, const Sheet& sheet);
Outcome readWorkbook(const std::filesystem::path& file, std::vector<Sheet>& sheets);
Outcome probeWorkbookFile(const std::filesystem::path& file);

}  // namespace platform::xls
