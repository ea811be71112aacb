// List of text lines: AddItem, ListCount, List(i), RemoveItem, Clear.
#pragma once

#include <string>

#include <QListWidget>

#include "platform/forms/Control.h"

namespace platform::forms {

class ListBox : public Control<QListWidget> {
public:
    explicit ListBox(QWidget* parent, int index = -1);

    void AddItem(const std::string& text);
    void RemoveItem(int i);  // ignored outside 0 to ListCount - 1
    void Clear();
    int ListCount() const { return count(); }
    std::string List(int i) const;  // empty outside 0 to ListCount - 1
};

}  // namespace platform::forms
