// What the layers below use of the settings, engine and main windows: one interface per window,
// a default that holds until the window registers itself, and the registration function.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Clock.h"

class QWidget;
struct ErrorInfo;
namespace platform {
class Window;
}
namespace platform::net {
class SocketWrench;
class WinsockUdp;
}  // namespace platform::net

// One audio output pipe of the engine (only pipe 0 exists).
struct PipeOut {
    bool initialised = false;    // the engine has started the pipe's output device
    int16_t deviceCount = 0;     // number of output devices
    int16_t selectedDevice = 0;  // the selected output device
};
inline std::array<PipeOut, 1> PbTPipesOut{};

// Each base's record-manager data folder (0 to 4), filled while the settings window loads.
inline std::array<std::string, 5> PbSDossierDataBase{};

namespace neighbours {

// FrmSetup and its pages, read at the moment a value is needed: what the boxes show, saved or
// not. Every reader outside the settings windows asks here; a page never loaded reads as empty.
class FrmSetupServices {
public:
    virtual ~FrmSetupServices() = default;
    // FrmSetupDivers.TexteEmailsAdresses.Text: alert recipients separated by ";".
    virtual std::string TexteEmailsAdresses() { return {}; }
    // FrmSetupDivers.CheckEmail(index).Value: 1 when ticked; indexes 0 to 5.
    virtual int16_t CheckEmail(int16_t /*index*/) { return 0; }
    // FrmSetupDivers.ComboNbJourPoste.ListIndex: entry k stands for (k + 1) x 7 days; -1 none.
    virtual int16_t ComboNbJourPoste_ListIndex() { return -1; }
    // FrmSetupDivers.CheckLaunch.Value: 1 when the nightly relaunch is ticked.
    virtual int16_t CheckLaunch() { return 0; }
    // FrmSetupDivers.CheckMiseEnVeille.Value: 1 when standby after a start is ticked.
    virtual int16_t CheckMiseEnVeille() { return 0; }
    // FrmSetupPeripherique.TexteUDPIPSource(index).Text and TexteUDPPortSource(index).Text.
    virtual std::string TexteUDPIPSource(int16_t /*index*/) { return {}; }
    virtual std::string TexteUDPPortSource(int16_t /*index*/) { return {}; }
    // FrmSetupSon.ComboPeripheriqueOut(0).Text: the output device as the list shows it.
    virtual std::string ComboPeripheriqueOut_Text() { return {}; }
    // FrmSetupSon.TexteTailleBuffer.Text: the player's buffer in ms.
    virtual std::string TexteTailleBuffer() { return {}; }
};

// The SMTP account set on clSmtpMail before a send.
struct SmtpAccount {
    std::string host;
    std::string account;
    std::string password;
};

// What clMailMessageMail is given for one message.
struct MailMessage {
    platform::LocalClockTime date{};
    std::string subject;
    std::string body;
    std::string attachment;  // a file path, or empty
    std::string fromName;
    std::string fromAddress;
    std::vector<std::pair<std::string, std::string>> recipients;  // display name, address
};

// The open-file dialog as CMDialog is armed by its callers.
struct OpenFileRequest {
    std::string initialFolder;
    std::string filter;  // "Logs|*.log"
    int16_t filterIndex = 1;
    std::string fileName;  // proposed full name
};

// Frm_MainBis (the engine window) and its audio module Lib_DirectX.
class Frm_MainBisServices {
public:
    virtual ~Frm_MainBisServices() = default;
    // Sends the system report and the message; before the engine window exists, nothing is sent.
    virtual void EnvoiMail(bool /*modeTest*/, const std::string& /*emailsTo*/,
                           const std::string& /*chaineMessage*/, const std::string& /*captionText*/,
                           bool /*envoiMailTechniqueAL*/) {}
    // CMDialog shown as an open-file dialog; empty when cancelled. The default asks the
    // dialog seam directly.
    virtual std::optional<std::string> CMDialog_ShowOpen(const OpenFileRequest& request);
    // clMailMessageMail + clSmtpMail: open the connection, send, close. False with the failure
    // recorded in `failure` when any step fails; the default has no mail controls.
    virtual bool clSmtpMail_Send(const SmtpAccount& account, const MailMessage& message, ErrorInfo& failure);
    // Lib_DirectX.DirectXOutStopSound; the default has no player to stop.
    virtual bool DirectXOutStopSound(int16_t /*noPipe*/, int16_t /*noStream*/, int32_t /*fadeOutDuration*/,
                                     const std::string& /*callerSub*/) {
        return true;
    }
    // Amp3dj1(pipe): the release before a pipe is started again or at shut-down.
    virtual void Amp3dj1_Release(int16_t /*noPipe*/) {}
    // Amp3dj1(pipe): the system start of the player with its four output devices.
    virtual void Amp3dj1_SystemStart(int16_t /*noPipe*/, int16_t /*count*/, int32_t /*hWnd*/,
                                     int16_t& /*device1*/, int16_t& /*device2*/, int16_t& /*device3*/,
                                     int16_t& /*device4*/) {}

