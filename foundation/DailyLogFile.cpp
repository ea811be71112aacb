// Writing the file buffer to the day's file: day header, reboot advice, a disk that was full, purge.
#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
#include "foundation/DailyLogSink.h"
#include "foundation/DailyLogState.h"
#include "foundation/ErrorReporter.h"
#include "foundation/FilesAndFolders.h"
#include "foundation/LogBuffers.h"
#include "foundation/NeighbourServices.h"
#include "foundation/RunState.h"
#include "foundation/Timing.h"
#include "platform/Clock.h"
#include "platform/Cp1252.h"
#include "platform/ScopedFlag.h"
#include "platform/VbErrors.h"
#include "platform/WinPath.h"

namespace dailylog {

State& state() {
    static State s;
    return s;
}

void resetDailyLog() {
    state() = {};
    logbuffers::earlyBuffer().clear();
    logbuffers::fileBuffer().clear();
    sink::closeFile();
}

}  // namespace dailylog

namespace Lib_Public {
namespace {
namespace fs = std::filesystem;

const std::string kCaller = "Lib_Public:TraceLogForce";
// A file that refused a write is tried again after this long, not for every new line.
constexpr uint64_t kRetryMs = 1000;
// Room that came back on a full disk: less than this is a disk still full, where the lines wait.
constexpr size_t kLeastRoom = 16 * 1024;

struct WriteFailure {
    int32_t number;
    std::string description;
};

// The run-time error numbers a file write raises.
WriteFailure failureOfErrno(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return {platform::vb::kDiskFull, "Disk full"};
        case EACCES:
        case EPERM:
        case EROFS:
            return {platform::vb::kPermissionDenied, "Permission denied"};
        case ENOENT:
        case ENOTDIR:
            return {platform::vb::kPathNotFound, "Path not found"};
        default:
            return {platform::vb::kPathFileAccessError, "Path/File access error"};
    }
}

bool blank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

// The texts of one day, made again only when the day or the date format changes.
struct DayTexts {
    int64_t day = -1;
    std::string format;
    std::string shown;  // in PbSFormatDate
    std::string name;   // "YYYYMMDD"
};

const DayTexts& textsOf(platform::LocalClockTime date) {
    // Today's and, for a flush dated a day back, yesterday's: two days in a row never share a slot.
    static std::array<DayTexts, 2> kept;
    const int64_t day = std::chrono::floor<std::chrono::days>(date).time_since_epoch().count();
    DayTexts& slot = kept[size_t(day & 1)];
    if (slot.day != day || slot.format != PbSFormatDate)
        slot = {day, PbSFormatDate, Date2StringEx(date, PbSFormatDate), D2S(date)};
    return slot;
}

const std::string& fileNameOf(const std::string& name) {
    static std::string folder, base, full;
    if (folder != PbSDossierLog || base != name) {
        folder = PbSDossierLog;
        base = name;
        full = folder + name + ".Log";
    }
    return full;
}

void adviseReboot() {
    neighbours::FrmSetupServices& settings = neighbours::FrmSetup();
    const int16_t index = settings.ComboNbJourPoste_ListIndex();
    if (index <= 0) return;
    const int64_t limit = (int64_t(index) + 1) * 7;
    const int64_t days = dailylog::UptimeDays(Lib_Systeme::GetTickCountEx());
    dailylog::State& state = dailylog::state();
    const std::string mail =
        "Reboot nécessaire du poste. Poste démarré depuis " + std::to_string(days) + " jours";
    auto advise = [&](bool& given, const std::string& line, int16_t category) {
        if (given) return;
        TraceLog(-1, -1, -1, line, true, -1, nullptr, false);
        if (settings.CheckEmail(category) == 1)
            neighbours::Frm_MainBis().EnvoiMail(false, settings.TexteEmailsAdresses(), mail, "", false);
        given = true;
    };
    if (days == limit || days == limit + 1)
        advise(state.rebootAdvised,
               "Reboot needed because computer started for more than " + std::to_string(limit) + " days", 4);
    else if (days > limit + 1)
        advise(state.rebootOverdue,
               "Reboot needed because computer started since " + std::to_string(days) + " days", 5);
}

// The stamp a line of the log begins with, or empty.
std::string stampOf(const std::string& line) {
    static constexpr char kShape[] = "00:00:00:000";
    if (line.size() < 12) return {};
    for (size_t i = 0; i < 12; ++i) {
        const bool digit = line[i] >= '0' && line[i] <= '9';
        if (kShape[i] == ':' ? line[i] != ':' : !digit) return {};
    }
    return line.substr(0, 12);
}

// The one line that stands for the oldest lines dropped to make the rest fit.
std::string lossLine(const logbuffers::LogList& list, size_t lost, int error) {
    std::string first, last;
    for (size_t i = 0; i < lost && first.empty(); ++i) first = stampOf(list[i]);
    for (size_t i = lost; i > 0 && last.empty(); --i) last = stampOf(list[i - 1]);
    std::string text =
        "Warning: Log: " + failureOfErrno(error).description + ": " + std::to_string(lost) + " lines lost";
    if (!first.empty()) text += ", from " + first + " to " + last;
    return dailylog::stampedLine(text);
}

// The header (empty when not due), the loss line when there is one, and the list's lines from
// `from` on.
dailylog::sink::Outcome writeBatch(const std::string& fileName, bool resolveAgain, const std::string& header,
                                   const logbuffers::LogList& list, size_t from = 0,
                                   const std::string& lossText = {}) {
    dailylog::sink::Batch batch(fileName, resolveAgain);
    batch.addBytes(header);
    if (!lossText.empty()) batch.addLine(lossText);
    for (size_t i = from; i < list.size() && !batch.failed(); ++i) batch.addLine(list[i]);
    return batch.finish();
}

// When room came back on a full disk but not for the whole batch, the newest lines that fit in
// half of that room go in after the header (when still due) and one line telling what was lost;
// the other half stays for the lines to come.
dailylog::sink::Outcome writeWhatFits(const std::string& fileName, const std::string& header,
                                      const logbuffers::LogList& list, size_t room, int error) {
    constexpr size_t kLossLineRoom = 160;
    const size_t budget = room / 2;
    if (header.size() + kLossLineRoom > budget) return {error, 0};
    size_t kept = 0;
    for (size_t used = header.size() + kLossLineRoom; kept < list.size(); ++kept) {
        used += dailylog::sink::bytesOf(list[list.size() - 1 - kept]);
        if (used > budget) break;
    }
    const size_t lost = list.size() - kept;
    return writeBatch(fileName, false, header, list, lost, lossLine(list, lost, error));
}

// Log files whose name begins with a date (eight digits) older than 45 days; other names stay.
void purgeOldFiles() {
    const std::string cutOff = D2S(platform::clock::now() - std::chrono::days(45));
    const fs::path folder = platform::winpath::toHost(PbSDossierLog);
    std::error_code ec;
    if (folder.empty()) return;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string fileName = it->path().filename().string();
        if (fileName.size() < 4 || VBA::LCase(fileName.substr(fileName.size() - 4)) != ".log") continue;
        const std::string name = fileName.substr(0, fileName.size() - 4);
        if (name.size() < 8 ||
            !std::all_of(name.begin(), name.begin() + 8, [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        if (!(name.substr(0, 8) < cutOff)) continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        Lib_Systeme::File_Delete(PbSDossierLog + fileName, kCaller);
    }
}

void purgeOnceADay(platform::LocalClockTime now) {
    dailylog::State& state = dailylog::state();
    const std::string& today = textsOf(now).shown;
    if (today == state.purgeDay) return;
    purgeOldFiles();
    state.purgeDay = today;
}

}  // namespace

void TraceLogForce(const std::string& caller) {
    std::string name;
    TraceLogForce(logbuffers::fileBuffer(), name, false, caller);
}

void TraceLogForce(logbuffers::LogList& list, std::string& name, bool yesterday, const std::string& caller) {
    dailylog::State& state = dailylog::state();
    if (state.flushGuard) return;
    const platform::ScopedFlag flushing(state.flushGuard);

    const platform::LocalClockTime now = platform::clock::now();
    const DayTexts& logDay = textsOf(now - std::chrono::days(yesterday ? 1 : 0));
    // Nothing goes to a file, least of all one in the working folder, before the folder is known.
    if ((list.empty() && logDay.shown == state.headerDay) || blank(PbSDossierLog)) return;

    if (blank(name)) name = logDay.name;
    const std::string& fileName = fileNameOf(name);
    const bool retrying = fileName == state.failedFile;
    if (retrying && platform::clock::tick64() < state.retryAt) {
        purgeOnceADay(now);
        return;
    }
    const std::string day = logDay.shown;
    const bool headerDue = day != state.headerDay;
    std::string header;
    if (headerDue) {
        for (const std::string& line : dailylog::DayHeader(caller))
            header += platform::cp1252::fromUtf8(line) + "\r\n";
        adviseReboot();
    }

    dailylog::sink::Outcome outcome = writeBatch(fileName, false, header, list);
    if (outcome.error == ENOENT) {
        // The folder may have been deleted while the program runs: make it again, write again.
        Lib_Systeme::VerificationEtCreationRepertoire(PbSDossierLog, false);
        outcome = writeBatch(fileName, true, header, list);
    }
    const bool full = outcome.error == ENOSPC || outcome.error == EDQUOT;
    if (retrying && full && outcome.written >= kLeastRoom)
        outcome = writeWhatFits(fileName, header, list, outcome.written, outcome.error);
    if (outcome.error == 0) {
        if (headerDue) state.headerDay = day;
        list.clear();
        state.writeFailureReported = false;
        state.overflowWarned = false;
        state.failedFile.clear();
    } else {
        state.failedFile = fileName;
        state.retryAt = platform::clock::tick64() + kRetryMs;
        if (!state.writeFailureReported) {
            state.writeFailureReported = true;
            const WriteFailure failure = failureOfErrno(outcome.error);
            DerniereErreur = {failure.number, 0, failure.description + " (" + fileName + ")",
                              "AL3_Relaytone"};
            GestionDesErreurs(caller.empty() ? kCaller : caller + ">" + kCaller);
        }
    }
    purgeOnceADay(now);
}

}  // namespace Lib_Public
