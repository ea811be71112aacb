// The about box, with its button that starts the system-information program.
#pragma once

#include <cstdint>
#include <string>

#include <QFrame>

#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"

class FrmAbout : public platform::forms::Form {
public:
    FrmAbout();

    platform::forms::Label* picIcon = nullptr;
    platform::forms::Label* lblTitle = nullptr;
    platform::forms::Label* lblVersion = nullptr;
    platform::forms::Label* lblNotice = nullptr;
    platform::forms::Label* Label1 = nullptr;
    platform::forms::Label* lblDisclaimer = nullptr;
    platform::forms::CommandButton* cmdOK = nullptr;
    platform::forms::CommandButton* cmdSysInfo = nullptr;

    // Starts the system-information program named by the registry, or says it is not available.
    void StartSysInfo();
    // One registry value: a text as it is, a 32-bit number as "&h" and hexadecimal digits;
    // false (and an empty value) when the key or the value cannot be read.
    bool GetKeyValue(uint32_t root, const std::string& keyName, const std::string& nameText,
                     std::string& valueText);

protected:
    void Form_Load() override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};

// Back to the start of the process: the about box destroyed; the next one is made again.
void releaseFrmAbout();