    // What the settings window's sound page starts and reads: Lib_DirectX.InitDirectXOut, its
    // level and PbLModeSortiePipe(pipe); the default has no output.
    virtual void InitDirectXOut(int16_t /*noPipe*/, const std::string& /*sectionPrefix*/) {}
    virtual void DirectXPipeSetLevelOut(int16_t /*noPipe*/) {}
    virtual int32_t ModeSortiePipe(int16_t /*noPipe*/) { return 0; }

    // The station receivers the settings window's device page binds and closes: element index
    // of SocketWrenchUDPIn and SocketUDP; none before the engine window exists.
    virtual platform::net::SocketWrench* SocketWrenchUDPIn_Item(int16_t /*index*/) { return nullptr; }
    virtual platform::net::WinsockUdp* SocketUDP_Item(int16_t /*index*/) { return nullptr; }
    // Binds SocketWrenchUDPIn(index), a host name resolved first; the default binds nothing.
    virtual void BindSocketWrenchUDPIn(int16_t /*index*/, std::string /*ip*/, int32_t /*port*/,
                                       const std::string& /*callerSub*/) {}
};

// FrmMsg, the start-up progress window.
class FrmMsgServices {
public:
    virtual ~FrmMsgServices() = default;
    virtual void LoadAndShow() {}
    virtual void Hide() {}
    virtual void Unload() {}
    virtual void LabelMsgInit_SetCaption(const std::string& /*text*/) {}
};

// Frm_Main (the main window), the progress window it owns and the look module Lib_Look.
// The default keeps one incidents list in memory, so that no incident is lost before the
// main window exists.
class Frm_MainServices {
public:
    virtual ~Frm_MainServices() = default;
    virtual std::string Caption() { return {}; }
    virtual int32_t hWnd() { return 0; }
    // The window itself (its pointer, topmost state); none before it exists.
    virtual platform::Window* MainWindow() { return nullptr; }

    // ListeIncidents: one list per base, index 0 always present.
    virtual int16_t ListeIncidents_Count() { return 1; }
    virtual int32_t ListeIncidents_ListCount(int16_t index);
    virtual std::string ListeIncidents_List(int16_t index, int32_t line);
    virtual void ListeIncidents_Clear(int16_t index);
    virtual void ListeIncidents_AddItem(int16_t index, const std::string& text);
    // CheckIncidents(index).Value = value; 1 raises the incident alert.
    virtual void CheckIncidents_SetValue(int16_t /*index*/, int16_t /*value*/) {}

    // fpSpreadGlobal's export to a workbook; the result is not read by the reporter.
    virtual bool fpSpreadGlobal_ExportToExcel(const std::string& /*workbook*/,
                                              const std::string& /*sheetName*/,
                                              const std::string& /*logFile*/, int32_t /*flags*/) {
        return false;
    }
    virtual void LabelAffichageMemory_SetCaption(const std::string& /*text*/) {}
    virtual void LabelAffichageMemory_SetVisible(bool /*visible*/) {}

    // Restart through the launcher; before the main window exists there is nothing to restart.
    virtual void RelancerApplication(bool /*modeTest*/, const std::string& /*callerSub*/) {}
    virtual void Quitter(bool /*force*/) {}

    // ShapeActivite.Visible: the activity indicator the minute job lights during a drain.
    virtual void ShapeActivite_SetVisible(bool /*visible*/) {}
    // The window a dialog of the engine opens over when its caller names none.
    virtual QWidget* Widget() { return nullptr; }

    virtual FrmMsgServices& FrmMsg();
    // Lib_Look.LookFenetre: applies the current look to the window's controls.
    virtual void LookFenetre(QWidget& /*window*/) {}

private:
    std::vector<std::string> incidents_;
    FrmMsgServices frmMsg_;
};

// The program's loaded windows (last loaded last), for lowering the topmost ones around a
// dialog; the tag "1" marks a window put in front of all others.
class FormsServices {
public:
    virtual ~FormsServices() = default;
    virtual int32_t Count() { return 0; }
    virtual std::string Tag(int32_t /*index*/) { return {}; }
    virtual void SetTag(int32_t /*index*/, const std::string& /*tag*/) {}
    virtual bool Visible(int32_t /*index*/) { return false; }
    // Lib_Public.AfficherAuDessus: -1 in front of all others (tag "1"), 0 back to normal.
    virtual void AfficherAuDessus(int32_t /*index*/, int16_t /*mode*/) {}
};

// The registered window, or the default while none is (nullptr unregisters).
FrmSetupServices& FrmSetup();
Frm_MainBisServices& Frm_MainBis();
Frm_MainServices& Frm_Main();
FormsServices& Forms();
void registerFrmSetup(FrmSetupServices* window);
void registerFrm_MainBis(Frm_MainBisServices* window);
void registerFrm_Main(Frm_MainServices* window);
void registerForms(FormsServices* forms);

// Back to the start of the process: no window registered, the defaults fresh (no incident
// waiting), no pipe started and no data folder known.
void resetNeighbourServices();

}  // namespace neighbours
