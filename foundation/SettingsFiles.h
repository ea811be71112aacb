// INI access (Lib_Systeme::LectureIni / EcritureIni), the program settings file's path and the
// window positions file.
#pragma once

#include <cstdint>
#include <string>

namespace Lib_Systeme {

// One value, at most 254 characters; the default when the name is refused or the file,
// section or key is missing. Every call reads the file. A name without a folder is a file of
// the Windows folder, for both calls.
std::string LectureIni(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& defaultValue = {});
// True when the value was written; creates the folder and clears a read-only file on the way.
// A write that still fails is one "Err: EcritureIni: Unable to write: " line.
bool EcritureIni(const std::string& file, const std::string& section, const std::string& key,
                 const std::string& value);

}  // namespace Lib_Systeme

namespace Lib_Public {

// False when the name holds "*", "?", a double quote or "|".
bool NomFichierCorrect(const std::string& file);
// Sets PbSDossierSettings and moves an old program settings file out of the Windows folder.
void NomDossierSettings();
// PbSDossierSettings, "AL3_Relaytone", "_" and the instance when there is one, suffix, extension.
std::string NomFichierSettings(const std::string& suffix, const std::string& extension);

// What the window positions need of a window; the windows adapt their forms to it.
// Positions and heights are in twips.
class PositionedForm {
public:
    virtual ~PositionedForm() = default;
    virtual std::string Name() const = 0;
    virtual double Left() const = 0;
    virtual double Top() const = 0;
    virtual double Height() const = 0;
    virtual void SetLeft(double left) = 0;
    virtual void SetTop(double top) = 0;
    virtual int16_t WindowState() const = 0;  // 0 normal, 1 minimised, 2 maximised
    virtual double ScreenHeight() const = 0;
};

// Restores the window's Left and Top from section "FrmPos" of the positions file, brought back
// on screen when far off it.
void PositionFeuille(PositionedForm& form, const std::string& qualifier = {});
// Saves Left and Top, only while the window is neither minimised nor maximised.
void PositionFeuilleSauvegarde(const PositionedForm& form, const std::string& qualifier = {});

}  // namespace Lib_Public
