// Frm_MainBis.EnvoiMail: alert, technical and test mails through the window's mail controls,
// and the same controls lent to the notice mails of Lib_Email.
#include "engine/Frm_MainBis.h"

#include "engine/ErrorTrap.h"
#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/FileVersions.h"
#include "foundation/RunState.h"
#include "foundation/StatusMails.h"
#include "foundation/SystemQueries.h"
#include "foundation/Timing.h"
#include "platform/Dialogs.h"
#include "platform/ScopedFlag.h"
#include "platform/VbErrors.h"

namespace {

const std::string kCaller = "Frm_MainBis:EnvoiMail";
const std::string kCrLf = "\r\n";

// Line numbers that the SMTP error path reports, one per operation.
constexpr int32_t kConnectionLine = 1;
constexpr int32_t kSendLine = 2;

platform::mail::Address contact(const mailconfig::Contact& c) { return {c.name, c.address}; }

// Every non-blank element before the last ";" (one is added when missing), untrimmed.
void addRecipients(std::vector<platform::mail::Address>& list, std::string emails) {
    if (emails.empty() || emails.back() != ';') emails += ';';
    for (size_t start = 0, end; (end = emails.find(';', start)) != std::string::npos; start = end + 1) {
        const std::string element = emails.substr(start, end - start);
        if (!VBA::Trim(element).empty()) list.push_back({element, element});
    }
}

std::string body(const std::string& message) {
    const platform::LocalClockTime now = platform::clock::now();
    const int64_t running = std::chrono::duration_cast<std::chrono::seconds>(now - PbDDateLancement).count();
    const std::string radio = VBA::Trim(PbSNomRadio[0]).empty() ? "Radio: Id: " + std::to_string(PbIIdRadio)
                                                                : "Radio: " + PbSNomRadio[0];
    const std::string lines[] = {
        radio,
        "Poste: " + Lib_Systeme::ComputerName(),
        "OS: " + Lib_Systeme::GetOSDisplayString(),
        "Mémoire: " + std::to_string(Lib_Systeme::GetMemoryUsage()) + " Mo",
        "",
        "Date du poste: " + Lib_Public::Date2StringEx(now, "dd/MM/yyyy hh:mm:ss"),
        "Poste démarré depuis: " +
            Lib_Email::NbSecondes2String(double(Lib_Systeme::GetTickCountEx()) / 1000.0),
        "Application démarrée depuis: " + Lib_Email::NbSecondes2String(double(running)),
        "",
        "Application: " + Lib_Email::applicationPath(),
        "Version: " + Lib_Systeme::VersionApplication(),
        "",
        "Message: " + VBA::Replace(message, "|", kCrLf),
    };
    std::string text;
    for (const std::string& line : lines) text += line + kCrLf;
    return text;
}

}  // namespace

void Frm_MainBis::clSmtpMail_Prepare(const neighbours::SmtpAccount& account) {
    clSmtpMail.HostName = account.host;
    clSmtpMail.UserName = account.account;
    clSmtpMail.Password = account.password;
    // The exchange runs on a worker; meanwhile the program's events run, until it is ending.
    clSmtpMail.KeepWaiting = [] { return !Abandon; };
}

void Frm_MainBis::EnvoiMail(bool ModeTest, const std::string& EmailsTo, const std::string& ChaineMessage,
                            const std::string& Titre, bool EnvoiMailTechniqueAL) {
    if (EnvoiMailEnCours) return;
    const platform::ScopedFlag envoi(EnvoiMailEnCours);

    if (!EnvoiMailTechniqueAL && VBA::Trim(EmailsTo).empty()) return;

    engine::Trap(kCaller, [&] {
        clMailMessageMail = {};
        clMailMessageMail.date = platform::clock::now();
        clMailMessageMail.from = contact(mailconfig::kSender);
        const bool partner = Lib_Email::EstCeUneRadioDorvane();
        if (ModeTest) {
            addRecipients(clMailMessageMail.to, EmailsTo);
            if (partner) {
                clMailMessageMail.cc.push_back(contact(mailconfig::kPartnerSupport));
            } else {
                clMailMessageMail.cc.push_back(contact(mailconfig::kSupport1));
                clMailMessageMail.cc.push_back(contact(mailconfig::kSupport2));
            }
        } else if (EnvoiMailTechniqueAL) {
            clMailMessageMail.to.push_back(contact(mailconfig::kSupport1));
            clMailMessageMail.to.push_back(contact(mailconfig::kSupport2));
        } else {
            addRecipients(clMailMessageMail.to, EmailsTo);
            if (partner) clMailMessageMail.cc.push_back(contact(mailconfig::kPartnerSupport));
        }
        clMailMessageMail.body = body(ChaineMessage);
        clMailMessageMail.subject = VBA::Trim(Titre).empty()
                                        ? Lib_Email::subjectFromCaption(neighbours::Frm_Main().Caption())
                                        : Titre;
    });

    clSmtpMail_Prepare({mailconfig::server(), mailconfig::kAccount, mailconfig::password()});
    bool failed = false;
    auto onError = [&](const platform::mail::Failure& error, int32_t line) {
        if (!error) return;
        DerniereErreur = {error.number, line, error.description, "clSmtp"};
        failed = true;
        clSmtpMail.Disconnect();
        if (error.number == platform::vb::kUnexpectedFailure)
            Lib_Public::TraceLog(-1, -1, -1,
                                 "Err: -2147418113: Connection to the server not active |Sub: " + kCaller +
                                     ":" + std::to_string(line));
        else
            Lib_Public::GestionDesErreurs(kCaller);
    };
    // As the control's error path resumes: a failed connect still tries the send, whose
    // "not active" answer is only logged.
    onError(clSmtpMail.Connect(), kConnectionLine);
    onError(clSmtpMail.Send(clMailMessageMail), kSendLine);
    clSmtpMail.Disconnect();

    const std::string title = neighbours::Frm_Main().Caption();
    if (ModeTest) {
        if (failed)
            platform::dialogs::MsgBox(
                "Un problème est survenu lors de l'envoi du mail.\r\n\r\n"
                "Vérifiez votre paramétrage.",
                platform::dialogs::vbExclamation, title);
        else
            platform::dialogs::MsgBox(
                "Vérifiez dans votre boite mail si vous recevez bien ce mail de test.\r\n\r\n"
                "Pensez à vérifier dans vos spams.",
                platform::dialogs::vbInformation, title);
    } else if (failed) {
        Lib_Public::TraceLog(-1, -1, -1, "Err: Mail: Not sended");
    }
}

bool Frm_MainBis::clSmtpMail_Send(const neighbours::SmtpAccount& account,
                                  const neighbours::MailMessage& message, ErrorInfo& failure) {
    clMailMessageMail = {};
    clMailMessageMail.date = message.date;
    clMailMessageMail.subject = message.subject;
    clMailMessageMail.body = message.body;
    clMailMessageMail.attachment = message.attachment;
    clMailMessageMail.from = {message.fromName, message.fromAddress};
    for (const auto& [name, address] : message.recipients) clMailMessageMail.to.push_back({name, address});
    clSmtpMail_Prepare(account);
    bool sent = true;
    auto onError = [&](const platform::mail::Failure& error, int32_t line) {
        if (!error) return;
        if (sent) failure = {error.number, line, error.description, "clSmtp"};
        sent = false;
        clSmtpMail.Disconnect();
    };
    onError(clSmtpMail.Connect(), kConnectionLine);
    onError(clSmtpMail.Send(clMailMessageMail), kSendLine);
    clSmtpMail.Disconnect();
    return sent;
}
