// The record-manager error report: composed text, log line, the box, and the quit or restart.
#pragma once

#include <cstdint>
#include <string>

namespace Lib_Data_BTrieve_2 {

// The English text of a status, ending with a line feed.
std::string ErreurBTrieveLibelle(int16_t status, const std::string& fileName);

// Reports PbIBtrStatus. file < 0 when no file is concerned; fileName appears in the texts of
// 11 and 12. showBox false logs the report without asking anything (a repeated report).
void ErreurBTrieve(int16_t base, int16_t file, const std::string& fileName, const std::string& caller,
                   bool quiet = false, bool informAndQuit = false, bool showBox = true);

}  // namespace Lib_Data_BTrieve_2
