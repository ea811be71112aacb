// The site start-up's handle on FrmSelectBase: shown modally, or answered from the dialog seam.
#include "btrieve/forms/FrmSelectBase.h"

#include <utility>

#include "foundation/ConversionsVba.h"
#include "foundation/Site.h"
#include "platform/Dialogs.h"

FrmSelectBaseDialog::FrmSelectBaseDialog(FrmSelectBase& window, platform::forms::Form* owner)
    : window_(window), owner_(owner) {}

void FrmSelectBaseDialog::Load() { window_.Load(); }
void FrmSelectBaseDialog::ComboBase_Clear() { window_.ClearBases(); }

void FrmSelectBaseDialog::ComboBase_AddItem(const std::string& label, int16_t baseIndex) {
    window_.AddBase(label, baseIndex);
}

void FrmSelectBaseDialog::ComboBase_SetListIndex(int16_t line) { window_.ComboBase->SetListIndex(line); }

void FrmSelectBaseDialog::ShowModal() {
    std::string lines;
    for (int i = 0; i < window_.ComboBase->ListCount(); ++i)
        lines += (i ? "; " : "") + window_.ComboBase->List(i);
    const std::optional<std::string> answer = platform::dialogs::scriptedWindowAnswer(
        window_.Caption(), window_.Label[2]->Caption() + ": " + lines);
    if (!answer) {
        window_.CentreOnScreen();
        window_.Show(platform::forms::vbModal, owner_);
        return;
    }
    if (platform::dialogs::resultOfWord(*answer) == platform::dialogs::vbCancel) {
        window_.CommandFermer_Click(1);
        return;
    }
    const int32_t number = VBA::ValLong(*answer);
    // A base number picks its line; a number the list lacks leaves the selection as it is.
    if (number > 0 && number <= kMaxBases) {
        const int line = window_.LineOfBase(int16_t(number - 1));
        if (line >= 0) window_.ComboBase->SetListIndex(line);
    }
    window_.CommandFermer_Click(0);
}

namespace {

// Kept for the whole run, like every window; never destroyed after the application object.
FrmSelectBaseDialog*& installed() {
    static FrmSelectBaseDialog* dialog = nullptr;
    return dialog;
}

}  // namespace

void FrmSelectBaseDialog::install(platform::forms::Form* owner) {
    if (!installed()) installed() = new FrmSelectBaseDialog(*new FrmSelectBase, owner);
    installed()->owner_ = owner;  // the main window of the run that installs it last
    neighbours::registerFrmSelectBase(installed());
}

void FrmSelectBaseDialog::release() {
    FrmSelectBaseDialog* dialog = std::exchange(installed(), nullptr);
    if (!dialog) return;
    neighbours::registerFrmSelectBase(nullptr);
    delete &dialog->window_;
    delete dialog;
}
