// The catalogue of the automation's record-manager files, their names and create specification.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct BtrieveSegment {
    int32_t Position = 0;  // 1-based byte position in the record
    int32_t byteLength = 0;
    int32_t Flags = 0;     // 1 duplicates, 2 modifiable, 16 segmented, 1024 case-insensitive
    int32_t Reserve1 = 0;  // read by nothing
    int32_t Reserve2 = 0;
};

struct BtrieveFileDef {
    std::string Description;
    std::string baseName;    // "FRAD055 ": eight characters
    std::string perStation;  // "O" once per station, "N" once per base
    std::string SecondFlag;  // "O" for files 47 and 59; read by nothing
    int32_t RecordLength = 0;
    int32_t PageSize = 0;
    int32_t keyCount = 0;  // keys, not segments
    int32_t Reserve1 = 0;
    int32_t Reserve2 = 0;
    std::array<BtrieveSegment, 8> Segments{};
};

constexpr int16_t kBtrFileCount = 61;  // catalogue numbers 0 to 60
constexpr int kFileSpecSize = 160;

inline std::array<BtrieveFileDef, kBtrFileCount> BtrieveFileDefs{};
// The create specification of the last file being opened, in its 160-byte wire form.
inline std::array<unsigned char, kFileSpecSize> BtrieveFileSpec{};

namespace Lib_Data_BTrieve_2 {

void InitGeneralData();

}  // namespace Lib_Data_BTrieve_2

namespace Lib_Data_BTrieve {

// "FRADA55.bt6" for file 55 and instance 0 (the first station); empty, and reported, when the
// file or instance is out of range.
std::string NomFichierBTR(int16_t NoFichier, int16_t Instance);
void InitStructureFichierBTR(int16_t NoFichier, bool Compression);
// The fixed entry of a catalogue number (empty outside 0 to 60), whether or not InitGeneralData
// has run yet.
const BtrieveFileDef& catalogueEntry(int16_t NoFichier);

// Back to the start of the process: the catalogue not loaded (InitGeneralData loads it).
inline void resetCatalogue() {
    BtrieveFileDefs = {};
    BtrieveFileSpec = {};
}

}  // namespace Lib_Data_BTrieve
