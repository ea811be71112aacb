// Window places: the frame put where it was asked, checked once the window manager framed it,
// and read back from where the window really is.
#include "platform/forms/WindowPlace.h"

#include <algorithm>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "platform/forms/Control.h"
#include "platform/forms/WindowFrame.h"

namespace platform::forms {
namespace {

// What must stay on the screen of a frame's title bar to take hold of it with the mouse.
constexpr int kGripPixels = 100;
constexpr int kTitlePixels = 24;

// The value as set when the window still has its pixels (a layout may have refused a size).
double twipsOf(int pixels, double asSet) {
    return pixels == pixelsOfTwips(asSet) ? asSet : double(pixels) * kTwipsPerPixel;
}

QRect availableArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableVirtualGeometry() : QRect();
}

bool placedByItsState(const QWidget& window) {
    return window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized);
}

}  // namespace

QPoint heldOnScreen(QPoint frame, QSize frameSize, const QRect& area) {
    if (area.isEmpty()) return frame;
    const int grip = std::clamp(frameSize.width(), 1, kGripPixels);
    const int title = std::clamp(frameSize.height(), 1, kTitlePixels);
    const int right = area.x() + area.width() - grip;
    const int bottom = area.y() + area.height() - title;
    const int x = std::clamp(frame.x(), std::min(area.x() + grip - frameSize.width(), right), right);
    const int y = std::clamp(frame.y(), std::min(area.y(), bottom), bottom);
    return {x, y};
}

void WindowPlace::Move(QWidget& window, double left, double top, double width, double height) {
    SetLeft(window, left);
    SetTop(window, top);
    SetWidth(window, width);
    SetHeight(window, height);
}

void WindowPlace::SetLeft(QWidget& window, double left) {
    left_ = left;
    centreOn_.reset();
    PlaceFrame(window, {pixelsOfTwips(left), framePixels(window).y()});
}

void WindowPlace::SetTop(QWidget& window, double top) {
    top_ = top;
    centreOn_.reset();
    PlaceFrame(window, {framePixels(window).x(), pixelsOfTwips(top)});
}

void WindowPlace::SetWidth(QWidget& window, double width) {
    width_ = width;
    window.resize(pixelsOfTwips(width), window.height());
}

void WindowPlace::SetHeight(QWidget& window, double height) {
    height_ = height;
    window.resize(window.width(), pixelsOfTwips(height));
}

double WindowPlace::Left(const QWidget& window) const { return twipsOf(framePixels(window).x(), left_); }
double WindowPlace::Top(const QWidget& window) const { return twipsOf(framePixels(window).y(), top_); }
double WindowPlace::Width(const QWidget& window) const { return twipsOf(window.width(), width_); }
double WindowPlace::Height(const QWidget& window) const { return twipsOf(window.height(), height_); }

void WindowPlace::PlaceFrame(QWidget& window, QPoint frame) {
    // A shown window is moved by its frame. A hidden one takes the place as Qt's own, which
    // counts the frame as far as Qt knows it; once it is framed on screen, the frame is checked.
    QWindow* handle = window.windowHandle();
    if (handle && window.isVisible() && handle->isExposed() && framedByWindowManager())
        handle->setFramePosition(frame);
    else
        window.move(frame);
    known_ = Known{frame, window.pos()};
    if (awaitsFrame_) target_ = frame;
}

void WindowPlace::CentreOver(QWidget& window, const QRect& area) {
    QRect frame(QPoint(), frameSize(window));
    frame.moveCenter(area.center());
    PlaceFrame(window, frame.topLeft());
    centreOn_ = area;
}

QPoint WindowPlace::framePixels(const QWidget& window) const {
    // As put or last seen while nothing has moved the window since, as far as Qt can tell;
    // else where it really is; else where Qt has it.
    if (known_ && window.pos() == known_->byQt) return known_->frame;
    if (const auto real = realFrame(window)) return real->topLeft();
    return window.pos();
}

QSize WindowPlace::frameSize(const QWidget& window) const { return window.size() + frameExtra_; }

void WindowPlace::Showing(QWidget& window) {
    awaitsFrame_ = false;
    target_.reset();
    if (placedByItsState(window)) return;
    // A window nobody placed stays where the window manager puts it, on the screen.
    const bool asked = known_ && window.pos() == known_->byQt;
    const QPoint target = framePixels(window);
    const QPoint held = heldOnScreen(target, frameSize(window), availableArea());
    if (held != target) PlaceFrame(window, held);
    if (!framedByWindowManager()) {
        centreOn_.reset();
        return;
    }
    awaitsFrame_ = true;
    if (asked || held != target) target_ = held;
}

void WindowPlace::Framed(QWidget& window) {
    if (!awaitsFrame_) return;
    const auto real = realFrame(window);
    if (!real) return;
    awaitsFrame_ = false;
    frameExtra_ = real->size() - window.size();
    QPoint asked = target_.value_or(real->topLeft());
    if (centreOn_) {
        QRect frame(QPoint(), real->size());
        frame.moveCenter(centreOn_->center());
        asked = frame.topLeft();
    }
    const QPoint goal = heldOnScreen(asked, real->size(), availableArea());
    target_.reset();
    centreOn_.reset();
    if (real->topLeft() != goal) PlaceFrame(window, goal);
}

void WindowPlace::Hiding(const QWidget& window) {
    awaitsFrame_ = false;
    target_.reset();
    centreOn_.reset();
    if (const auto real = realFrame(window)) known_ = Known{real->topLeft(), window.pos()};
}

}  // namespace platform::forms
