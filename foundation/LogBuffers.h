// The two hidden log lists: the early buffer (before the settings window) and the file buffer.
#pragma once

#include <string>
#include <vector>

namespace logbuffers {

// Frm_MainBis.ListeLogTemp: lines written before the settings window is loaded.
std::vector<std::string>& earlyBuffer();
// FrmSetup.ListeLog: lines waiting for the next write to the day's file.
std::vector<std::string>& fileBuffer();

}  // namespace logbuffers
