// A settings window as the window positions file sees it.
#pragma once

#include "foundation/SettingsFiles.h"
#include "platform/forms/Form.h"

namespace settings {

class FormPosition : public Lib_Public::PositionedForm {
public:
    explicit FormPosition(platform::forms::Form& form) : form_(form) {}

    std::string Name() const override { return form_.Name(); }
    double Left() const override { return form_.Left(); }
    double Top() const override { return form_.Top(); }
    double Height() const override { return form_.Height(); }
    // The size is not stored: it stays as the window has it.
    void SetLeft(double left) override { form_.SetLeft(left); }
    void SetTop(double top) override { form_.SetTop(top); }
    int16_t WindowState() const override;
    static int16_t WindowStateOf(Qt::WindowStates states);  // 0 normal, 1 minimised, 2 maximised
    double ScreenHeight() const override;

private:
    platform::forms::Form& form_;
};

// Lib_Public.PositionFeuille and PositionFeuilleSauvegarde for a settings window.
void restorePosition(platform::forms::Form& form);
void savePosition(platform::forms::Form& form);

}  // namespace settings
