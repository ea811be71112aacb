// The registry stand-in: one text file per hive under the C: root, written atomically.
#pragma once

#include <cstdint>
#include <string>

namespace platform::registry {

// Predefined roots, numbered as Windows numbers them.
enum Root : uint32_t {
    HKEY_CLASSES_ROOT = 0x80000000u,
    HKEY_CURRENT_USER = 0x80000001u,
    HKEY_LOCAL_MACHINE = 0x80000002u,
    HKEY_USERS = 0x80000003u,
};

enum Type : uint32_t {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_MULTI_SZ = 7
};

// Status codes, as the Windows registry functions return them.
enum Status : int32_t {
    ERROR_SUCCESS = 0,
    ERROR_FILE_NOT_FOUND = 2,
    ERROR_ACCESS_DENIED = 5,
    ERROR_INVALID_HANDLE = 6,
    ERROR_MORE_DATA = 234,
    ERROR_BADKEY = 1010,
};

// The host file that holds a root's keys; empty for a root that is not predefined.
std::string hiveFile(uint32_t root);

// Paths and names are UTF-8; data are the value's bytes (Windows-1252 for texts).

// RegCreateKey: opens the key, creating every missing level (ERROR_ACCESS_DENIED when the
// hive cannot be written).
int32_t createKey(uint32_t root, const std::string& path);
// RegQueryValueEx: type and size of the value's data in bytes; its bytes when they fit in
// bufferSize (ERROR_MORE_DATA and the size when not, ERROR_FILE_NOT_FOUND for a missing value
// or key). An empty name is the key's default value.
int32_t queryValue(uint32_t root, const std::string& path, const std::string& name, uint32_t& type,
                   std::string& data, uint32_t bufferSize, uint32_t& size);
// RegSetValueEx into an existing key (ERROR_FILE_NOT_FOUND when the key is missing).
int32_t setValue(uint32_t root, const std::string& path, const std::string& name, uint32_t type,
                 const std::string& data);

// A hive file's text as it is read and written back: damaged lines dropped, keys and values
// each once, in order.
std::string rewrittenHive(const std::string& text);

}  // namespace platform::registry
