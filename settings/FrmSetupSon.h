// The sound page: audio output settings (card, nature, device, buffer, levels) and the effects.
#pragma once

#include <map>
#include <vector>

#include "platform/forms/CheckBox.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/TextBox.h"
#include "settings/LoadedForm.h"
#include "settings/PageControls.h"

class QTabWidget;

class FrmSetupSon : public platform::forms::Form, public settings::LoadedForm<FrmSetupSon> {
public:
    FrmSetupSon();

    // The output nature list's entries.
    enum Nature { NatureNone = 0, NatureDirectX = 1, NatureMaker = 2 };

    QTabWidget* SftTabsSon;
    QTabWidget* SftTabsSonOut;
    std::map<int, settings::Frame*> MyFrameSon;  // 0 selection, 1 DirectX, 2 levels, 13 cut, 14 normalisation
    std::vector<platform::forms::ComboBox*> ComboNatureTrancheOut;
    std::vector<platform::forms::ComboBox*> ComboPeripheriqueOut;
    platform::forms::CheckBox* CheckSoundCard;
    platform::forms::TextBox* TexteTailleBuffer;
    std::vector<settings::Slider*> SliderAnalogLevelOut;
    std::vector<settings::Slider*> SliderDigitalLevelOut;
    std::vector<platform::forms::CheckBox*> CheckEffectActif;  // 0 silence cut, 1 normalisation
    platform::forms::CheckBox* CheckEffetCutDebut;
    platform::forms::CheckBox* CheckEffetCutFin;
    std::vector<settings::OptionButton*> OptionEffetTrim;
    std::vector<platform::forms::TextBox*> TexteEffetCutSeuil;  // 0 threshold dB, 1 duration ms
    std::vector<settings::OptionButton*> OptionEffetNormalise;
    std::vector<settings::Slider*> SliderEffetNormalisation;  // 0 wanted level, 1 fixed gain
    platform::forms::TextBox* TexteEffetNormalisationMax;
    platform::forms::CommandButton* CommandFermer;

    // Whether the operator picked the output device during this run: only then does the general
    // save store it, so a device the start fell back on (none found, fewer than stored) never
    // replaces the stored one.
    bool chosenDevice() const { return chosenDevice_; }

    void ComboNatureTrancheOut_Click(int index);
    void ComboPeripheriqueOut_Click(int index);
    void SliderAnalogLevelOut_Scroll(int index);
    void SliderDigitalLevelOut_Scroll(int index);
    void CommandFermer_Click();

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;

private:
    void buildOutputTab(QWidget* tab);
    void buildConvertTab(QWidget* tab);
    void connectHandlers();

    bool natureStarting_ = false;  // the output start lets events run for up to 6 s
    bool chosenDevice_ = false;
};
