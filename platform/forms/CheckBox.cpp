// Check box with VB values: the click handler follows the value, not the mouse.
#include "platform/forms/CheckBox.h"

#include <QSignalBlocker>

namespace platform::forms {
namespace {

Qt::CheckState stateOf(int value) {
    switch (value) {
        case vbChecked:
            return Qt::Checked;
        case vbGrayed:
            return Qt::PartiallyChecked;
        default:
            return Qt::Unchecked;
    }
}

}  // namespace

CheckBox::CheckBox(QWidget* parent, int index) : Control<QCheckBox>(parent, index) {}

void CheckBox::SetValue(int value) {
    if (value < vbUnchecked || value > vbGrayed || value == value_) return;
    value_ = value;
    {
        const QSignalBlocker blocker(this);
        setCheckState(stateOf(value));
    }
    if (Click) Click();
}

void CheckBox::nextCheckState() { SetValue(value_ == vbChecked ? vbUnchecked : vbChecked); }

std::string CheckBox::Caption() const { return text().toStdString(); }
void CheckBox::SetCaption(const std::string& caption) { setText(QString::fromStdString(caption)); }

}  // namespace platform::forms
