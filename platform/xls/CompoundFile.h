// The OLE2 compound file around the workbook stream: one stream written, any stream read.
#pragma once

#include <string>
#include <string_view>

#include "platform/xls/Workbook.h"

namespace platform::xls::compound {

// A compound file of 512-byte sectors holding one stream of that name.
Outcome pack(const std::string& streamName, std::string_view stream, std::string& file);
// The named stream (name compared without regard to ASCII case).
Outcome unpack(std::string_view file, const std::string& streamName, std::string& stream);

}  // namespace platform::xls::compound
