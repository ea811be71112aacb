// The field cleaning of artist, track and track-detail records after a successful read.
#pragma once

#include <cstdint>

namespace Lib_Data_BTrieve {

// Cleans the record buffer of file 20, 22 or 32 in place; other files are left alone.
void cleanFields(int16_t NoFichier, char* record);

}  // namespace Lib_Data_BTrieve
