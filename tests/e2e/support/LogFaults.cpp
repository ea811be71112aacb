// The small disk under the log folder, and the paced traffic of messages and time queries.
#include "tests/e2e/support/LogFaults.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QUdpSocket>

namespace e2e {
namespace fs = std::filesystem;

SmallDisk::SmallDisk(fs::path folder, size_t bytes) : folder_(std::move(folder)) {
    fs::create_directories(folder_);
    const std::string options = "size=" + std::to_string(bytes);
    if (::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0)
        mounted_ = true;
    else
        refusal_ = std::string("cannot mount a tmpfs on the log folder: ") + std::strerror(errno) +
                   " (the full-disk case needs root)";
}

SmallDisk::~SmallDisk() {
    // Lazily: the program may still hold its file open.
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

void SmallDisk::fill() {
    const int fd = ::open((folder_ / "filler").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    const std::string block(4096, 'f');
    while (::write(fd, block.data(), block.size()) > 0) {}
    ::close(fd);
}

void SmallDisk::leaveRoom(size_t bytes) {
    std::error_code ec;
    const fs::path filler = folder_ / "filler";
    const uintmax_t size = fs::file_size(filler, ec);
    if (!ec) fs::resize_file(filler, size > bytes ? size - bytes : 0, ec);
}

void SmallDisk::empty() {
    std::error_code ec;
    fs::remove(folder_ / "filler", ec);
}

double StationTraffic::longestMs() const {
    return latencyMs.empty() ? 0.0 : *std::max_element(latencyMs.begin(), latencyMs.end());
}

double StationTraffic::longestAskedAtMs() const {
    if (latencyMs.empty()) return 0.0;
    return askedAtMs[size_t(std::max_element(latencyMs.begin(), latencyMs.end()) - latencyMs.begin())];
}

StationTraffic runStationTraffic(uint16_t port, const std::string& label, std::chrono::milliseconds duration,
                                 std::chrono::milliseconds replyLimit) {
    QUdpSocket sender, requester;
    requester.bind(QHostAddress::LocalHost, 0);
    const std::string query =
        "What time is it ?<Response:127.0.0.1:" + std::to_string(requester.localPort()) + ">";
    const auto send = [&](const std::string& bytes) {
        sender.writeDatagram(bytes.data(), qint64(bytes.size()), QHostAddress::LocalHost, port);
    };
    StationTraffic traffic;
    QElapsedTimer phase;
    phase.start();
    for (int round = 0; phase.elapsed() < duration.count(); ++round) {
        const std::string message =
            "<NoStation:1><CurrNature:Mus><CurrLib:" + label + " " + std::to_string(round) + ">";
        send(message);
        traffic.messages.push_back(message);

        while (requester.hasPendingDatagrams()) requester.receiveDatagram();
        const double askedAt = double(phase.nsecsElapsed()) / 1e6;
        QElapsedTimer clock;
        clock.start();
        send(query);
        ++traffic.queries;
        if (requester.waitForReadyRead(int(replyLimit.count())) &&
            requester.receiveDatagram().data().startsWith("<Relaytone_Time:")) {
            ++traffic.answered;
            traffic.latencyMs.push_back(double(clock.nsecsElapsed()) / 1e6);
            traffic.askedAtMs.push_back(askedAt);
        }
        // A station's pace, not a flood: the program's own handling stays what is measured.
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return traffic;
}

std::vector<LogFaultPhase> runLogFaults(const E2eSite& site, const std::string& day, SmallDisk* disk,
                                        const LogFaultOptions& options) {
    const fs::path file = site.logFolder() / (day + ".Log");
    std::error_code ec;
    const auto sizeOf = [&] { return fs::file_size(file, ec); };
    std::vector<LogFaultPhase> phases;
    const auto phase = [&](const std::string& name, std::chrono::milliseconds length) {
        phases.push_back({name, runStationTraffic(site.port(1), name, length)});
    };

    const uintmax_t start = sizeOf();
    phase("normal", std::chrono::milliseconds(1000));
    const uintmax_t perSecond = sizeOf() - start;

    const bool full = disk && disk->mounted();
    if (full) {
        disk->fill();
        phase("disk full", options.faultLength);
    }
    // The day's file moved away and a folder in its place: the open file is let go within a second.
    fs::rename(file, site.logFolder() / (day + "-before the folder.Log"), ec);
    fs::create_directory(file, ec);
    if (full) disk->empty();
    phase("day's file a folder", options.faultLength);

    fs::remove(file, ec);
    if (full) {
        disk->fill();
        disk->leaveRoom(size_t(double(perSecond) * 2.5 * double(options.roomLength.count()) / 1000.0));
    }
    phase("room again", options.roomLength);
    return phases;
}

std::string heardLine(const std::string& message) {
    return "UDP: Data arrival Bis: " + message + " |NoStation: 1";
}

}  // namespace e2e
