// The engine window's task-dialog handlers: the timed close, the button and the radio choice.
#include <QCoreApplication>

#include "engine/ErrorTrap.h"
#include "engine/TaskDialog.h"
#include "foundation/RunState.h"

namespace engine {
namespace {

const std::string kCaller = "Frm_MainBis:";

}  // namespace

TaskDialogHost::TaskDialogHost() {
    TaskDialog.Timer = [this](int32_t milliseconds) { TaskDialog_Timer(milliseconds); };
    TaskDialog.ButtonClicked = [this](int32_t id, bool& closeDialog) {
        TaskDialog_ButtonClicked(id, closeDialog);
    };
    TaskDialog.RadioButtonClicked = [this](int32_t id) { TaskDialog_RadioButtonClicked(id); };
}

void TaskDialogHost::TaskDialog_Timer(int32_t milliseconds) {
    Trap(kCaller + "TaskDialog_Timer", [&] {
        if (Abandon) {
            TaskDialog.SetEnabled(false);
            return;
        }
        if (milliseconds <= PbLDelaiTaskDialog) {
            TaskDialog.SetProgressBarPosition(milliseconds);
            QCoreApplication::processEvents();
            return;
        }
        const int32_t defaultButton = TaskDialog.DefaultButton;
        TaskDialog.ClickButton(defaultButton);
        PbLReponseTaskDialog = defaultButton;
    });
}

void TaskDialogHost::TaskDialog_ButtonClicked(int32_t id, bool& closeDialog) {
    Trap(kCaller + "TaskDialog_ButtonClicked", [&] {
        PbLReponseTaskDialog = id;
        closeDialog = true;
    });
}

void TaskDialogHost::TaskDialog_RadioButtonClicked(int32_t id) {
    Trap(kCaller + "TaskDialog_RadioButtonClicked", [&] { PbLRadioTaskDialog = id; });
}

}  // namespace engine
