// Slider, option button and frame of the settings pages.
#include "settings/PageControls.h"

#include <utility>

namespace settings {

Slider::Slider(QWidget* parent, int index, int min, int max, int designValue)
    : Control<QSlider>(parent, index) {
    setOrientation(Qt::Horizontal);
    setRange(min, max);
    setValue(designValue);
    // Every move of the operator's (drag, key, page step, click on the groove, wheel) is an
    // action, signalled before the value follows it: Scroll waits for the value it gives. A
    // value set by the code is no action, so it raises Change alone.
    connect(this, &QSlider::actionTriggered, this,
            [this](int) { actionUnderWay_ = sliderPosition() != value(); });
    connect(this, &QSlider::valueChanged, this, [this](int) {
        if (std::exchange(actionUnderWay_, false) && Scroll) Scroll();
        if (Change) Change();
    });
}

void Slider::SetValue(int value) { setValue(value); }

OptionButton::OptionButton(QWidget* parent, int index, const std::string& caption)
    : Control<QRadioButton>(parent, index) {
    setText(QString::fromStdString(caption));
    connect(this, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked && Click) Click();
    });
}

void OptionButton::SetValue(bool value) {
    if (value == isChecked()) return;
    if (value) {
        setChecked(true);
        return;
    }
    // An exclusive set never clears its last choice by itself.
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(true);
}

Frame::Frame(QWidget* parent, int index, const std::string& caption) : Control<QGroupBox>(parent, index) {
    setTitle(QString::fromStdString(caption));
}

}  // namespace settings
