// Slider, option button and frame of the settings pages.
#include "settings/PageControls.h"

namespace settings {

Slider::Slider(QWidget* parent, int index, int min, int max, int designValue)
    : Control<QSlider>(parent, index) {
    setOrientation(Qt::Horizontal);
    setRange(min, max);
    setValue(designValue);
    connect(this, &QSlider::sliderMoved, this, [this](int) {
        if (Scroll) Scroll();
    });
    connect(this, &QSlider::valueChanged, this, [this](int) {
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

Frame::Frame(QWidget* parent, int index, const std::string& caption)
    : Control<QGroupBox>(parent, index) {
    setTitle(QString::fromStdString(caption));
}

}  // namespace settings
