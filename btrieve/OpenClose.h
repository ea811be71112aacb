// Opening, creating and closing a base's record-manager files, and the engine versions.
#pragma once

#include <cstdint>
#include <string>

namespace Lib_Data_BTrieve {

// Opens file NoFichier of the base for stations FirstInstance to LastInstance (1 to 20),
// creating file 37 or 40 to 49 first when it is missing.
void FichierPervasiveOuvrir(int16_t NoBase, int16_t FirstInstance, int16_t LastInstance, int16_t NoFichier,
                            int16_t Mode = 0);
// Closes the file for each of those stations that is open, each on its own position block.
void FichierPervasiveFermer(int16_t NoBase, int16_t FirstInstance, int16_t LastInstance, int16_t NoFichier);

// Whether file NoFichier of the base is open for that station (1 to 20); false out of range.
bool OpenFile(int16_t NoBase, int16_t NoFichier, int32_t Instance);

bool OuvertureFichierBTrieve(int16_t NoBase, int16_t NoFichier, const std::string& Path, uint32_t DataLen,
                             int32_t Instance, int16_t Mode);
bool FermetureFichierBTrieve(int16_t NoBase, int16_t NoFichier, const std::string& Path, int32_t Instance);
// Creates an empty file at Path from the current BtrieveFileSpec; the engine's status.
int16_t CreationStructureVide(const std::string& Path);
// Fills PbSBtrEngineVersion ("Client: ... |Moteur: ... |Serveur: ..."); empty on failure.
void GetVersionsMoteur();

// Back to the start of the process: no network folder refused yet, the module's own position
// block blank.
void resetOpenClose();

}  // namespace Lib_Data_BTrieve
