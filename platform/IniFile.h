// INI files with Windows profile-file rules: Windows-1252 and CRLF on disk, UTF-8 names and values.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform::ini {

// The file a profile call works on: a name without any folder lies in the Windows folder, as
// Windows' profile functions look for it there; any other name stays as it is.
std::string profilePath(std::string_view windowsPath);

// The value of a key, as GetPrivateProfileString gives it: sections and keys matched without
// regard to case, the first matching key line wins, spaces and one pair of surrounding quotes
// removed, cut to bufferSize - 1 characters. The default (cut the same way) when the file,
// section or key is missing.
std::string getString(std::string_view windowsPath, std::string_view section, std::string_view key,
                      std::string_view defaultValue, size_t bufferSize);

enum class WriteStatus { Written, PathNotFound, AccessDenied, InvalidName, InvalidValue, IoError };

// Writes one key as WritePrivateProfileString does: every other line, comment and line end
// stays byte for byte; the file, section or key are added as needed. The folder must exist and
// the file must not be read-only. The file is replaced through a temporary file and a rename,
// under a lock on its folder, so that no reader ever sees half a file and no writer's line
// is lost; in a folder that takes no new file, a writable file is rewritten in place. A name holding a line
// break, a section holding "]", a key holding "=" or starting with "[", and a value holding a line break are
// refused.
WriteStatus writeString(std::string_view windowsPath, std::string_view section, std::string_view key,
                        std::string_view value);

// The same rules over the file's bytes (Windows-1252), for the readers above and the fuzzers.
std::optional<std::string> findValue(std::string_view fileBytes, std::string_view section,
                                     std::string_view key);
// The file's bytes with the key set; names and value are Windows-1252 already.
std::string withValue(std::string_view fileBytes, std::string_view section, std::string_view key,
                      std::string_view value);

}  // namespace platform::ini
