// Twip layout of controls and windows.
#include "platform/forms/Control.h"

namespace platform::forms {

void TwipGeometry::Move(QWidget& widget, double left, double top, double width, double height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    widget.setGeometry(pixelsOfTwips(left), pixelsOfTwips(top), pixelsOfTwips(width), pixelsOfTwips(height));
}

}  // namespace platform::forms
