// One-line text box over QLineEdit.
#include "platform/forms/TextBox.h"

namespace platform::forms {

TextBox::TextBox(QWidget* parent, int index) : Control<QLineEdit>(parent, index) {
    connect(this, &QLineEdit::textChanged, this, [this](const QString&) {
        if (Change) Change();
    });
}

void TextBox::SetText(const std::string& text) { setText(QString::fromStdString(text)); }

}  // namespace platform::forms
