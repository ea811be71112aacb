// The record buffers, shared by every base and station of a file.
#include "btrieve/Records.h"

#include <array>
#include <string_view>
#include <vector>

#include "btrieve/Catalogue.h"
#include "platform/Cp1252.h"

namespace Lib_Data_BTrieve {
namespace {

bool hasLayout(int16_t no) {
    return (no >= 0 && no <= 7) || no == 17 || (no >= 19 && no <= 37) || (no >= 40 && no <= 49) ||
           no == kFileFRADx55 || no == 59;
}

std::string trimmedUtf8(std::string_view field) {
    size_t first = field.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    size_t last = field.find_last_not_of(' ');
    return platform::cp1252::toUtf8(field.substr(first, last - first + 1));
}

// One buffer per file with a layout but 55, made at its first use.
std::array<std::vector<char>, kBtrFileCount>& buffers() {
    static std::array<std::vector<char>, kBtrFileCount> perFile;
    return perFile;
}

}  // namespace

void resetRecords() {
    PbTFRADx55 = {};
    for (std::vector<char>& buffer : buffers()) buffer.clear();
}

char* RecordBuffer(int16_t NoFichier) {
    if (NoFichier == kFileFRADx55) return reinterpret_cast<char*>(&PbTFRADx55);
    if (!hasLayout(NoFichier)) return nullptr;
    std::vector<char>& buffer = buffers()[size_t(NoFichier)];
    if (buffer.empty()) buffer.assign(size_t(catalogueEntry(NoFichier).RecordLength), ' ');
    return buffer.data();
}

std::string MessageText(const EnregFRADx55& record) {
    return trimmedUtf8(std::string_view(record.Message, sizeof record.Message));
}

}  // namespace Lib_Data_BTrieve
