// Writes one sheet as a BIFF8 workbook stream: fonts and formats for the colours used, shared
// strings for the texts, one record per cell.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <QString>

#include "platform/xls/Biff8.h"
#include "platform/xls/Bytes.h"
#include "platform/xls/CompoundFile.h"
#include "platform/xls/Workbook.h"

namespace platform::xls {
namespace {

using namespace biff8;
using namespace bytes;

constexpr int kStyleFormats = 15;
constexpr uint16_t kFirstCellFormat = 16;  // 15 is the default cell format
constexpr const char* kFontName = "Arial";

void record(std::string& out, uint16_t id, const std::string& body) {
    put16(out, id);
    put16(out, uint32_t(body.size()));
    out += body;
}

void putUtf16(std::string& out, const std::u16string& text) {
    for (char16_t c : text) put16(out, c);
}

std::string bof(uint16_t type) {
    std::string b;
    put16(b, kBiff8Version);
    put16(b, type);
    put16(b, 0x0DBB);  // build and year of the format's first writer
    put16(b, 0x07CC);
    put32(b, 0);
    put32(b, 0x06);  // lowest version that can read it: BIFF8
    return b;
}

std::string font(uint16_t colourIndex) {
    std::string b;
    put16(b, 200);  // 10 points, in twentieths
    put16(b, 0);
    put16(b, colourIndex);
    put16(b, 400);  // normal weight
    put16(b, 0);
    put8(b, 0);
    put8(b, 0);
    put8(b, 0);
    put8(b, 0);
    put8(b, uint32_t(std::char_traits<char>::length(kFontName)));
    put8(b, 0);  // single-byte characters
    b += kFontName;
    return b;
}

std::string xf(uint16_t fontIndex, bool style, std::optional<uint16_t> fill) {
    std::string b;
    put16(b, fontIndex);
    put16(b, 0);                        // General number format
    put16(b, style ? 0xFFF5 : 0x0001);  // locked; a style has no parent, a cell the Normal style
    put8(b, 0x20);                      // bottom aligned
    put8(b, 0);
    put8(b, 0);
    put8(b, style ? 0 : 0x48);      // a cell states its own font and fill
    put32(b, 0);                    // no borders
    put32(b, fill ? 1u << 26 : 0);  // solid pattern when filled
    put16(b, (fill ? *fill : kAutomaticPatternColour) | kAutomaticBackColour << 7);
    return b;
}

// The workbook's colours: each distinct colour of the sheet takes one palette entry.
class Palette {
public:
    bool add(int32_t colour) {
        if (std::find(colours_.begin(), colours_.end(), colour) != colours_.end()) return true;
        if (colours_.size() == size_t(kCustomColours)) return false;
        colours_.push_back(colour);
        return true;
    }
    uint16_t index(int32_t colour) const {
        return uint16_t(kFirstCustomColour +
                        (std::find(colours_.begin(), colours_.end(), colour) - colours_.begin()));
    }
    std::string body() const {
        std::string b;
        put16(b, kCustomColours);
        for (int i = 0; i < kCustomColours; ++i) {
            if (size_t(i) < colours_.size()) {
                const uint32_t c = uint32_t(colours_[i]);
                put8(b, c & 0xFF);
                put8(b, c >> 8 & 0xFF);
                put8(b, c >> 16 & 0xFF);
            } else {
                for (uint8_t v : kDefaultPalette[i]) put8(b, v);
            }
            put8(b, 0);
        }
        return b;
    }

private:
    std::vector<int32_t> colours_;
};

// Shared strings: the first SST record, then CONTINUE records; a text cut between two records
// starts its rest with the byte that says its characters are two bytes wide.
void sharedStrings(std::string& out, const std::vector<std::u16string>& strings, uint32_t total) {
    std::string body;
    put32(body, total);
    put32(body, uint32_t(strings.size()));
    uint16_t id = kSst;
    auto flush = [&] {
        record(out, id, body);
        body.clear();
        id = kContinue;
    };
    for (const std::u16string& s : strings) {
        if (body.size() + 3 + (s.empty() ? 0 : 2) > kMaxRecordBody) flush();
        put16(body, uint32_t(s.size()));
        put8(body, 1);
        for (size_t i = 0; i < s.size();) {
            size_t room = (kMaxRecordBody - body.size()) / 2;
            if (room == 0) {
                flush();
                put8(body, 1);
                room = (kMaxRecordBody - 1) / 2;
            }
            const size_t n = std::min(room, s.size() - i);
            putUtf16(body, s.substr(i, n));
            i += n;
        }
    }
    flush();
}

Outcome checkSheetName(const std::u16string& name) {
    if (name.empty() || name.size() > 31) return Outcome::failure("sheet name must have 1 to 31 characters");
    if (name.find_first_of(u"[]:*?/\\") != std::u16string::npos)
        return Outcome::failure("sheet name holds a character Excel refuses");
    return {};
}

}  // namespace

Outcome encodeWorkbook(const Sheet& sheet, std::string& bytesOut) {
    const std::u16string sheetName = QString::fromStdString(sheet.name).toStdU16String();
    if (Outcome o = checkSheetName(sheetName); !o.ok()) return o;

    Palette palette;
    std::vector<int32_t> fontColours;
    for (const auto& [at, cell] : sheet.cells) {
        const auto [row, column] = at;
        if (row < 0 || row >= kMaxRows || column < 0 || column >= kMaxColumns)
            return Outcome::failure("cell outside the sheet: row " + std::to_string(row) + ", column " +
                                    std::to_string(column));
        for (const auto& colour : {cell.foreColour, cell.backColour})
            if (colour && !palette.add(*colour))
                return Outcome::failure("more colours than a workbook palette holds");
        if (cell.foreColour &&
            std::find(fontColours.begin(), fontColours.end(), *cell.foreColour) == fontColours.end())
            fontColours.push_back(*cell.foreColour);
    }
    auto fontIndex = [&](const Cell& cell) -> uint16_t {
        if (!cell.foreColour) return 0;
        const auto k =
            std::find(fontColours.begin(), fontColours.end(), *cell.foreColour) - fontColours.begin();
        return uint16_t(5 + k);  // font 4 does not exist in this format
    };

    std::map<std::pair<uint16_t, int>, uint16_t> formats;  // (font, fill or -1) -> format
    std::vector<std::u16string> strings;
    std::map<std::u16string, uint32_t> stringIndex;
    uint32_t labels = 0;
    std::string cells;
    int firstRow = kMaxRows, lastRow = -1, firstColumn = kMaxColumns, lastColumn = -1;
    for (const auto& [at, cell] : sheet.cells) {
        const auto [row, column] = at;
        if (cell.text.empty() && !cell.foreColour && !cell.backColour) continue;
        const std::pair<uint16_t, int> key{fontIndex(cell),
                                           cell.backColour ? palette.index(*cell.backColour) : -1};
        const uint16_t format =
            formats.try_emplace(key, uint16_t(kFirstCellFormat + formats.size())).first->second;
        std::string b;
        put16(b, row);
        put16(b, column);
        put16(b, format);
        if (cell.text.empty()) {
            record(cells, kBlank, b);
        } else {
            const std::u16string text = QString::fromStdString(cell.text).toStdU16String();
            if (text.size() > size_t(kMaxTextLength))
                return Outcome::failure("text longer than a cell holds at row " + std::to_string(row) +
                                        ", column " + std::to_string(column));
            const auto [it, added] = stringIndex.try_emplace(text, uint32_t(strings.size()));
            if (added) strings.push_back(text);
            put32(b, it->second);
            record(cells, kLabelSst, b);
            ++labels;
        }
        firstRow = std::min(firstRow, row);
        lastRow = std::max(lastRow, row);
        firstColumn = std::min(firstColumn, column);
        lastColumn = std::max(lastColumn, column);
    }

    std::string globals;
    record(globals, kBof, bof(kGlobalsType));
    std::string b;
    put16(b, 1200);  // texts are UTF-16
    record(globals, kCodepage, b);
    b.clear();
    for (uint32_t v : {0u, 0u, 0x3A5Cu, 0x2328u, 0x38u, 0u, 0u, 1u, 0x258u}) put16(b, v);
    record(globals, kWindow1, b);
    for (int i = 0; i < 4; ++i) record(globals, kFont, font(kAutomaticFontColour));
    for (int32_t colour : fontColours) record(globals, kFont, font(palette.index(colour)));
    for (int i = 0; i < kStyleFormats; ++i) record(globals, kXf, xf(0, true, std::nullopt));
    record(globals, kXf, xf(0, false, std::nullopt));
    std::vector<std::pair<uint16_t, int>> byFormat(formats.size());
    for (const auto& [key, format] : formats) byFormat[format - kFirstCellFormat] = key;
    for (const auto& [fontNo, fill] : byFormat)
        record(globals, kXf,
               xf(fontNo, false, fill < 0 ? std::nullopt : std::optional<uint16_t>(uint16_t(fill))));
    b.clear();
    put16(b, 0x8000);  // built-in style on format 0: Normal
    put8(b, 0);
    put8(b, 0xFF);
    record(globals, kStyle, b);
    record(globals, kPalette, palette.body());
    b.clear();
    put32(b, 0);  // the sheet's offset, set below
    put8(b, 0);
    put8(b, 0);
    put8(b, uint32_t(sheetName.size()));
    put8(b, 1);
    putUtf16(b, sheetName);
    const size_t sheetOffsetAt = globals.size() + 4;
    record(globals, kBoundSheet, b);
    sharedStrings(globals, strings, labels);
    record(globals, kEof, {});

    std::string ws;
    record(ws, kBof, bof(kWorksheetType));
    b.clear();
    if (lastRow < 0) {
        put32(b, 0);
        put32(b, 0);
        put16(b, 0);
        put16(b, 0);
    } else {
        put32(b, firstRow);
        put32(b, lastRow + 1);
        put16(b, firstColumn);
        put16(b, lastColumn + 1);
    }
    put16(b, 0);
    record(ws, kDimensions, b);
    ws += cells;
    b.clear();
    for (uint32_t v : {0x06B6u, 0u, 0u, 0x40u, 0u, 0u, 0u, 0u, 0u}) put16(b, v);
    record(ws, kWindow2, b);
    record(ws, kEof, {});

    set32(globals, sheetOffsetAt, uint32_t(globals.size()));
    return compound::pack("Workbook", globals + ws, bytesOut);
}

}  // namespace platform::xls
