// The batch drop folder and the files in it that the runner starts.
#pragma once

#include <string>
#include <vector>

namespace BatchFolder {

inline const std::string kFolder = "C:\\Vantremo\\Aerolune\\RLT\\";

// Windows paths of the normal files matching "AL3_Relaytone*.bat" (any letter case), by name;
// none when the folder is missing.
std::vector<std::string> MatchingFiles();

}  // namespace BatchFolder
