// The devices page: the UDP reception and emission rows, and the received-data monitor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/forms/CheckBox.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/TextBox.h"
#include "settings/LoadedForm.h"

class QTabWidget;

class FrmSetupPeripherique : public platform::forms::Form, public settings::LoadedForm<FrmSetupPeripherique> {
public:
    static constexpr int kRows = 10;  // row i serves station i + 1

    FrmSetupPeripherique();

    // A disabled address and port pair marks a bound row.
    std::vector<platform::forms::TextBox*> TexteUDPIPSource;
    std::vector<platform::forms::TextBox*> TexteUDPPortSource;
    std::vector<platform::forms::CheckBox*> CheckUDPInActif;
    // The last text received on any receiver, with its date and time.
    platform::forms::TextBox* TexteUDPDonneeRecues;

    // Emission rows: loaded and saved only, nothing sends to them.
    std::vector<platform::forms::CheckBox*> CheckUDPOutActif;  // caption: the station's label
    std::vector<platform::forms::TextBox*> TexteUDPIPCible;
    std::vector<platform::forms::TextBox*> TexteUDPPortCible;
    std::vector<platform::forms::TextBox*> TexteUDPPortBCible;
    std::vector<platform::forms::TextBox*> TexteUDPDonneeEnvoyees;
    std::vector<platform::forms::CommandButton*> BtnUDPSend;
    // 0 the computer name, 1 the host's first IPv4 address.
    std::vector<platform::forms::TextBox*> TexteComputerNameAdresse;
    platform::forms::CommandButton* CommandSave;
    platform::forms::CommandButton* CommandFermer;
    QTabWidget* SftTabsPeripheriques;
    QTabWidget* SftTabsPeripheriquesReseau;
    QTabWidget* SftTabsPeripheriquesReseauReception;
    QTabWidget* SftTabsPeripheriquesReseauEmission;

    void CheckUDPInActif_Click(int16_t index);
    void CommandSave_Click();
    void CommandFermer_Click();
    // The name of a socket error code, empty for a code the table does not hold.
    static std::string LibSockectErr(int32_t code);

    // Binds the ticked rows whose address was blank when the load ticked them.
    void attachPendingLines();

protected:
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;

private:
    void connectHandlers();
    void disconnectSocketWrench(int16_t index);
    // The click's error trap: the socket errors of the table are reported here.
    void reportBindFailure(int32_t number, const std::string& description, const std::string& ip,
                           int32_t port, int16_t index, int32_t line);

    std::vector<int16_t> pendingLines_;
};
