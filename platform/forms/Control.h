// What every control adds to its Qt widget: an index in its array, a Tag, and a twip layout.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>

#include <QWidget>

namespace platform::forms {

// Window layouts are drawn in twips; at 96 dpi a pixel is 15 twips.
inline constexpr int kTwipsPerPixel = 15;
// A stored twip figure can be anything ("1e30"): held to what a widget can take.
inline int pixelsOfTwips(double twips) {
    return int(std::floor(
        std::clamp(twips / kTwipsPerPixel + 0.5, -double(QWIDGETSIZE_MAX), double(QWIDGETSIZE_MAX))));
}

// Keeps the twip values as set, so that a layout divided by a font scale reads back exactly.
class TwipGeometry {
public:
    void Move(QWidget& widget, double left, double top, double width, double height);
    void SetLeft(QWidget& w, double v) { Move(w, v, top_, width_, height_); }
    void SetTop(QWidget& w, double v) { Move(w, left_, v, width_, height_); }
    void SetWidth(QWidget& w, double v) { Move(w, left_, top_, v, height_); }
    void SetHeight(QWidget& w, double v) { Move(w, left_, top_, width_, v); }
    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }

private:
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

// W is the Qt widget the control stands on; the VB-cased members are the control's own.
template <class W>
class Control : public W {
public:
    explicit Control(QWidget* parent, int index = -1) : W(parent), index_(index) {}

    int Index() const { return index_; }  // position in its control array, -1 when alone
    std::string Tag;

    bool Visible() const { return !this->isHidden(); }  // as set, even on a hidden window
    void SetVisible(bool visible) { this->setVisible(visible); }
    bool Enabled() const { return this->isEnabled(); }
    void SetEnabled(bool enabled) { this->setEnabled(enabled); }

    void Move(double left, double top, double width, double height) {
        geometry_.Move(*this, left, top, width, height);
    }
    void SetLeft(double v) { geometry_.SetLeft(*this, v); }
    void SetTop(double v) { geometry_.SetTop(*this, v); }
    void SetWidth(double v) { geometry_.SetWidth(*this, v); }
    void SetHeight(double v) { geometry_.SetHeight(*this, v); }
    double Left() const { return geometry_.Left(); }
    double Top() const { return geometry_.Top(); }
    double Width() const { return geometry_.Width(); }
    double Height() const { return geometry_.Height(); }

private:
    int index_;
    TwipGeometry geometry_;
};

}  // namespace platform::forms
