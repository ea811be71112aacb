// The task dialog on screen: title, texts, progress bar, radio buttons and buttons.
#pragma once

#include <QDialog>

class QProgressBar;

namespace engine {

class TaskDialogControl;
struct TaskDialogContent;

// Modal for the whole program, over its owner; its clicks go to the control.
class TaskDialogWindow : public QDialog {
public:
    TaskDialogWindow(TaskDialogControl& control, const TaskDialogContent& content, QWidget* owner = nullptr);
    void showProgress(int32_t low, int32_t high, int32_t position);
    // The close box and Escape stand for Cancel, and only when the dialog has that button.
    void reject() override;

private:
    TaskDialogControl& control_;
    const TaskDialogContent& content_;
    QProgressBar* progress_ = nullptr;
};

}  // namespace engine
