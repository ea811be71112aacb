// Drop-down list: AddItem never selects; a new ListIndex runs Click, from the user or the code.
#pragma once

#include <functional>
#include <string>

#include <QComboBox>

#include "platform/forms/Control.h"

namespace platform::forms {

class ComboBox : public Control<QComboBox> {
public:
    explicit ComboBox(QWidget* parent, int index = -1);

    // Appends, or inserts at position when it is 0 to ListCount; the selection stays as it was.
    void AddItem(const std::string& text, int position = -1);
    void Clear();  // no selection afterwards; Click does not run
    int ListCount() const { return count(); }
    std::string List(int i) const;  // empty outside 0 to ListCount - 1

    int ListIndex() const { return currentIndex(); }  // -1 for none
    // A changed index (-1 for none) runs Click; out-of-range indexes are refused.
    void SetListIndex(int index);
    std::string Text() const;  // the selected entry's text, empty for none

    std::function<void()> Click;
};

}  // namespace platform::forms
