// The windowless stand-in of the base-choice dialog and its registration.
#include "foundation/BaseChoice.h"

#include "foundation/Site.h"

namespace neighbours {
namespace {

FrmSelectBaseServices*& registered() {
    static FrmSelectBaseServices* dialog = nullptr;
    return dialog;
}

FrmSelectBaseServices& fallback() {
    static FrmSelectBaseServices windowless;
    return windowless;
}

}  // namespace

void FrmSelectBaseServices::ComboBase_AddItem(const std::string& /*label*/, int16_t baseIndex) {
    lines_.push_back(baseIndex);
}

void FrmSelectBaseServices::ComboBase_SetListIndex(int16_t line) {
    if (line < 0 || line >= int16_t(lines_.size()) || line == selected_) return;
    selected_ = line;
    Lib_Site::DetermineFichierSysteme(lines_[size_t(line)]);
}

void FrmSelectBaseServices::ShowModal() {
    PbINoBaseSelectionnee = selected_ < 0 ? int16_t(-1) : lines_[size_t(selected_)];
    if (selected_ >= 0) PbINoStationSelectionnee = 0;
}

FrmSelectBaseServices& FrmSelectBase() { return registered() ? *registered() : fallback(); }

void registerFrmSelectBase(FrmSelectBaseServices* dialog) { registered() = dialog; }

void resetBaseChoice() {
    registered() = nullptr;
    fallback() = {};
    PbINoBaseSelectionnee = 0;
    PbINoStationSelectionnee = 0;
}

}  // namespace neighbours
