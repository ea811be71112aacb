// Lib_Email: the notice mails to the support (start, stop, alive, daily log), the partner-radio
// test, and the fixed sending configuration that the engine's alert mails share.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Clock.h"

namespace mailconfig {

struct Contact {
    std::string name;
    std::string address;
};

// The maker's server and account are placeholders under the reserved ".invalid" domain, which
// the SMTP control refuses without a lookup; AL3_SMTP_SERVER ("host" or "host:port") names
// the server a site really sends through.
std::string server();
inline const std::string kAccount = "relaytone@aerolune.invalid";
// Ten lower-case letters and digits, joined from three pieces at run time.
std::string password();

// Notice mails: three display names for one no-reply address.
inline const std::string kCompanyName = "Aerolune";
inline const std::string kUpperName = "Aerolune Mises à jour";
inline const std::string kRelaytoneName = "Aerolune Relaytone";
inline const std::string kNoReplyAddress = "no-reply@aerolune.invalid";
// The fixed support recipient that the notice-mail callers pass.
inline const std::string kSupportAddress = "support@aerolune.invalid";

// Alert, error and test mails.
inline const Contact kSender{kRelaytoneName, kNoReplyAddress};
inline const Contact kSupport1{"Support Aerolune", "support@aerolune.invalid"};
inline const Contact kSupport2{"Technique Aerolune", "technique@aerolune.invalid"};
inline const Contact kPartnerSupport{"Support Dorvane", "support@dorvane.invalid"};

}  // namespace mailconfig

namespace Lib_Email {

// The site's notice-mail option: AL3_Config.ini, section "Site", key "Mails_Avis" (1 on,
// 0 or missing off), read each time a caller asks.
bool noticeMailsActive();

// One notice mail to the recipients in EmailsTo (";" between them): the system report with
// ChaineMessage on its last line, a copy of today's log attached when asked. ModeTest and Titre
// are not read. A failed send is logged once; the caller is not told.
void EnvoiDuMail(int16_t ModeTest, const std::string& EmailsTo, const std::string& ChaineMessage,
                 int16_t Titre, bool JoindreLog, bool ExpediteurMaj, bool ExpediteurSociete,
                 bool TracerEnvoi);

// True when PbIIdRadio is one of the partner group's radios.
bool EstCeUneRadioDorvane();

// The subject of a mail without its own: the caption with every "Aerolune: " removed, in any
// letter case.
std::string subjectFromCaption(const std::string& caption);

// PbSDossierApplication, the executable's name and ".exe".
std::string applicationPath();

// The general date-and-time form: "dd/MM/yyyy hh:mm:ss", the date alone at midnight.
std::string generalDate(platform::LocalClockTime moment);

}  // namespace Lib_Email
