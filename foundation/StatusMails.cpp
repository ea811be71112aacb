// Lib_Email.EnvoiDuMail: the notice mail's report, log copy, sender, recipients and send.
#include "foundation/StatusMails.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include <QCoreApplication>

#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/ErrorReporter.h"
#include "foundation/FileVersions.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/LogText.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/SettingsFiles.h"
#include "foundation/Site.h"
#include "foundation/SystemQueries.h"
#include "foundation/Timing.h"

namespace mailconfig {

std::string server() {
    const char* chosen = std::getenv("AL3_SMTP_SERVER");
    return chosen && *chosen ? chosen : "smtp.aerolune.invalid";
}

std::string password() { return std::string("k7m") + "q2r9" + "x4w"; }

}  // namespace mailconfig

namespace Lib_Email {
namespace {

const std::string kCaller = "Lib_Email:EnvoiDuMail";
const std::string kCrLf = "\r\n";

std::string executableName() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("AL3_Relaytone") : exe.stem().string();
}

std::string logCopyName(platform::LocalClockTime moment) {
    return PbSDossierLog + "Relaytone_" + Lib_Public::Date2StringEx(moment, "yyyyMMdd_hh") + ".Log";
}

// The copy of today's log to attach, or empty when there is none to send.
std::string logCopy(platform::LocalClockTime now) {
    if (VBA::Trim(PbSDossierLog).empty()) return {};
    const std::string today = PbSDossierLog + Lib_Public::D2S(now) + ".Log";
    if (!Lib_Systeme::File_Exist(today, kCaller, true)) return {};
    const std::string copy = logCopyName(now);
    if (!Lib_Systeme::File_Copy(today, copy)) return {};
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
    if (Lib_Systeme::File_Exist(copy, kCaller, true)) return copy;
    const std::string yesterday = logCopyName(now - std::chrono::days(1));
    return Lib_Systeme::File_Exist(yesterday, kCaller, true) ? yesterday : std::string();
}

std::string report(const std::string& message, platform::LocalClockTime now) {
    const int64_t tick = Lib_Systeme::GetTickCountEx();
    const auto started = std::chrono::round<std::chrono::seconds>(now - std::chrono::milliseconds(tick));
    const int64_t running = std::chrono::duration_cast<std::chrono::seconds>(now - PbDDateLancement).count();
    const std::array<std::string, 13> lines = {
        "Poste: " + Lib_Systeme::ComputerName(),
        "OS: " + Lib_Systeme::GetOSDisplayString(),
        "Mémoire: " + std::to_string(Lib_Systeme::GetMemoryUsage()) + " Mo",
        "-",
        "Date du poste: " + Lib_Public::Date2StringEx(now, "dd/MM/yyyy hh:mm:ss"),
        "Poste démarré depuis: " + NbSecondes2String(double(tick) / 1000.0) + " (" +
            generalDate(platform::LocalClockTime(started)) + ")",
        "",
        "Application démarrée depuis: " + NbSecondes2String(double(running)) + " (" +
            generalDate(PbDDateLancement) + ")",
        "-",
        "Application: " + applicationPath(),
        "Version: " + Lib_Systeme::VersionApplication(),
        "-",
        "Message: " + message,
    };
    std::string text;
    for (const std::string& line : lines) text += line + kCrLf;
    return text;
}

}  // namespace

bool noticeMailsActive() {
    if (VBA::Trim(PbSDossierConfigSite).empty()) return false;
    return VBA::ValLong(Lib_Systeme::LectureIni(PbSDossierConfigSite, "Site", "Mails_Avis", "0")) != 0;
}

void EnvoiDuMail(int16_t /*ModeTest*/, const std::string& EmailsTo, const std::string& ChaineMessage,
                 int16_t /*Titre*/, bool JoindreLog, bool ExpediteurMaj, bool ExpediteurSociete,
                 bool TracerEnvoi) {
    if (PbBQuitter) return;
    if (VBA::Trim(EmailsTo).empty() || VBA::Trim(ChaineMessage).empty()) return;

    const platform::LocalClockTime now = platform::clock::now();
    std::string to = EmailsTo;
    if (to.back() != ';') to += ';';

    neighbours::MailMessage message;
    message.date = now;
    message.body = report(ChaineMessage, now);
    if (JoindreLog) message.attachment = logCopy(now);
    message.fromName = ExpediteurSociete ? mailconfig::kCompanyName
                       : ExpediteurMaj   ? mailconfig::kUpperName
                                         : mailconfig::kRelaytoneName;
    message.fromAddress = mailconfig::kNoReplyAddress;
    // The element after the final ";" is never a recipient.
    for (size_t start = 0, end; (end = to.find(';', start)) != std::string::npos; start = end + 1) {
        const std::string element = to.substr(start, end - start);
        if (!VBA::Trim(element).empty()) message.recipients.emplace_back(element, element);
    }
    message.subject = subjectFromCaption(neighbours::Frm_Main().Caption());

    ErrorInfo failure;
    if (!neighbours::Frm_MainBis().clSmtpMail_Send(
            {mailconfig::server(), mailconfig::kAccount, mailconfig::password()}, message, failure)) {
        DerniereErreur = failure;
        Lib_Public::TraceLog(-1, -1, -1,
                             "Err: Mail: Not sended: " + std::to_string(failure.number) + ": " +
                                 logtext::visible(failure.description) + " |Sub: " + kCaller);
    }
    if (TracerEnvoi) Lib_Public::TraceLog(-1, -1, -1, "Send Email: " + ChaineMessage);
}

bool EstCeUneRadioDorvane() {
    static constexpr std::array<int16_t, 17> partners = {39,  57,  76,  79,  80,  93,  99,  118, 122,
                                                         139, 158, 168, 171, 174, 184, 192, 195};
    return std::find(partners.begin(), partners.end(), PbIIdRadio) != partners.end();
}

std::string subjectFromCaption(const std::string& caption) {
    const std::string prefix = "Aerolune: ";
    std::string subject;
    int32_t from = 1;
    for (int32_t at; (at = VBA::InStr(from, caption, prefix, true)) > 0; from = at + VBA::Len(prefix))
        subject += VBA::Mid(caption, from, at - from);
    return subject + VBA::Mid(caption, from);
}

std::string applicationPath() { return PbSDossierApplication + executableName() + ".exe"; }

std::string generalDate(platform::LocalClockTime moment) {
    const platform::LocalTimeFields f = platform::fieldsOf(moment);
    const bool midnight = f.hour == 0 && f.minute == 0 && f.second == 0;
    return Lib_Public::Date2StringEx(moment, midnight ? "dd/MM/yyyy" : "dd/MM/yyyy hh:mm:ss");
}

}  // namespace Lib_Email
