// Writing the file buffer to the day's file: day header, reboot advice, purge of old files.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "foundation/Conversions.h"
#include "foundation/ConversionsVba.h"
#include "foundation/DailyLog.h"
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
#include "platform/WinPath.h"

namespace dailylog {

State& state() {
    static State s;
    return s;
}

}  // namespace dailylog

namespace Lib_Public {
namespace {
namespace fs = std::filesystem;

const std::string kCaller = "Lib_Public:TraceLogForce";

struct WriteFailure {
    int32_t number;
    std::string description;
};

// The run-time error numbers a file write raises.
WriteFailure failureOfErrno(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT: return {61, "Disk full"};
        case EACCES:
        case EPERM:
        case EROFS: return {70, "Permission denied"};
        case ENOENT:
        case ENOTDIR: return {76, "Path not found"};
        default: return {75, "Path/File access error"};
    }
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
            neighbours::Frm_MainBis().EnvoiMail(false, settings.TexteEmailsAdresses(), mail, "",
                                                false);
        given = true;
    };
    if (days == limit || days == limit + 1)
        advise(state.rebootAdvised,
               "Reboot needed because computer started for more than " + std::to_string(limit) +
                   " days",
               4);
    else if (days > limit + 1)
        advise(state.rebootOverdue,
               "Reboot needed because computer started since " + std::to_string(days) + " days",
               5);
}

// The day's file stays open between lines, since every line is written at once. A file that
// was deleted, replaced or moved away meanwhile is opened again by its name.
class LogFileHandle {
public:
    // The open descriptor of the file, or -errno.
    int descriptorFor(const fs::path& file) {
        if (fd_ >= 0) {
            if (path_ == file && stillNamed(file)) return fd_;
            close();
        }
        // A pipe or device in the file's place would hold the open, or take the lines away.
        fd_ = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
        if (fd_ < 0) return -errno;
        struct stat opened {};
        if (::fstat(fd_, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            close();
            return -ENXIO;
        }
        path_ = file;
        return fd_;
    }

    void close() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    // Whether the name still leads to the open file.
    bool stillNamed(const fs::path& file) const {
        struct stat open {}, named {};
        return ::fstat(fd_, &open) == 0 && ::stat(file.c_str(), &named) == 0 &&
               open.st_dev == named.st_dev && open.st_ino == named.st_ino;
    }

    fs::path path_;
    int fd_ = -1;
};

LogFileHandle& logFile() {
    static LogFileHandle handle;
    return handle;
}

// Appends the bytes in one write; a write that fails part-way is taken back, so that the
// whole batch can be written again later.
int appendToFile(const fs::path& file, const std::string& bytes) {
    const int fd = logFile().descriptorFor(file);
    if (fd < 0) return -fd;
    const off_t before = ::lseek(fd, 0, SEEK_END);
    int error = 0;
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            error = written < 0 ? errno : EIO;
            break;
        }
        done += size_t(written);
    }
    if (error) {
        if (before >= 0 && ::ftruncate(fd, before) != 0) error = errno ? errno : error;
        logFile().close();
    }
    return error;
}

// Every line reaches the day's file at once, so its host path is resolved once per name and
// drive mapping, and again whenever a write finds the path gone.
fs::path hostOfLogFile(const std::string& fileName, bool resolveAgain) {
    static std::string cachedKey;
    static fs::path cachedHost;
    const char* drives = std::getenv("AL3_DRIVES");
    const std::string key = fileName + '\n' + platform::winpath::driveCRoot().string() + '\n' +
                            (drives ? drives : "");
    if (resolveAgain || key != cachedKey) {
        cachedHost = platform::winpath::toHost(fileName);
        cachedKey = cachedHost.empty() ? std::string() : key;
    }
    return cachedHost;
}

void addLine(std::string& bytes, const std::string& line) {
    bytes += platform::cp1252::fromUtf8(line);
    bytes += "\r\n";
}

// Log files whose name begins with a date (eight digits) older than 45 days; other names stay.
void purgeOldFiles() {
    const std::string cutOff = D2S(platform::clock::now() - std::chrono::days(45));
    const fs::path folder = platform::winpath::toHost(PbSDossierLog);
    std::error_code ec;
    if (folder.empty()) return;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string fileName = it->path().filename().string();
        if (fileName.size() < 4 || VBA::LCase(fileName.substr(fileName.size() - 4)) != ".log")
            continue;
        const std::string name = fileName.substr(0, fileName.size() - 4);
        if (name.size() < 8 || !std::all_of(name.begin(), name.begin() + 8,
                                            [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        if (!(name.substr(0, 8) < cutOff)) continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        Lib_Systeme::File_Delete(PbSDossierLog + fileName, kCaller);
    }
}

}  // namespace

void TraceLogForce(const std::string& caller) {
    std::string name;
    TraceLogForce(logbuffers::fileBuffer(), name, false, caller);
}

void TraceLogForce(logbuffers::LogList& list, std::string& name, bool yesterday,
                   const std::string& caller) {
    dailylog::State& state = dailylog::state();
    if (state.flushGuard) return;
    const platform::ScopedFlag flushing(state.flushGuard);

    const platform::LocalClockTime logDate =
        platform::clock::now() - std::chrono::days(yesterday ? 1 : 0);
    const std::string day = Date2StringEx(logDate, PbSFormatDate);
    // Nothing goes to a file, least of all one in the working folder, before the folder is known.
    if ((list.empty() && day == state.headerDay) || VBA::Trim(PbSDossierLog).empty()) return;

    if (VBA::Trim(name).empty()) name = D2S(logDate);
    const std::string fileName = PbSDossierLog + name + ".Log";
    std::string bytes;
    const bool headerDue = day != state.headerDay;
    if (headerDue) {
        for (const std::string& line : dailylog::DayHeader(caller)) addLine(bytes, line);
        adviseReboot();
    }
    for (const std::string& line : list) addLine(bytes, line);

    fs::path host = hostOfLogFile(fileName, false);
    int error = host.empty() ? ENOENT : appendToFile(host, bytes);
    if (error == ENOENT) {
        // The folder may have been deleted while the program runs: make it again, write again.
        Lib_Systeme::VerificationEtCreationRepertoire(PbSDossierLog, false);
        host = hostOfLogFile(fileName, true);
        error = host.empty() ? ENOENT : appendToFile(host, bytes);
    }
    if (error == 0) {
        if (headerDue) state.headerDay = day;
        list.clear();
        state.writeFailureReported = false;
        state.overflowWarned = false;
    } else if (!state.writeFailureReported) {
        state.writeFailureReported = true;
        const WriteFailure failure = failureOfErrno(error);
        DerniereErreur = {failure.number, 0, failure.description + " (" + fileName + ")",
                          "AL3_Relaytone"};
        GestionDesErreurs(caller.empty() ? kCaller : caller + ">" + kCaller);
    }

    const std::string today = Date2StringEx(platform::clock::now(), PbSFormatDate);
    if (today != state.purgeDay) {
        purgeOldFiles();
        state.purgeDay = today;
    }
}

}  // namespace Lib_Public
