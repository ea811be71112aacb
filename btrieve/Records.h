// Record buffers: the player's message record EnregFRADx55 and one buffer per file with a layout.
#pragma once

#include <cstdint>
#include <string>

constexpr int16_t kFileFRADx55 = 55;

// File 55, the player's message file: 500 bytes of Windows-1252 text, as stored.
struct EnregFRADx55 {
    char Key1[8];
    char Key2[2];
    char Key3[2];
    char Key4[2];
    char Key5[2];
    char Nature[4];
    char Message[480];
};
static_assert(sizeof(EnregFRADx55) == 500);

inline EnregFRADx55 PbTFRADx55{};

namespace Lib_Data_BTrieve {

// The record buffer of a file with a record layout (0 to 7, 17, 19 to 37, 40 to 49, 55, 59),
// as long as the catalogue's record length; nullptr for any other number.
char* RecordBuffer(int16_t NoFichier);

// The message of a record as program text: UTF-8, blanks trimmed at both ends.
std::string MessageText(const EnregFRADx55& record);

// Back to the start of the process: every record buffer blank again.
void resetRecords();

}  // namespace Lib_Data_BTrieve
