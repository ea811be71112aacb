// The engine window: hidden, never shown; holds the UDP sockets, the station queues and timers.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QPixmap>

#include "engine/PeriodicJobs.h"
#include "engine/StationQueue.h"
#include "engine/TaskDialog.h"
#include "engine/UpdateCheck.h"
#include "foundation/NeighbourServices.h"
#include "platform/audio/Amp3dj.h"
#include "platform/forms/Form.h"
#include "platform/forms/Timer.h"
#include "platform/mail/Message.h"
#include "platform/mail/Smtp.h"
#include "platform/net/SocketWrench.h"
#include "platform/net/WinsockUdp.h"
#include "settings/LoadedForm.h"

namespace platform::forms {
class Spread;
}

class Frm_MainBis : public platform::forms::Form,
                    public neighbours::Frm_MainBisServices,
                    public settings::LoadedForm<Frm_MainBis>,
                    public engine::TaskDialogHost,
                    public engine::UpdateCheckHost {
public:
    static constexpr int kStations = 20;

    Frm_MainBis();

    // Element i serves station i + 1.
    std::array<platform::net::SocketWrench, kStations> SocketWrenchUDPIn;  // OS codes 10 to 13
    std::array<platform::net::WinsockUdp, kStations> SocketUDP;            // other OS codes
    std::array<platform::net::SocketWrench, kStations> SocketWrenchUDPOut;
    std::array<platform::net::SocketWrench, kStations> SocketWrenchUDPRDSUECP;
    std::array<engine::StationQueue, kStations> ListeDataArrival;
    std::array<engine::StationQueue, kStations> ListeUDPIn;  // emptied before a restart
    engine::StationQueue ListeFileToDelete;

    platform::forms::Timer Timer30s;
    platform::forms::Timer Timer60s;
    platform::forms::Timer TimerDataArrival;
    platform::forms::Timer TimerDelete;
    platform::forms::Timer TimerConvert;  // no handler: its ticks do nothing
    platform::forms::Timer TimerFlash;    // no handler

    // The audio players: element k serves pipe k (only pipe 0).
    std::array<platform::audio::Amp3dj, 1> Amp3dj1{{platform::audio::Amp3dj(0)}};

    // Reception.
    void SocketWrenchUDPIn_OnRead(int16_t index);
    void SocketUDP_DataArrival(int16_t index, int32_t bytesTotal);
    void SocketWrenchUDPIn_OnError(int16_t index, int32_t errorCode, const std::string& description);
    void SocketWrenchUDPRDSUECP_OnError(int16_t index, int32_t errorCode, const std::string& description);
    void SocketUDP_Error(int16_t index, int32_t number, const std::string& description,
                         const std::string& source);
    void SocketUDP_Close(int16_t index);
    void SocketUDP_Connect(int16_t index);
    void SocketUDP_ConnectionRequest(int16_t index, int32_t requestId);
    // Binds SocketWrenchUDPIn(index) on the row's address and port; a host name is resolved
    // first, off the event loop, and the bind follows its answer. A bound row's address and
    // port boxes are disabled. The binding click and the recovery after a read error share it.
    void BindSocketWrenchUDPIn(int16_t index, std::string ip, int32_t port,
                               const std::string& callerSub) override;
    platform::net::SocketWrench* SocketWrenchUDPIn_Item(int16_t index) override {
        return &SocketWrenchUDPIn.at(size_t(index));
    }
    platform::net::WinsockUdp* SocketUDP_Item(int16_t index) override { return &SocketUDP.at(size_t(index)); }

    // Pre-filter and time reply.
    void UDPDataArrival_00_Pre(int16_t NoBase, int16_t NoStation, std::string Chaine,
                               const std::string& SubAppelant);
    void DataArrival_WhatTimeIsIt(const std::string& Chaine, const std::string& SubAppelant);

    // Dispatcher and the per-message hand-off.
    void TimerDataArrival_Timer();
    void UDPDataArrival(int16_t NoStation, const std::string& Chaine, bool TraitementHistorique,
                        bool& abandon, const std::string& SubAppelant);

    // The daily notice mails.
    void Timer30s_Timer();
    // The minute job: the UECP mark, the watchdog drain of the player's message file, the
    // nightly relaunch.
    void Timer60s_Timer();
    // Retries the deletions of ListeFileToDelete.
    void TimerDelete_Timer();

    // The picture the global grid takes as its pointer over the cells.
    QPixmap ImageDragAndDrop;

    // Weekly planning (engine/Planning.cpp): the grid is made by the first InitPlanning.
    platform::forms::Spread* fpSpreadPlanning = nullptr;
    void InitPlanning();
    void InitPlanning_Grid(int16_t sheetCount, bool& reset);

    // Sender.
    void SendDataUDPSocketWrench(int16_t Index, const std::string& AdresseIP, int32_t NoPort,
                                 const std::string& Message, int32_t WaitingDuration = 0);
    void SocketWrenchUDPOut_OnError(int16_t index, int32_t errorCode, const std::string& description);
    void SocketWrenchUDPOut_OnAccept(int16_t index);
    void SocketWrenchUDPOut_OnCancel(int16_t index);
    void SocketWrenchUDPOut_OnConnect(int16_t index);
    void SocketWrenchUDPOut_OnDisconnect(int16_t index);
    void SocketWrenchUDPOut_OnProgress(int16_t index);
    void SocketWrenchUDPOut_OnTimeout(int16_t index);
    void SocketWrenchUDPOut_OnWrite(int16_t index);

    // Mail controls and the alert mail sender (Frm_MainBis_EnvoiMail.cpp).
    platform::mail::Message clMailMessageMail;
    platform::mail::SmtpControl clSmtpMail;
    void EnvoiMail(bool ModeTest, const std::string& EmailsTo, const std::string& ChaineMessage,
                   const std::string& Titre, bool EnvoiMailTechniqueAL) override;
    bool clSmtpMail_Send(const neighbours::SmtpAccount& account, const neighbours::MailMessage& message,
                         ErrorInfo& failure) override;

    // Player events and stream status (PlayerEvents.cpp).
    void CheckStreamStatus(int16_t NoPipe, int16_t NoStream, int16_t Status, const std::string& SubAppelant);
    void Amp3dj1_SoundClosed(int16_t Index, int16_t NoPlayer);
    void Amp3dj1_SoundDone(int16_t Index, int16_t NoPlayer);
    void Amp3dj1_SoundLoaded(int16_t Index, int16_t NoPlayer, int32_t SoundId);
    void Amp3dj1_SoundPaused(int16_t Index, int16_t NoPlayer);
    void Amp3dj1_SoundPlaying(int16_t Index, int16_t NoPlayer);
    void Amp3dj1_SoundResumed(int16_t Index, int16_t NoPlayer);
    void Amp3dj1_TriggerReached(int16_t Index, int16_t NoPlayer, int32_t TriggerId);

    // The audio members the foundation's shut-down calls (Lib_DirectX_Engine.cpp).
    bool DirectXOutStopSound(int16_t noPipe, int16_t noStream, int32_t fadeOutDuration,
                             const std::string& callerSub) override;
    void Amp3dj1_Release(int16_t noPipe) override;
    void Amp3dj1_SystemStart(int16_t noPipe, int16_t count, int32_t hWnd, int16_t& device1, int16_t& device2,
                             int16_t& device3, int16_t& device4) override;
    void InitDirectXOut(int16_t noPipe, const std::string& sectionPrefix) override;
    void DirectXPipeSetLevelOut(int16_t noPipe) override;
    int32_t ModeSortiePipe(int16_t noPipe) override;

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    engine::Timer30sDays timer30sDays_;  // the day marks of Timer30s_Timer
    void connectEvents();
    void connectPlayerEvents();
    void RecoverAfterReadError(int16_t index, const std::string& caller);
    void DisconnectAfterReadError(int16_t index, const std::string& caller);
    void DispatchReceived(std::string data, int16_t index, const std::string& caller);
    void BindResolvedSocketWrenchUDPIn(int16_t index, const std::string& ip, int32_t port,
                                       const std::string& callerSub);
    // SendDataUDPSocketWrench, then `then` once the socket steps have run: at once for an
    // address, after the lookup for a name (never when the window was unloaded meanwhile).
    void SendDataUDPSocketWrenchThen(int16_t Index, const std::string& AdresseIP, int32_t NoPort,
                                     const std::string& Message, int32_t WaitingDuration,
                                     std::function<void()> then);
    // The send's socket steps once the target is a dotted address (or a name that did not
    // resolve, which the connect then refuses).
    void SendOnSocket(int16_t Index, const std::string& addr, int32_t NoPort, const std::string& Message,
                      int32_t WaitingDuration);
    uint64_t sendEpoch_ = 0;  // an unload drops the sends still waiting for a name
    void clSmtpMail_Prepare(const neighbours::SmtpAccount& account);
    bool EnvoiMailEnCours = false;  // a call under way: another one returns at once
};
