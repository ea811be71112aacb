// The task dialog on screen: title, texts, progress bar, radio buttons and buttons.
#pragma once

#include <QDialog>

class QProgressBar;

namespace engine {

class TaskDialogControl;

class TaskDialogWindow : public QDialog {
public:
    explicit TaskDialogWindow(TaskDialogControl& control);
    void showProgress(int32_t low, int32_t high, int32_t position);
    // The close box and Escape stand for Cancel, and only when the dialog has that button.
    void reject() override;

private:
    TaskDialogControl& control_;
    QProgressBar* progress_ = nullptr;
};

}  // namespace engine
