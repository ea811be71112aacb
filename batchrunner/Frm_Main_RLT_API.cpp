// The batch runner's window: its controls as designed, its quit question and its unload.
#include "batchrunner/Frm_Main_RLT_API.h"

#include "platform/Dialogs.h"

namespace dlg = platform::dialogs;
using namespace platform::forms;

Frm_Main_RLT_API::Frm_Main_RLT_API() : Form("Frm_Main_RLT_API") {
    SetCaption("Relaytone API");
    ListeBatch = new ListBox(this);
    ListeBatch->Move(120, 120, 6000, 2400);
    CommandQuitter = new CommandButton(this);
    CommandQuitter->SetCaption("Quitter");
    CommandQuitter->Move(4320, 2640, 1800, 480);
    CommandQuitter->Click = [this] { CommandQuitter_Click(); };
    CommandVeille = new CommandButton(this);
    CommandVeille->SetCaption("Mettre en veille");
    CommandVeille->Move(120, 2640, 1800, 480);
    Move(0, 0, 6360, 3360);
    TimerMain = new Timer(this, "TimerMain", 200, true);
    TimerMain->OnTimer = [this] { TimerMain_Timer(); };
    TimerBis = new Timer(this, "TimerBis", 200, false);
    TimerBis->OnTimer = [this] { TimerBis_Timer(); };
}

bool Frm_Main_RLT_API::Stopping() const { return !Loaded() || dlg::stopBegun(); }

bool Frm_Main_RLT_API::AskQuit() {
    if (dlg::MsgBox("Voulez-vous quitter le programme ?", dlg::vbQuestion | dlg::vbYesNo, Caption()) ==
        dlg::vbYes)
        quitting_ = true;
    return quitting_;
}

void Frm_Main_RLT_API::CommandQuitter_Click() {
    if (AskQuit()) Unload(vbFormCode);
}

void Frm_Main_RLT_API::Form_QueryUnload(int& cancel, int unloadMode) {
    // Only the user's close box asks; a shut-down or a SIGTERM closes as it is told.
    if (unloadMode == vbFormControlMenu && !quitting_ && !AskQuit()) cancel = 1;
}

void Frm_Main_RLT_API::Form_Unload(int& /*cancel*/) {
    TimerMain->setEnabled(false);
    TimerBis->setEnabled(false);
    if (Ended) Ended();
}
