// The base-choice dialog FrmSelectBase as the site start-up drives it (the window lives above).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The dialog's results: the chosen base index (-1 when cancelled) and station index.
inline int16_t PbINoBaseSelectionnee = 0;
inline int16_t PbINoStationSelectionnee = 0;

namespace neighbours {

// The default, before any dialog registers, takes the selected line as if "Valider" was
// pressed, so that a start-up without windows settles on the configured base.
class FrmSelectBaseServices {
public:
    virtual ~FrmSelectBaseServices() = default;
    virtual void Load() {}
    virtual void ComboBase_Clear() {
        lines_.clear();
        selected_ = -1;
    }
    // One line per base with a folder; the line keeps its base index (0 to 4).
    virtual void ComboBase_AddItem(const std::string& label, int16_t baseIndex);
    // Selecting a line runs the base handler, which fills that base's configuration folder.
    virtual void ComboBase_SetListIndex(int16_t line);
    // Modal; sets PbINoBaseSelectionnee (and PbINoStationSelectionnee on "Valider").
    virtual void ShowModal();

private:
    std::vector<int16_t> lines_;
    int16_t selected_ = -1;
};

FrmSelectBaseServices& FrmSelectBase();
void registerFrmSelectBase(FrmSelectBaseServices* dialog);  // nullptr unregisters
// Back to the start of the process: no dialog registered, the default without lines, no choice.
void resetBaseChoice();

}  // namespace neighbours
