// Builds the task dialog's window from the control's properties; its clicks go to the control.
#include "engine/TaskDialogWindow.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QFont>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "engine/TaskDialog.h"

namespace engine {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QString captionOf(int32_t id, const TaskDialogContent& content) {
    for (const TaskDialogButton& button : content.Buttons)
        if (button.id == id) return qt(button.caption);
    switch (id) {
        case IDOK:
            return "OK";
        case IDCANCEL:
            return "Annuler";
        case IDRETRY:
            return "Réessayer";
        case IDYES:
            return "Oui";
        case IDNO:
            return "Non";
        case IDCLOSE:
            return "Fermer";
        default:
            return QString::number(id);
    }
}

void addText(QVBoxLayout& layout, const std::string& text, bool large = false) {
    if (text.empty()) return;
    auto* label = new QLabel(qt(text));
    label->setWordWrap(true);
    if (large) {
        QFont font = label->font();
        font.setPointSizeF(font.pointSizeF() * 1.3);
        label->setFont(font);
    }
    layout.addWidget(label);
}

}  // namespace

TaskDialogWindow::TaskDialogWindow(TaskDialogControl& control, const TaskDialogContent& content,
                                   QWidget* owner)
    : QDialog(owner), control_(control), content_(content) {
    setWindowTitle(qt(content.WindowTitle));
    // Nothing else of the program takes a click while it is open, as with the original's.
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    addText(*layout, content.MainInstruction, true);
    addText(*layout, content.Content);
    for (const TaskDialogButton& radio : content.RadioButtons) {
        auto* button = new QRadioButton(qt(radio.caption));
        connect(button, &QRadioButton::clicked, this, [this, id = radio.id] { control_.RadioChosen(id); });
        layout->addWidget(button);
    }
    if (content.ShowTimer == 1) {
        progress_ = new QProgressBar;
        layout->addWidget(progress_);
        showProgress(control.ProgressBarLow(), control.ProgressBarHigh(), control.ProgressBarPosition());
    }
    auto* buttons = new QDialogButtonBox;
    for (int32_t id : content.ButtonIds()) {
        QPushButton* button = buttons->addButton(captionOf(id, content), QDialogButtonBox::ActionRole);
        button->setAutoDefault(false);
        if (id == content.DefaultButton) button->setDefault(true);
        connect(button, &QPushButton::clicked, this, [this, id] { control_.ClickButton(id); });
    }
    layout->addWidget(buttons);
    addText(*layout, content.Footer);
    setEnabled(control.Enabled());
}

void TaskDialogWindow::showProgress(int32_t low, int32_t high, int32_t position) {
    if (!progress_) return;
    progress_->setRange(low, std::max(low, high));
    progress_->setValue(std::clamp(position, low, std::max(low, high)));
}

void TaskDialogWindow::reject() {
    const std::vector<int32_t> ids = content_.ButtonIds();
    if (std::find(ids.begin(), ids.end(), IDCANCEL) != ids.end()) control_.ClickButton(IDCANCEL);
}

}  // namespace engine
