// The task-dialog control of the engine window (XtremeSuiteControls.TaskDialog stand-in), its
// three handlers and the values through which callers set the timed close and read the choice.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

inline int32_t PbLDelaiTaskDialog = 0;    // automatic-close delay, milliseconds
inline int32_t PbLReponseTaskDialog = 0;  // id of the button that closed the last dialog
inline int32_t PbLRadioTaskDialog = 0;    // id of the radio button last chosen

// Back to the start of the process: no timed close asked, no choice read.
inline void resetTaskDialogValues() {
    PbLDelaiTaskDialog = 0;
    PbLReponseTaskDialog = 0;
    PbLRadioTaskDialog = 0;
}

namespace engine {

class TaskDialogWindow;

// Common buttons (property 22), as bits, and the ids their clicks give.
enum TaskDialogCommonButton : int32_t {
    tdbOk = 1,
    tdbYes = 2,
    tdbNo = 4,
    tdbCancel = 8,
    tdbRetry = 16,
    tdbClose = 32
};
enum TaskDialogButtonId : int32_t { IDOK = 1, IDCANCEL = 2, IDRETRY = 4, IDYES = 6, IDNO = 7, IDCLOSE = 8 };

struct TaskDialogButton {
    int32_t id = 0;
    std::string caption;
};

// What one showing displays: the properties as ShowDialog found them, so that a caller arming
// the next dialog never changes the one on screen.
struct TaskDialogContent {
    std::string WindowTitle, MainInstruction, Content, Footer;
    int32_t DefaultButton = 0;
    int32_t CommonButtons = 0;
    int32_t hWndParent = 0;
    int32_t ShowTimer = 0;
    std::vector<TaskDialogButton> Buttons;
    std::vector<TaskDialogButton> RadioButtons;
    // The ids of the buttons it shows, common ones first (OK alone when none is set).
    std::vector<int32_t> ButtonIds() const;
};

class TaskDialogControl {
public:
    TaskDialogControl();
    ~TaskDialogControl();
    TaskDialogControl(const TaskDialogControl&) = delete;
    TaskDialogControl& operator=(const TaskDialogControl&) = delete;

    // 36: every property back to its design value (an open dialog keeps what it shows).
    void Reset();
    // 33: shows the dialog, owned by the main window (or the window hWndParent names) and
    // modal for the whole program, and returns once a button was clicked, with that button's
    // id. A show while another dialog is open puts its own on top of it and returns with its
    // own click: the one under it waits for its turn.
    // Scripted runs answer it through the dialog seam: a button id, a button word ("ok",
    // "cancel", "yes", ...), nothing for the default button, or "wait" for no operator action
    // (then only the timed close or a click from the code ends it).
    int32_t ShowDialog();
    // 39: clicks a button of the dialog on top; an id that dialog lacks does nothing.
    void ClickButton(int32_t id);
    // 34: a button of the caller's own, shown after the common buttons.
    void AddButton(const std::string& caption, int32_t id);
    void AddRadioButton(const std::string& caption, int32_t id);
    // The properties as the next show would display them.
    TaskDialogContent Snapshot() const;
    std::vector<int32_t> ButtonIds() const { return Snapshot().ButtonIds(); }
    bool IsOpen() const { return !shown_.empty(); }

    std::string WindowTitle;      // 1
    std::string MainInstruction;  // 2
    std::string Content;          // 3
    std::string Footer;           // 5
    int32_t DefaultButton = 0;    // 17
    int32_t CommonButtons = 0;    // 22: TaskDialogCommonButton bits
    int32_t hWndParent = 0;       // 23: owner window
    int32_t ShowTimer = 0;        // 31: 1 raises Timer while the dialog is open

    // 29 and 41.
    int32_t ProgressBarPosition() const { return progressPosition_; }
    void SetProgressBarPosition(int32_t position);
    void SetProgressBarRange(int32_t low, int32_t high);
    int32_t ProgressBarLow() const { return progressLow_; }
    int32_t ProgressBarHigh() const { return progressHigh_; }

    // "Enabled": False freezes the open dialog (no operator clicks, no more timer events).
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // The callers' other numbered properties (width, icons, flags): this dialog draws itself
    // and has no use for them.
    void SetProperty(int32_t /*number*/, int32_t /*value*/) {}

    // Events: milliseconds since the dialog appeared (every 100 ms while ShowTimer is 1 and
    // the dialog is on top); a button click with its "close the dialog" flag (true unless the
    // handler clears it); a radio button chosen.
    std::function<void(int32_t milliseconds)> Timer;
    std::function<void(int32_t id, bool& closeDialog)> ButtonClicked;
    std::function<void(int32_t id)> RadioButtonClicked;

    // From the window on screen.
    void RadioChosen(int32_t id);

private:
    struct Showing;
    Showing* top() const { return shown_.empty() ? nullptr : shown_.back(); }
    TaskDialogWindow* topWindow() const;

    std::vector<TaskDialogButton> buttons_;
    std::vector<TaskDialogButton> radioButtons_;
    int32_t progressPosition_ = 0;
    int32_t progressLow_ = 0;
    int32_t progressHigh_ = 100;
    bool enabled_ = true;
    std::vector<Showing*> shown_;  // the open dialogs, the one on top last
};

// The engine window's part: the control and its handlers.
class TaskDialogHost {
public:
    TaskDialogHost();
    virtual ~TaskDialogHost() = default;

    TaskDialogControl TaskDialog;

    void TaskDialog_Timer(int32_t milliseconds);
    void TaskDialog_ButtonClicked(int32_t id, bool& closeDialog);
    void TaskDialog_RadioButtonClicked(int32_t id);
};

}  // namespace engine
