// FrmError has no behaviour of its own: its icon marks the tray entry while incidents wait.
#pragma once

#include "platform/forms/Form.h"

class FrmError : public platform::forms::Form {
public:
    FrmError();
};
