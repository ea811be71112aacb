// Version numbers: the program's build version and the product version of a file on disk.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Clock.h"

// Product version text ("08.00.025") of the last file VersionFichier was asked about.
inline std::string VersionFichierInfos;

// What the build wrote into the version record of our executables.
struct VersionRecord {
    int32_t major = 0;     // year of the build
    int32_t minor = 0;     // month x 100 + day
    int32_t revision = 0;  // hour x 100 + minute
    std::string productName;
    std::string companyName;
    std::string fileDescription;
};

namespace Lib_Systeme {

// This program's own record.
const VersionRecord& VersionApplicationRecord();
// The build moment the version numbers encode; 1 January 2000 when they encode none.
platform::LocalClockTime DateApplication();
platform::LocalClockTime DateOfVersion(const VersionRecord& record);
// "2024.0131.1825".
std::string VersionApplication();
std::string VersionText(platform::LocalClockTime buildMoment);
// Sets VersionFichierInfos from the file's version record, empty when it has none.
void VersionFichier(const std::string& filePath);
// "24.31.825" for product version 2024.131.0.1825.
std::string ProductVersionText(uint32_t mostSignificant, uint32_t leastSignificant);
int32_t HIWORD(uint32_t value);
int32_t LOWORD(uint32_t value);

// Back to the start of the process: no file's version asked yet.
inline void resetFileVersions() { VersionFichierInfos.clear(); }

}  // namespace Lib_Systeme

namespace Lib_Convert {

// Where the outside audio converter is: true with its full file name in `path` and `newer`
// telling CoreConverter.exe (true) from MusicConverter.exe (false); false when neither exists,
// `newer` then unchanged and `path` the last place tried.
bool ConvertSonDetermineVersion(bool& newer, std::string& path);

}  // namespace Lib_Convert
