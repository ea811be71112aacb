// Push button whose Click runs when pressed (by the user or by click() from the code).
#pragma once

#include <functional>
#include <string>

#include <QPushButton>

#include "platform/forms/Control.h"

namespace platform::forms {

class CommandButton : public Control<QPushButton> {
public:
    explicit CommandButton(QWidget* parent, int index = -1);

    std::string Caption() const { return text().toStdString(); }
    void SetCaption(const std::string& caption) { setText(QString::fromStdString(caption)); }

    std::function<void()> Click;
};

}  // namespace platform::forms
