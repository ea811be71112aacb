// Fixture files as Windows tools write them: CRLF line ends, Windows-1252 bytes.
#pragma once

#include <filesystem>
#include <string>

namespace support {

// Writes UTF-8 text with "\n" line ends as Windows-1252 with CRLF; creates the folders.
void writeWindowsFile(const std::filesystem::path& path, const std::string& utf8Text);
std::string readBytes(const std::filesystem::path& path);
// The file's text as UTF-8 with "\n" line ends.
std::string readWindowsFile(const std::filesystem::path& path);

}  // namespace support
