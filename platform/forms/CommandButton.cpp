// Push button over QPushButton.
#include "platform/forms/CommandButton.h"

namespace platform::forms {

CommandButton::CommandButton(QWidget* parent, int index) : Control<QPushButton>(parent, index) {
    connect(this, &QPushButton::clicked, this, [this] {
        if (Click) Click();
    });
}

}  // namespace platform::forms
