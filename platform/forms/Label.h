// Label with a Caption.
#pragma once

#include <string>

#include <QLabel>

#include "platform/forms/Control.h"

namespace platform::forms {

class Label : public Control<QLabel> {
public:
    explicit Label(QWidget* parent, int index = -1) : Control<QLabel>(parent, index) {}

    std::string Caption() const { return text().toStdString(); }
    void SetCaption(const std::string& caption) { setText(QString::fromStdString(caption)); }
};

}  // namespace platform::forms
