// The settings window: loads the pages from both settings files and saves the changed groups.
#pragma once

#include <string>
#include <vector>

#include "foundation/LogBuffers.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "settings/LoadedForm.h"

class QAction;
class QMenu;

class FrmSetup : public platform::forms::Form, public settings::LoadedForm<FrmSetup> {
public:
    FrmSetup();
    ~FrmSetup() override;

    platform::forms::CommandButton* CommandSave;
    platform::forms::CommandButton* CommandFermer;
    platform::forms::CommandButton* CommandDevices;
    platform::forms::CommandButton* CommandMisc;
    QMenu* MnuMain;
    QAction* MnuMainSave;
    QAction* MnuMainSep40;
    QAction* MnuMainFermer;

    // The log writer's file buffer: lines waiting for the next write to the day's file.
    logbuffers::LogList& ListeLog();

    // Writes the UDP rows of the base settings file.
    void SaveSettingsPeripheriques();

    void CommandSave_Click();
    void MnuMainSave_Click();
    void CommandFermer_Click();
    void MnuFermer_Click();

    // The two settings files of this run.
    static std::string settingsFile();
    static std::string baseSettingsFile();

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Resize();
    void InitGeneral();
    void InitGeneralDossiers(int16_t noBase);
    void InitSettings();
    void SaveSettings();
    void InitSettingsPeripheriques();
    void InitSettingsConvert();
    void SaveSettingsConvert();
    void InitRegisterConvert();
    void StartupStep(const std::string& text, bool logged);
    void repairReceptionAddresses();
    void Enregistrer();
    // A group whose file was not written keeps its flag; the failure is logged and, on screen, shown.
    void reportWriteFailure(const std::string& file, const std::string& procedure);
};
