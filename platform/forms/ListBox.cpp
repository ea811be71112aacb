// List of text lines over QListWidget.
#include "platform/forms/ListBox.h"

namespace platform::forms {

ListBox::ListBox(QWidget* parent, int index) : Control<QListWidget>(parent, index) {}

void ListBox::AddItem(const std::string& text) { addItem(QString::fromStdString(text)); }

void ListBox::RemoveItem(int i) {
    if (i >= 0 && i < count()) delete takeItem(i);
}

void ListBox::Clear() { clear(); }

std::string ListBox::List(int i) const {
    const QListWidgetItem* entry = item(i);
    return entry ? entry->text().toStdString() : std::string();
}

}  // namespace platform::forms
