// Reads in two steps, as the Windows registry calls go: the size first, then the data.
#include "foundation/Registry.h"

#include <cstring>

#include "foundation/SystemQueries.h"
#include "platform/Cp1252.h"

namespace Lib_Systeme {
namespace {

namespace reg = platform::registry;

int32_t openKey(uint32_t& root, const std::string& keyPath) {
    if (root == 0) {
        if (PbTInfoVersionOS.platformId == 1)
            root = reg::HKEY_LOCAL_MACHINE;
        else if (PbTInfoVersionOS.platformId == 2)
            root = reg::HKEY_CURRENT_USER;
        else
            return reg::ERROR_INVALID_HANDLE;
    }
    return reg::createKey(root, keyPath);
}

}  // namespace

int32_t Reg_GetValue(uint32_t root, const std::string& keyPath, const std::string& valueName,
                     std::string& result) {
    result.clear();
    if (keyPath.empty()) return reg::ERROR_BADKEY;
    if (const int32_t opened = openKey(root, keyPath); opened != reg::ERROR_SUCCESS) return opened;

    uint32_t type = reg::REG_NONE, size = 0;
    std::string data;
    reg::queryValue(root, keyPath, valueName, type, data, 0, size);
    if (size < 2) return reg::ERROR_SUCCESS;

    int32_t status = reg::ERROR_SUCCESS;
    switch (type) {
        case reg::REG_SZ:
        case reg::REG_EXPAND_SZ:
            status = reg::queryValue(root, keyPath, valueName, type, data, size + 1, size);
            if (status == reg::ERROR_SUCCESS) {
                data.resize(std::min<size_t>(data.size(), size - 1));
                result = platform::cp1252::toUtf8(data.substr(0, data.find('\0')));
            }
            return status;
        case reg::REG_DWORD:
            status = reg::queryValue(root, keyPath, valueName, type, data, 4, size);
            if (status == reg::ERROR_SUCCESS && data.size() == 4) {
                int32_t number = 0;
                std::memcpy(&number, data.data(), 4);  // little-endian, as Windows stores it
                result = std::to_string(number);
            }
            return status;
        default:
            return reg::ERROR_MORE_DATA;
    }
}

int32_t Reg_SetValue(uint32_t root, const std::string& keyPath, const std::string& valueName,
                     const std::string& value, uint32_t /*valueType*/) {
    if (keyPath.empty() || valueName.empty()) return reg::ERROR_BADKEY;
    if (const int32_t opened = openKey(root, keyPath); opened != reg::ERROR_SUCCESS) return opened;
    const std::string data = value.empty() ? std::string() : platform::cp1252::fromUtf8(value) + '\0';
    return reg::setValue(root, keyPath, valueName, reg::REG_SZ, data);
}

}  // namespace Lib_Systeme
