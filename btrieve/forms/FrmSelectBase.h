// FrmSelectBase: the modal dialog in which the operator chooses the base and the station.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QPixmap>

#include "foundation/BaseChoice.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"

class FrmSelectBase : public platform::forms::Form {
public:
    FrmSelectBase();

    std::vector<platform::forms::Label*> Label;  // 0 "Base:", 1 "Station", 2 the prompt, 3 the banner
    platform::forms::ComboBox* ComboBase;
    platform::forms::ComboBox* ComboStation;
    std::vector<platform::forms::CommandButton*> CommandFermer;  // 0 "Valider", 1 "Quitter"

    // A line of ComboBase with the base index it stands for (lines skip bases without folder).
    void AddBase(const std::string& label, int16_t baseIndex);
    void ClearBases();
    int16_t BaseOfLine(int line) const;       // -1 for no line
    int LineOfBase(int16_t baseIndex) const;  // -1 when the base has no line

    void ComboBase_Click();
    void CommandFermer_Click(int index);

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void paintEvent(QPaintEvent* event) override;  // the banner picture as background

private:
    void placeControls(double scale);
    std::vector<int16_t> baseOfLine_;
    QPixmap banner_;
};

// The dialog as the site start-up drives it; a scripted run answers it from the dialog seam
// ("cancel", "ok", or a base number from 1 to pick that base's line).
class FrmSelectBaseDialog : public neighbours::FrmSelectBaseServices {
public:
    FrmSelectBaseDialog(FrmSelectBase& window, platform::forms::Form* owner);

    void Load() override;
    void ComboBase_Clear() override;
    void ComboBase_AddItem(const std::string& label, int16_t baseIndex) override;
    void ComboBase_SetListIndex(int16_t line) override;
    void ShowModal() override;

    // Creates the window for the run (once) and registers it with the site start-up, owned by
    // the given main window.
    static void install(platform::forms::Form* owner);
    // Back to the start of the process: unregistered, the window and the dialog destroyed.
    static void release();

private:
    FrmSelectBase& window_;
    platform::forms::Form* owner_;
};
