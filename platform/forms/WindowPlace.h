// A window's place in twips: the values as set while the window stays where they put it, the
// real geometry once the operator or the window system moved or resized it. Left and Top are
// the frame's, title bar included, on every desktop.
#pragma once

#include <optional>

#include <QPoint>
#include <QRect>
#include <QSize>

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

    // Puts the frame at this point of the screen, in pixels.
    void PlaceFrame(QWidget& window, QPoint frame);
    // Puts the frame's centre on the area's; a window not framed yet is centred again with its
    // frame once it is.
    void CentreOver(QWidget& window, const QRect& area);

    // The window's own events, passed on by its form.
    void Showing(QWidget& window);       // about to be shown
    void Framed(QWidget& window);        // on screen in its window manager's frame
    void Hiding(const QWidget& window);  // about to be hidden
    bool AwaitsFrame() const { return awaitsFrame_; }

private:
    QPoint framePixels(const QWidget& window) const;
    QSize frameSize(const QWidget& window) const;

    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    // Where the frame was put or last seen, and Qt's own position for the window then: it
    // stands while Qt's position has not changed since.
    struct Known {
        QPoint frame;
        QPoint byQt;
    };
    std::optional<Known> known_;
    bool awaitsFrame_ = false;       // shown, not yet framed
    std::optional<QPoint> target_;   // where its frame must be then, when it was asked
    std::optional<QRect> centreOn_;  // or the area it must be centred on
    QSize frameExtra_;               // what the frame adds to the window, once seen
};

// The frame's place, brought back so that a grip of its title bar lies inside the area.
QPoint heldOnScreen(QPoint frame, QSize frameSize, const QRect& area);

}  // namespace platform::forms
