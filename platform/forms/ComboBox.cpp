// Drop-down list with VB selection rules over QComboBox.
#include "platform/forms/ComboBox.h"

#include <QSignalBlocker>

namespace platform::forms {

ComboBox::ComboBox(QWidget* parent, int index) : Control<QComboBox>(parent, index) {
    setEditable(false);
    // The user's pick runs Click even when it is the entry already selected, as in VB.
    connect(this, &QComboBox::activated, this, [this](int) {
        if (Click) Click();
    });
}

void ComboBox::AddItem(const std::string& text, int position) {
    const QSignalBlocker blocker(this);
    const int before = currentIndex();
    if (position >= 0 && position <= count())
        insertItem(position, QString::fromStdString(text));
    else
        addItem(QString::fromStdString(text));
    // Qt selects the first entry added to an empty box; VB leaves it unselected.
    if (before < 0) setCurrentIndex(-1);
}

void ComboBox::Clear() {
    const QSignalBlocker blocker(this);
    clear();
}

std::string ComboBox::List(int i) const {
    if (i < 0 || i >= count()) return {};
    return itemText(i).toStdString();
}

void ComboBox::SetListIndex(int index) {
    if (index < -1 || index >= count() || index == currentIndex()) return;
    {
        const QSignalBlocker blocker(this);
        setCurrentIndex(index);
    }
    if (Click) Click();
}

std::string ComboBox::Text() const {
    return currentIndex() < 0 ? std::string() : currentText().toStdString();
}

}  // namespace platform::forms
