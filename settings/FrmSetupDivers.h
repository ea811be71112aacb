// The miscellaneous page: general options, the alert recipients and categories, the test mail.
#pragma once

#include <vector>

#include <QTimer>

#include "platform/forms/CheckBox.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "platform/forms/TextBox.h"
#include "settings/LoadedForm.h"
#include "settings/PageControls.h"

class QTabWidget;

class FrmSetupDivers : public platform::forms::Form, public settings::LoadedForm<FrmSetupDivers> {
public:
    FrmSetupDivers();

    // The recipients box holds what one INI read can give back.
    static constexpr int kMaxAddressesLength = 254;

    QTabWidget* SftTabsDivers;
    settings::Frame* MyFrameGeneral;
    settings::Frame* MyFrameMail;
    platform::forms::CheckBox* CheckMiseEnVeille;
    platform::forms::CheckBox* CheckMemory;
    platform::forms::CheckBox* CheckLaunch;
    platform::forms::CheckBox* CheckSMTPS;
    platform::forms::TextBox* TexteEmailsAdresses;
    std::vector<platform::forms::CheckBox*> CheckEmail;  // alert categories 0 to 5
    platform::forms::ComboBox* ComboNbJourPoste;
    platform::forms::CommandButton* CommandEmailTest;
    platform::forms::CommandButton* CommandFermer;
    platform::forms::Label* Label3;

    void CheckMemory_Click();
    void CommandEmailTest_Click();
    void CommandFermer_Click();

    // The 5-second memory measurement started by CheckMemory.
    bool MemoryTimerActive() const { return memoryTimer_.isActive(); }

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;

private:
    void connectHandlers();

    QTimer memoryTimer_;
};
