// The daily notice mails: "Relaytone actif" at the first tick of each day, the day's log at the
// first tick between 01:15 and 01:59; the timer slows to 30 seconds once the main window shows.
#include "engine/ErrorTrap.h"
#include "engine/Frm_MainBis.h"
#include "foundation/Conversions.h"
#include "foundation/RunState.h"
#include "foundation/StatusMails.h"

namespace {

const std::string kCaller = "Frm_MainBis:Timer30s_Timer";

void envoiAvis(const std::string& sujet, bool joindreLog) {
    if (Lib_Email::MailsAvisActifs())
        Lib_Email::EnvoiDuMail(0, mailconfig::kAdresseSupport, sujet, 0, joindreLog, false, true, false);
}

}  // namespace

void Frm_MainBis::Timer30s_Timer() {
    engine::Trap(kCaller, [this] {
        if (!PbBFeuilleChargee) return;
        const std::string jour = Lib_Public::D2S(platform::clock::now());
        if (jour == joursTimer30s_.intervalle) return;
        joursTimer30s_.intervalle = jour;
        Timer30s.setInterval(30000);
    });
    engine::Trap(kCaller, [this] {
        if (!PbBFeuilleChargee) return;
        const std::string jour = Lib_Public::D2S(platform::clock::now());
        if (jour == joursTimer30s_.mailActif) return;
        // Marked before the send: a failed mail is not tried again that day.
        joursTimer30s_.mailActif = jour;
        envoiAvis("Relaytone actif", false);
    });
    engine::Trap(kCaller, [this] {
        if (!PbBFeuilleChargee) return;
        const platform::LocalTimeFields maintenant = platform::clock::localNow();
        const std::string jour = Lib_Public::D2S(platform::timeOf(maintenant));
        if (jour == joursTimer30s_.mailLog) return;
        if (maintenant.hour == 0 || (maintenant.hour == 1 && maintenant.minute < 15)) return;
        joursTimer30s_.mailLog = jour;
        // A day whose first tick comes at 02:00 or later gets no log mail.
        if (maintenant.hour == 1) envoiAvis("Relaytone envoi du Log", true);
    });
}
