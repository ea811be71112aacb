// Reads the worksheets of a BIFF8 workbook stream: the cells' texts (figures, booleans, errors and
// formula results as the spreadsheet showed them) and colours; every length and index is checked
// against what is really there, and every record is read once.
#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include <QString>

#include "platform/xls/Biff8.h"
#include "platform/xls/Bytes.h"
#include "platform/xls/CellTexts.h"
#include "platform/xls/CompoundFile.h"
#include "platform/xls/Workbook.h"

namespace platform::xls {
namespace {

using namespace biff8;
using namespace bytes;

struct RecordView {
    uint16_t id = 0;
    std::string_view body;
};

class Records {
public:
    Records(std::string_view stream, size_t at) : stream_(stream), at_(at) {}
    // False at the end of the stream; a record running past the end is an error.
    bool next(RecordView& r, Outcome& error) {
        if (at_ + 4 > stream_.size()) return false;
        r.id = uint16_t(get16(stream_, at_));
        const size_t length = get16(stream_, at_ + 2);
        if (at_ + 4 + length > stream_.size()) {
            error = Outcome::failure("record runs past the end of the workbook (truncated)");
            return false;
        }
        r.body = stream_.substr(at_ + 4, length);
        at_ += 4 + length;
        return true;
    }
    bool peekId(uint16_t& id) const {
        if (at_ + 4 > stream_.size()) return false;
        id = uint16_t(get16(stream_, at_));
        return true;
    }
    size_t position() const { return at_; }

private:
    std::string_view stream_;
    size_t at_;
};

std::string utf8(const std::u16string& text) { return QString::fromStdU16String(text).toStdString(); }

// Characters of a string: one byte each (Latin-1) or two (UTF-16).
void appendChars(std::u16string& out, std::string_view data, bool wide) {
    if (wide) {
        for (size_t i = 0; i + 1 < data.size(); i += 2) out.push_back(char16_t(get16(data, i)));
    } else {
        for (char c : data) out.push_back(char16_t(uint8_t(c)));
    }
}

// A record's body and its CONTINUE records: the shared-string table, a formula's text result.
class ContinuedText {
public:
    void add(std::string_view segment) { segments_.push_back(segment); }

    Outcome readSharedStrings(std::vector<std::u16string>& out) {
        uint32_t unique = 0;
        if (!skip(4) || !u32(unique)) return Outcome::failure("shared strings truncated");
        for (uint32_t n = 0; n < unique; ++n) {
            uint32_t length = 0, flags = 0, runs = 0, ext = 0;
            if (!u16(length) || !u8(flags)) return Outcome::failure("shared strings truncated");
            if ((flags & 0x08) && !u16(runs)) return Outcome::failure("shared strings truncated");
            if ((flags & 0x04) && !u32(ext)) return Outcome::failure("shared strings truncated");
            std::u16string text;
            if (!chars(length, flags & 0x01, text) || !skip(size_t(runs) * 4) || !skip(ext))
                return Outcome::failure("shared strings truncated");
            out.push_back(std::move(text));
        }
        return {};
    }

    // A text of a 16-bit length and a flags byte (a formula's STRING record).
    bool readText(std::u16string& out) {
        uint32_t length = 0, flags = 0;
        return u16(length) && u8(flags) && chars(length, flags & 0x01, out);
    }

private:
    bool atSegmentEnd() const { return segment_ < segments_.size() && offset_ >= segments_[segment_].size(); }
    bool u8(uint32_t& v) {
        while (atSegmentEnd()) ++segment_, offset_ = 0;
        if (segment_ >= segments_.size()) return false;
        v = get8(segments_[segment_], offset_++);
        return true;
    }
    bool u16(uint32_t& v) {
        uint32_t a, b;
        if (!u8(a) || !u8(b)) return false;
        v = a | b << 8;
        return true;
    }
    bool u32(uint32_t& v) {
        uint32_t a, b;
        if (!u16(a) || !u16(b)) return false;
        v = a | b << 16;
        return true;
    }
    bool skip(size_t n) {
        for (uint32_t v; n > 0; --n)
            if (!u8(v)) return false;
        return true;
    }
    // A string's characters may continue in the next record, which then begins with its flags.
    bool chars(size_t count, bool wide, std::u16string& out) {
        while (count > 0) {
            if (segment_ >= segments_.size()) return false;
            if (atSegmentEnd()) {
                ++segment_;
                offset_ = 0;
                uint32_t flags;
                if (!u8(flags)) return false;
                wide = flags & 0x01;
                continue;
            }
            const std::string_view rest = segments_[segment_].substr(offset_);
            const size_t width = wide ? 2 : 1;
            const size_t n = std::min(count, rest.size() / width);
            if (n == 0) return false;  // half a character
            appendChars(out, rest.substr(0, n * width), wide);
            offset_ += n * width;
            count -= n;
        }
        return true;
    }

