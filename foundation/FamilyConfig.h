// The family's AL3_Config.ini in its two layouts: where it is, the bases' folders and count.
#pragma once

#include <cstdint>
#include <string>

// True for the newer layout ("Site", "Sites", "Base_NN"), false for the older ("Vantremo");
// settled by the first DetermineDossierConfig call.
inline bool ConfigParSite = false;

namespace Lib_Public {

// The full path of AL3_Config.ini, worked out once per run (the argument is not read).
std::string DetermineDossierConfig(int16_t unused = 1);
// The configuration folder of base n (from 1), with a trailing backslash.
std::string DetermineDossierConfig_Bases_Dossier(const std::string& file, int16_t base, bool& preferBase);
// The number of bases, as read (no bound).
int16_t DetermineDossierConfig_Bases_Nombre(const std::string& file);
// The folder of base n's INI files, with a trailing backslash; logs each value it reads.
std::string DetermineDossierConfig_Fichier(const std::string& file, int16_t base);

// Back to the start of the process: the layout and the file's path settled again by the next call.
void resetFamilyConfig();

}  // namespace Lib_Public
