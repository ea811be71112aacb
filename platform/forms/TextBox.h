// One-line text box; Change runs on every change of Text, from the user or the code.
#pragma once

#include <functional>
#include <string>

#include <QLineEdit>

#include "platform/forms/Control.h"

namespace platform::forms {

class TextBox : public Control<QLineEdit> {
public:
    explicit TextBox(QWidget* parent, int index = -1);

    std::string Text() const { return text().toStdString(); }
    void SetText(const std::string& text);

    std::function<void()> Change;
};

}  // namespace platform::forms