    std::vector<std::string_view> segments_;
    size_t segment_ = 0;
    size_t offset_ = 0;
};

struct Format {
    uint16_t font = 0;
    bool filled = false;
    uint16_t patternColour = 0;
};

struct SheetEntry {
    uint32_t offset = 0;
    std::string name;
};

// What the globals say about formats, colours, texts and where the sheets are.
struct Globals {
    std::vector<uint16_t> fontColours;
    std::vector<Format> formats;
    std::array<std::array<uint8_t, 3>, kCustomColours> palette = kDefaultPalette;
    std::vector<SheetEntry> sheets;
    std::vector<std::u16string> strings;
    celltexts::Language language = celltexts::Language::English;
    size_t end = 0;  // where the records after the globals begin

    std::optional<int32_t> colour(uint16_t index) const {
        static constexpr std::array<std::array<uint8_t, 3>, 8> kFixed{{{0, 0, 0},
                                                                       {255, 255, 255},
                                                                       {255, 0, 0},
                                                                       {0, 255, 0},
                                                                       {0, 0, 255},
                                                                       {255, 255, 0},
                                                                       {255, 0, 255},
                                                                       {0, 255, 255}}};
        if (index < kFirstCustomColour) return vbColour(kFixed[index][0], kFixed[index][1], kFixed[index][2]);
        if (index < kFirstCustomColour + kCustomColours) {
            const auto& c = palette[index - kFirstCustomColour];
            return vbColour(c[0], c[1], c[2]);
        }
        return std::nullopt;  // the system's automatic colours
    }
};

Outcome checkBof(const RecordView& r, uint16_t type) {
    if (r.id != kBof || r.body.size() < 4) return Outcome::failure("not an Excel workbook (no BOF record)");
    if (get16(r.body, 0) != kBiff8Version) return Outcome::failure("not an Excel 97-2003 (BIFF8) workbook");
    if (get16(r.body, 2) != type) return Outcome::failure("unexpected substream type");
    return {};
}

// A short Unicode text: length byte, flags byte, characters.
bool shortText(std::string_view body, size_t at, std::u16string& out) {
    if (at + 2 > body.size()) return false;
    const size_t length = get8(body, at);
    const bool wide = get8(body, at + 1) & 0x01;
    if (at + 2 + length * (wide ? 2 : 1) > body.size()) return false;
    appendChars(out, body.substr(at + 2, length * (wide ? 2 : 1)), wide);
    return true;
}

Outcome readGlobals(std::string_view stream, Globals& g) {
    Records records(stream, 0);
    RecordView r;
    Outcome error;
    if (!records.next(r, error)) return error.ok() ? Outcome::failure("empty workbook stream") : error;
    if (Outcome o = checkBof(r, kGlobalsType); !o.ok()) return o;
    while (true) {
        if (!records.next(r, error))
            return error.ok() ? Outcome::failure("workbook globals truncated (no EOF)") : error;
        switch (r.id) {
            case kEof:
                g.end = records.position();
                return {};
            case kCountry:
                if (r.body.size() >= 2) g.language = celltexts::languageOfCountry(get16(r.body, 0));
                break;
            case kFont:
                if (r.body.size() < 14) return Outcome::failure("font record too short");
                if (g.fontColours.size() == 4) g.fontColours.push_back(kAutomaticFontColour);
                g.fontColours.push_back(uint16_t(get16(r.body, 4)));
                break;
            case kXf: {
                if (r.body.size() < 20) return Outcome::failure("format record too short");
                Format f;
                f.font = uint16_t(get16(r.body, 0));
                f.filled = ((get32(r.body, 14) >> 26) & 0x3F) != 0;
                f.patternColour = uint16_t(get16(r.body, 18) & 0x7F);
                g.formats.push_back(f);
                break;
            }
            case kPalette: {
                if (r.body.size() < 2) return Outcome::failure("palette record too short");
                const size_t count = get16(r.body, 0);
                if (count > size_t(kCustomColours) || r.body.size() < 2 + 4 * count)
                    return Outcome::failure("palette record damaged");
                for (size_t i = 0; i < count; ++i)
                    for (size_t k = 0; k < 3; ++k) g.palette[i][k] = uint8_t(get8(r.body, 2 + 4 * i + k));
                break;
            }
            case kBoundSheet: {
                std::u16string name;
                if (r.body.size() < 8 || !shortText(r.body, 6, name))
                    return Outcome::failure("sheet record damaged");
                if (get8(r.body, 5) == 0) g.sheets.push_back({get32(r.body, 0), utf8(name)});
                break;
            }
            case kSst: {
                ContinuedText sst;
                sst.add(r.body);
                for (uint16_t id; records.peekId(id) && id == kContinue;) {
                    if (!records.next(r, error)) return error;
                    sst.add(r.body);
                }
                if (Outcome o = sst.readSharedStrings(g.strings); !o.ok()) return o;
                break;
            }
            default:
                break;
        }
    }
}

// Records that may stand between a formula and the STRING record of its text result.
bool betweenFormulaAndText(uint16_t id) { return id == kSharedFormula || id == kArray || id == kTable; }

// A cell text from the records' bytes: Latin-1 or UTF-16 characters after a length and flags.
bool inlineText(std::string_view b, size_t lengthAt, std::u16string& text) {
    if (b.size() < lengthAt + 3) return false;
    const size_t length = get16(b, lengthAt);
    const bool wide = get8(b, lengthAt + 2) & 0x01;
    if (lengthAt + 3 + length * (wide ? 2 : 1) > b.size()) return false;
    appendChars(text, b.substr(lengthAt + 3, length * (wide ? 2 : 1)), wide);
    return true;
}

double ieee(std::string_view b, size_t at) {
    const uint64_t bits = uint64_t(get32(b, at)) | uint64_t(get32(b, at + 4)) << 32;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The sheet's records from its BOF to its EOF; `end` receives where the next record begins.
Outcome readSheet(std::string_view stream, const Globals& g, const SheetEntry& entry, Sheet& sheet,
                  size_t& end) {
    if (entry.offset >= stream.size())
        return Outcome::failure("sheet " + entry.name + " lies outside the workbook (truncated)");
    sheet.name = entry.name;
    Records records(stream, entry.offset);
    RecordView r;
    Outcome error;
    if (!records.next(r, error)) return error.ok() ? Outcome::failure("sheet truncated") : error;
    if (Outcome o = checkBof(r, kWorksheetType); !o.ok()) return o;

    auto put = [&](uint32_t row, uint32_t column, uint32_t format, const std::u16string& text,
                   Origin origin) -> Outcome {
        if (column >= uint32_t(kMaxColumns)) return Outcome::failure("cell column out of range");
        if (format >= g.formats.size()) return Outcome::failure("cell format out of range");
        if (text.size() > size_t(kMaxTextLength))
            return Outcome::failure("cell text longer than a cell holds");
        const Format& f = g.formats[format];
        Cell cell;
        cell.text = utf8(text);
        cell.origin = origin;
        if (f.font < g.fontColours.size()) cell.foreColour = g.colour(g.fontColours[f.font]);
        if (f.filled) cell.backColour = g.colour(f.patternColour);
        const std::pair<int, int> at{int(row), int(column)};
        if (cell.text.empty() && !cell.foreColour && !cell.backColour && origin == Origin::Text)
            sheet.cells.erase(at);
        else
            sheet.cells[at] = std::move(cell);
        return {};
    };
    auto shown = [&](const std::string& text) { return QString::fromStdString(text).toStdU16String(); };
    auto number = [&](double value) { return shown(celltexts::number(value, g.language)); };

    // The formula whose text result the next STRING record brings.
    std::optional<std::array<uint32_t, 3>> textResultOf;
    while (true) {
        if (!records.next(r, error))
            return error.ok() ? Outcome::failure("sheet " + entry.name + " truncated (no EOF)") : error;
        const std::string_view b = r.body;
        Outcome o;
        if (r.id != kString && !betweenFormulaAndText(r.id)) textResultOf.reset();
        switch (r.id) {
            case kEof:
                end = records.position();
                return {};
            case kLabelSst:
                if (b.size() < 10) return Outcome::failure("text cell record too short");
                if (get32(b, 6) >= g.strings.size())
                    return Outcome::failure("shared string index out of range");
                o = put(get16(b, 0), get16(b, 2), get16(b, 4), g.strings[get32(b, 6)], Origin::Text);
                break;
            case kLabel:
            case kRString: {
                std::u16string text;
                if (!inlineText(b, 6, text)) return Outcome::failure("text cell record damaged");
                o = put(get16(b, 0), get16(b, 2), get16(b, 4), text, Origin::Text);
                break;
            }
            case kBlank:
                if (b.size() < 6) return Outcome::failure("blank cell record too short");
                o = put(get16(b, 0), get16(b, 2), get16(b, 4), {}, Origin::Text);
                break;
            case kMulBlank: {
                if (b.size() < 6) return Outcome::failure("blank cells record too short");
                const uint32_t first = get16(b, 2), last = get16(b, b.size() - 2);
                if (last < first || b.size() != 6 + 2 * size_t(last - first + 1))
                    return Outcome::failure("blank cells record damaged");
                for (uint32_t c = first; c <= last && o.ok(); ++c)
                    o = put(get16(b, 0), c, get16(b, 4 + 2 * (c - first)), {}, Origin::Text);
                break;
            }
            case kNumber:
                if (b.size() < 14) return Outcome::failure("number cell record too short");
                o = put(get16(b, 0), get16(b, 2), get16(b, 4), number(ieee(b, 6)), Origin::Number);
                break;
            case kRk:
                if (b.size() < 10) return Outcome::failure("number cell record too short");
                o = put(get16(b, 0), get16(b, 2), get16(b, 4), number(celltexts::rkValue(get32(b, 6))),
                        Origin::Number);
                break;
            case kMulRk: {
                if (b.size() < 6) return Outcome::failure("number cells record too short");
                const uint32_t first = get16(b, 2), last = get16(b, b.size() - 2);
                if (last < first || b.size() != 6 + 6 * size_t(last - first + 1))
                    return Outcome::failure("number cells record damaged");
                for (uint32_t c = first; c <= last && o.ok(); ++c) {
                    const size_t at = 4 + 6 * size_t(c - first);
                    o = put(get16(b, 0), c, get16(b, at), number(celltexts::rkValue(get32(b, at + 2))),
                            Origin::Number);
                }
                break;
            }
            case kBoolErr: {
                if (b.size() < 8) return Outcome::failure("boolean cell record too short");
                const bool isError = get8(b, 7) != 0;
                const std::string text = isError ? celltexts::error(get8(b, 6), g.language)
                                                 : celltexts::boolean(get8(b, 6) != 0, g.language);
                o = put(get16(b, 0), get16(b, 2), get16(b, 4), shown(text),
                        isError ? Origin::Error : Origin::Boolean);
                break;
            }
            case kFormula: {
                // The cached result: a number, or a kind in the first byte when the last two are FFFF.
                if (b.size() < 20) return Outcome::failure("formula cell record too short");
                const uint32_t row = get16(b, 0), column = get16(b, 2), format = get16(b, 4);
                std::u16string text;
                if (get16(b, 12) != 0xFFFF) {
                    text = number(ieee(b, 6));
                } else {
                    switch (get8(b, 6)) {
                        case 0:
                            textResultOf = {row, column, format};
                            break;
                        case 1:
                            text = shown(celltexts::boolean(get8(b, 8) != 0, g.language));
                            break;
                        case 2:
                            text = shown(celltexts::error(get8(b, 8), g.language));
                            break;
                        default:
                            break;  // an empty text
                    }
                }
                o = put(row, column, format, text, Origin::Formula);
                break;
            }
            case kString: {
                ContinuedText result;
                result.add(b);
                for (uint16_t id; records.peekId(id) && id == kContinue;) {
                    if (!records.next(r, error)) return error;
                    result.add(r.body);
                }
                std::u16string text;
                if (!result.readText(text)) return Outcome::failure("formula text result damaged");
                if (textResultOf)
                    o = put((*textResultOf)[0], (*textResultOf)[1], (*textResultOf)[2], text,
                            Origin::Formula);
                textResultOf.reset();
                break;
            }
            default:
                break;
        }
        if (!o.ok()) return o;
    }
}

}  // namespace

Outcome probeWorkbook(std::string_view bytesIn) {
    std::string stream;
    if (Outcome o = compound::unpack(bytesIn, "Workbook", stream); !o.ok()) return o;
    Records records(stream, 0);
    RecordView r;
    Outcome error;
    if (!records.next(r, error)) return error.ok() ? Outcome::failure("empty workbook stream") : error;
    return checkBof(r, kGlobalsType);
}

Outcome decodeWorkbook(std::string_view bytesIn, std::vector<Sheet>& sheets) {
    std::string stream;
    if (Outcome o = compound::unpack(bytesIn, "Workbook", stream); !o.ok()) return o;
    Globals g;
    if (Outcome o = readGlobals(stream, g); !o.ok()) return o;
    if (g.sheets.empty()) return Outcome::failure("the workbook has no worksheet");
    // Each sheet's records follow the globals and end before the next sheet's begin, so that no
    // record is read twice however many sheet entries point into them.
    std::vector<size_t> order(g.sheets.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return g.sheets[a].offset < g.sheets[b].offset; });
    std::vector<Sheet> read(g.sheets.size());
    size_t free = g.end;
    for (size_t i : order) {
        const SheetEntry& entry = g.sheets[i];
        if (entry.offset < free)
            return Outcome::failure("sheet " + entry.name +
                                    (entry.offset < g.end ? " lies inside the workbook globals"
                                                          : " shares its records with another sheet"));
        if (Outcome o = readSheet(stream, g, entry, read[i], free); !o.ok()) return o;
    }
    sheets = std::move(read);
    return {};
}

}  // namespace platform::xls
