// The probe's own loopback socket, read with a short poll so that stop() is heard at once.
#include "tests/e2e/support/TimeProbe.h"

#include <algorithm>
#include <string>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace e2e {

TimeProbe::TimeProbe(uint16_t port, std::chrono::milliseconds spacing)
    : thread_([this, port, spacing] { run(port, spacing); }) {}

TimeProbe::~TimeProbe() { stop(); }

void TimeProbe::stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
}

void TimeProbe::run(uint16_t port, std::chrono::milliseconds spacing) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
    socklen_t length = sizeof local;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
    sockaddr_in program = local;
    program.sin_port = htons(port);
    const std::string query =
        "What time is it ?<Response:127.0.0.1:" + std::to_string(ntohs(local.sin_port)) + ">";

    // Until the program first answers (its receivers are bound during start-up), a query that
    // gets nothing is asked again; from then on each query waits for its reply.
    bool heard = false;
    while (!stopping_) {
        Sample sample{Clock::now()};
        {
            const std::lock_guard lock(mutex_);
            if (heard) inFlight_ = sample.sent;
        }
        ::sendto(fd, query.data(), query.size(), 0, reinterpret_cast<sockaddr*>(&program), sizeof program);
        const auto giveUp = sample.sent + std::chrono::milliseconds{100};
        while (!stopping_ && (heard || Clock::now() < giveUp)) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            char reply[256];
            if (::recv(fd, reply, sizeof reply, 0) > 0) {
                sample.answered = true;
                break;
            }
        }
        if (!heard && !sample.answered) continue;
        heard = true;
        sample.waitedMs = std::chrono::duration<double, std::milli>(Clock::now() - sample.sent).count();
        {
            const std::lock_guard lock(mutex_);
            samples_.push_back(sample);
            inFlight_.reset();
        }
        std::this_thread::sleep_for(spacing);
    }
    ::close(fd);
}

std::vector<TimeProbe::Sample> TimeProbe::samples() const {
    const std::lock_guard lock(mutex_);
    std::vector<Sample> all = samples_;
    if (inFlight_)
        all.push_back(
            {*inFlight_, std::chrono::duration<double, std::milli>(Clock::now() - *inFlight_).count()});
    return all;
}

double TimeProbe::longestWaitMs(Clock::time_point from, Clock::time_point to) const {
    double longest = 0;
    for (const Sample& s : samples()) {
        const auto replied = s.sent + std::chrono::duration_cast<Clock::duration>(
                                          std::chrono::duration<double, std::milli>(s.waitedMs));
        if (s.sent <= to && replied >= from) longest = std::max(longest, s.waitedMs);
    }
    return longest;
}

int TimeProbe::queriesBetween(Clock::time_point from, Clock::time_point to) const {
    int n = 0;
    for (const Sample& s : samples()) n += s.sent >= from && s.sent <= to;
    return n;
}

}  // namespace e2e
