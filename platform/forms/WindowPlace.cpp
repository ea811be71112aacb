// Window places: twips kept as set while the window's pixels are still the ones they gave.
#include "platform/forms/WindowPlace.h"

#include <QWidget>

#include "platform/forms/Control.h"

namespace platform::forms {
namespace {

// The value as set when the window still has its pixels (a layout may have refused a size).
double twipsOf(int pixels, double asSet) {
    return pixels == pixelsOfTwips(asSet) ? asSet : double(pixels) * kTwipsPerPixel;
}

}  // namespace

void WindowPlace::Move(QWidget& window, double left, double top, double width, double height) {
    SetLeft(window, left);
    SetTop(window, top);
    SetWidth(window, width);
    SetHeight(window, height);
}

// A window's move() and pos() both count its frame, so a saved place comes back where it was.
void WindowPlace::SetLeft(QWidget& window, double left) {
    left_ = left;
    window.move(pixelsOfTwips(left), window.y());
}

void WindowPlace::SetTop(QWidget& window, double top) {
    top_ = top;
    window.move(window.x(), pixelsOfTwips(top));
}

void WindowPlace::SetWidth(QWidget& window, double width) {
    width_ = width;
    window.resize(pixelsOfTwips(width), window.height());
}

void WindowPlace::SetHeight(QWidget& window, double height) {
    height_ = height;
    window.resize(window.width(), pixelsOfTwips(height));
}

double WindowPlace::Left(const QWidget& window) const { return twipsOf(window.x(), left_); }
double WindowPlace::Top(const QWidget& window) const { return twipsOf(window.y(), top_); }
double WindowPlace::Width(const QWidget& window) const { return twipsOf(window.width(), width_); }
double WindowPlace::Height(const QWidget& window) const { return twipsOf(window.height(), height_); }

}  // namespace platform::forms
