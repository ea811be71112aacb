// Lib_Public.InformationsFichier: what the shell's folder view and the file-system object know
// about one file, gathered into one record.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/Clock.h"

// One file's details; "column n" is detail column n of the shell's view of the file's folder.
struct FileInfo {
    std::string Nom;                              // column 0
    int32_t Taille = 0;                           // column 1's leading number, then the bytes
    std::string Type;                             // column 2
    platform::LocalClockTime DateModification{};  // column 3
    platform::LocalClockTime DateCreation{};      // column 4
    platform::LocalClockTime accessDate{};        // column 5
    std::array<std::string, 12> Details06a17{};   // columns 6 to 17
    int16_t Detail18 = 0;                         // column 18's leading number
    int16_t Detail19 = 0;                         // column 19's leading number
    std::array<std::string, 5> Details20a24{};    // columns 20 to 24
    platform::LocalClockTime Detail25{};          // column 25
    std::array<std::string, 9> Details26a34{};    // columns 26 to 34
    // From the file-system object.
    std::string fullPath;
    std::string parentFolder;
    std::string stem;       // name without extension
    std::string Extension;  // without the dot
    std::string shortPath;
    std::string shortName;
};

namespace Lib_Public {

// Fills the record for the file. dateOnly: only the modification date (no size, no
// file-system object); sizeAndDate: the shell's size and modification date, then the exact size
// and the names. Missing file or folder: one log line, and the record keeps what was filled.
// This host's shell view has columns 0 to 6 (name, size, type, modified, created where the file
// system keeps it, accessed, attributes R and H) and 10 (owner); the others stay empty. There
// are no 8.3 names: the short path and name are the long ones.
void InformationsFichier(const std::string& fichier, FileInfo& info, const bool& dateOnly,
                         const bool& sizeAndDate);

}  // namespace Lib_Public
