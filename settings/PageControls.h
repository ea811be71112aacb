// The settings pages' own controls: slider, option button and frame, with VB's events.
#pragma once

#include <functional>
#include <string>

#include <QGroupBox>
#include <QRadioButton>
#include <QSlider>

#include "platform/forms/Control.h"

namespace settings {

// Slider: Scroll runs when the operator moves it, by any means, once the value moved; Change on
// every new Value (operator or code).
class Slider : public platform::forms::Control<QSlider> {
public:
    Slider(QWidget* parent, int index, int min, int max, int designValue);

    int Value() const { return value(); }
    void SetValue(int value);  // clamped to the range, as the control does

    std::function<void()> Scroll;
    std::function<void()> Change;

private:
    bool actionUnderWay_ = false;
};

// Option button: one of a frame's set; a Value that becomes True runs Click and clears the others.
class OptionButton : public platform::forms::Control<QRadioButton> {
public:
    OptionButton(QWidget* parent, int index, const std::string& caption);

    bool Value() const { return isChecked(); }
    void SetValue(bool value);

    std::function<void()> Click;
};

// Framed panel with a caption; disabling it disables what it holds.
class Frame : public platform::forms::Control<QGroupBox> {
public:
    Frame(QWidget* parent, int index, const std::string& caption);
};

}  // namespace settings
