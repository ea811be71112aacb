// The devices page: the UDP reception rows the engine binds from, and the received-data monitor.
#pragma once

#include <vector>

#include "platform/forms/CheckBox.h"
#include "platform/forms/Form.h"
#include "platform/forms/TextBox.h"
#include "settings/LoadedForm.h"

class FrmSetupPeripherique : public platform::forms::Form,
                             public settings::LoadedForm<FrmSetupPeripherique> {
public:
    static constexpr int kRows = 10;  // row i serves station i + 1

    FrmSetupPeripherique();

    // A disabled address and port pair marks a bound row.
    std::vector<platform::forms::TextBox*> TexteUDPIPSource;
    std::vector<platform::forms::TextBox*> TexteUDPPortSource;
    std::vector<platform::forms::CheckBox*> CheckUDPInActif;
    // The last text received on any receiver, with its date and time.
    platform::forms::TextBox* TexteUDPDonneeRecues;
};
