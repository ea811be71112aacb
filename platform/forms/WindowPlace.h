// A window's place in twips: the values as set while the window stays where they put it, the
// real geometry once the operator or the window system moved or resized it.
#pragma once

class QWidget;

namespace platform::forms {

class WindowPlace {
public:
    void Move(QWidget& window, double left, double top, double width, double height);
    // Each leaves the other three as the window has them.
    void SetLeft(QWidget& window, double left);
    void SetTop(QWidget& window, double top);
    void SetWidth(QWidget& window, double width);
    void SetHeight(QWidget& window, double height);

    double Left(const QWidget& window) const;
    double Top(const QWidget& window) const;
    double Width(const QWidget& window) const;
    double Height(const QWidget& window) const;

private:
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

}  // namespace platform::forms
