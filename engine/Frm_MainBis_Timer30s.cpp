// The daily notice mails: "Relaytone actif" at the first tick of each day, the day's log at the
// first tick between 01:15 and 01:59; the timer slows to 30 seconds once the main window shows.
#include "engine/ErrorTrap.h"
#include "engine/Frm_MainBis.h"
#include "foundation/Conversions.h"
#include "foundation/RunState.h"
#include "foundation/StatusMails.h"

namespace {

const std::string kCaller = "Frm_MainBis:Timer30s_Timer";

void noticeSending(const std::string& sujet, bool attachLog) {
    if (Lib_Email::noticeMailsActive())
        Lib_Email::EnvoiDuMail(0, mailconfig::kSupportAddress, sujet, 0, attachLog, false, true, false);
}

}  // namespace

void Frm_MainBis::Timer30s_Timer() {
    engine::Trap(kCaller, [this] {
        if (!PbBFeuilleChargee) return;
        const std::string jour = Lib_Public::D2S(platform::clock::now());
        if (jour == timer30sDays_.interval) return;
        timer30sDays_.interval = jour;
        Timer30s.setInterval(30000);
    });
    engine::Trap(kCaller, [this] {
        if (!PbBFeuilleChargee) return;
        const std::string jour = Lib_Public::D2S(platform::clock::now());
        if (jour == timer30sDays_.mailActive) return;
        // Marked before the send: a failed mail is not tried again that day.
        timer30sDays_.mailActive = jour;
        noticeSending("Relaytone actif", false);
    });
    engine::Trap(kCaller, [this] {
        if (!PbBFeuilleChargee) return;
        const platform::LocalTimeFields currentTime = platform::clock::localNow();
        const std::string jour = Lib_Public::D2S(platform::timeOf(currentTime));
        if (jour == timer30sDays_.mailLog) return;
        if (currentTime.hour == 0 || (currentTime.hour == 1 && currentTime.minute < 15)) return;
        timer30sDays_.mailLog = jour;
        // A day whose first tick comes at 02:00 or later gets no log mail.
        if (currentTime.hour == 1) noticeSending("Relaytone envoi du Log", true);
    });
}
