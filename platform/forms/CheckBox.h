// Check box with Value 0 (clear), 1 (ticked) and 2 (greyed); every change of Value runs Click.
#pragma once

#include <functional>
#include <string>

#include <QCheckBox>

#include "platform/forms/Control.h"

namespace platform::forms {

enum CheckValue { vbUnchecked = 0, vbChecked = 1, vbGrayed = 2 };

class CheckBox : public Control<QCheckBox> {
public:
    explicit CheckBox(QWidget* parent, int index = -1);

    int Value() const { return value_; }
    // A new value runs Click, whether the user or the code set it; the same value does nothing.
    // Values other than 0, 1 and 2 are refused (left unchanged).
    void SetValue(int value);

    std::string Caption() const;
    void SetCaption(const std::string& caption);

    std::function<void()> Click;

protected:
    void nextCheckState() override;  // the user toggles 0 and 1; greyed goes to ticked

private:
    int value_ = vbUnchecked;
};

}  // namespace platform::forms
