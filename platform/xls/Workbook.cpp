// Workbook files on disk: replaced whole on write, read whole and checked before use.
#include "platform/xls/Workbook.h"

#include "platform/AtomicFile.h"

namespace platform::xls {

Outcome writeWorkbook(const std::filesystem::path& file, const Sheet& sheet) {
    std::string bytes;
    if (Outcome o = encodeWorkbook(sheet, bytes); !o.ok()) return o;
    switch (atomicfile::replace(file, bytes, atomicfile::newFileMode())) {
        case atomicfile::Result::Written:
            return {};
        case atomicfile::Result::AccessDenied:
            return Outcome::failure("access denied: " + file.string());
        case atomicfile::Result::IoError:
            break;
    }
    return Outcome::failure("cannot write " + file.string());
}

Outcome readWorkbook(const std::filesystem::path& file, std::vector<Sheet>& sheets) {
    std::string bytes;
    if (!atomicfile::readAll(file, bytes)) return Outcome::failure("cannot read " + file.string());
    return decodeWorkbook(bytes, sheets);
}

Outcome probeWorkbookFile(const std::filesystem::path& file) {
    std::string bytes;
    if (!atomicfile::readAll(file, bytes)) return Outcome::failure("cannot read " + file.string());
    return probeWorkbook(bytes);
}

}  // namespace platform::xls
