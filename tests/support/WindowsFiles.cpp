#include "tests/support/WindowsFiles.h"

#include <fstream>
#include <iterator>

#include "platform/Cp1252.h"

namespace support {
namespace fs = std::filesystem;

void writeWindowsFile(const fs::path& path, const std::string& utf8Text) {
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    std::string crlf;
    for (char c : utf8Text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    std::ofstream out(path, std::ios::binary);
    out << platform::cp1252::fromUtf8(crlf);
}

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string readWindowsFile(const fs::path& path) {
    std::string text = platform::cp1252::toUtf8(readBytes(path));
    std::string out;
    for (char c : text)
        if (c != '\r') out += c;
    return out;
}

}  // namespace support
