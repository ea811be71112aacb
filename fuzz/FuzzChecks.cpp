// Invariants the fuzzers hold the INI reader, the tag reader, the workbook reader and the hive
// reader to.
#include "fuzz/FuzzChecks.h"

#include <string>
#include <vector>

#include <QString>

#include "foundation/Conversions.h"
#include "foundation/LogBuffers.h"
#include "platform/Cp1252.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "platform/xls/ImportReport.h"
#include "platform/xls/Workbook.h"

namespace fuzzchecks {
namespace {

// Splits off the text up to the next "\n".
std::string_view takeLine(std::string_view& input) {
    const size_t end = input.find('\n');
    const std::string_view line = input.substr(0, end);
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    return line;
}

std::string_view trimmed(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The names a write accepts.
bool writable(std::string_view section, std::string_view key) {
    section = trimmed(section);
    key = trimmed(key);
    return !section.empty() && !key.empty() && section.find_first_of("\r]") == std::string_view::npos &&
           key.find_first_of("\r=") == std::string_view::npos && key.front() != '[';
}

}  // namespace

bool iniReader(std::string_view input) {
    const std::string_view section = takeLine(input);
    const std::string_view key = takeLine(input);
    (void)platform::ini::findValue(input, section, key);
    if (!writable(section, key)) return true;
    const std::string written = platform::ini::withValue(input, section, key, "fuzzed value");
    const auto back = platform::ini::findValue(written, section, key);
    return back && *back == "fuzzed value";
}

bool extractTag(std::string_view input) {
    const std::string tag(takeLine(input));
    const std::string message(input);
    const std::string value = Lib_Public::ExtraireBalise(message, tag, "\x01 default");
    logbuffers::earlyBuffer().clear();  // reports of odd tags pile up otherwise
    if (value == "\x01 default") return true;
    const std::string utf8Message = platform::cp1252::encodeUtf8(platform::cp1252::decodeUtf8(message));
    return utf8Message.find(value) != std::string::npos;
}

bool workbookReader(std::string_view input) {
    namespace xls = platform::xls;
    std::vector<xls::Sheet> sheets;
    const xls::Outcome read = xls::decodeWorkbook(input, sheets);
    const xls::Outcome probed = xls::probeWorkbook(input);
    if (!read.ok()) return !read.reason.empty() && (probed.ok() || !probed.reason.empty());
    if (!probed.ok() || sheets.empty()) return false;
    (void)xls::reportImport(sheets, 0, 21, 50);
    xls::Sheet first = sheets[0];
    for (auto& [at, cell] : first.cells) {
        if (at.first < 0 || at.first >= xls::kMaxRows || at.second < 0 || at.second >= xls::kMaxColumns)
            return false;
        if (QString::fromStdString(cell.text).size() > xls::kMaxTextLength) return false;
        cell.origin = xls::Origin::Text;
    }
    first.name = "SheetName";
    std::string bytes;
    if (!xls::encodeWorkbook(first, bytes).ok()) return false;
    std::vector<xls::Sheet> again;
    if (!xls::decodeWorkbook(bytes, again).ok() || again.size() != 1) return false;
    // Cells that hold nothing (an empty text without colours) are not written.
    std::erase_if(first.cells, [](const auto& c) {
        return c.second.text.empty() && !c.second.foreColour && !c.second.backColour;
    });
    return again[0].cells == first.cells;
}

bool hiveReader(std::string_view input) {
    const std::string once = platform::registry::rewrittenHive(std::string(input));
    return platform::registry::rewrittenHive(once) == once;
}

}  // namespace fuzzchecks
