// The always-on-top "Patientez S.V.P." window that shows the current start-up step.
#pragma once

#include <array>
#include <string>

#include "foundation/NeighbourServices.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"

class FrmMsg : public platform::forms::Form, public neighbours::FrmMsgServices {
public:
    FrmMsg();

    platform::forms::Label* LabelMsgInit = nullptr;
    std::array<platform::forms::Label*, 2> LabelPatientez{};

    void LoadAndShow() override;
    void Hide() override { Form::Hide(); }
    void Unload() override { Form::Unload(platform::forms::vbFormCode); }
    void LabelMsgInit_SetCaption(const std::string& text) override { LabelMsgInit->SetCaption(text); }

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
};

FrmMsg& TheFrmMsg();
// Back to the start of the process: the window destroyed; the next TheFrmMsg makes it again.
void releaseFrmMsg();
