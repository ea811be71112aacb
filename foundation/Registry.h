// Lib_Systeme's registry access: one text value read or written, the platform's status returned.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Registry.h"

namespace Lib_Systeme {

using platform::registry::HKEY_CURRENT_USER;
using platform::registry::HKEY_LOCAL_MACHINE;

// 0 and the value as text (texts, expandable texts unexpanded, 32-bit numbers in decimal);
// 0 and empty text for a missing or empty value; 1010 for an empty key path; otherwise the
// platform's code with an empty result. The key is created when missing. Root 0 picks
// HKEY_LOCAL_MACHINE on the Windows 95 family and HKEY_CURRENT_USER on the NT family.
int32_t Reg_GetValue(uint32_t root, const std::string& keyPath, const std::string& valueName,
                     std::string& result);
// Writes a text value (REG_SZ whatever the type asked); 1010 for an empty key path or name.
int32_t Reg_SetValue(uint32_t root, const std::string& keyPath, const std::string& valueName,
                     const std::string& value, uint32_t valueType = platform::registry::REG_SZ);

}  // namespace Lib_Systeme
