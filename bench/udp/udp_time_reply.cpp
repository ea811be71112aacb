// The real program's time reply against a bare C responder (recvfrom, sendto), one query at a
// time on loopback: one station, then seven stations asking in turn, each from its own port
// and answered at that port. Median and p99 of each, and the program's ratio to the bare one.
// Goal: median within 3x the bare responder, p99 under 200 us.
// Both responders are measured on the asking side's processor, then on another one, as a peer on
// another machine would meet them. Left to the scheduler, the small bare responder shares its
// client's processor while the heavier program is woken across processors, and the ratio would
// measure that placement (2x to 5x on one virtual machine) rather than the reply.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

#include <QCoreApplication>

#include "platform/NumericLocale.h"
#include "tests/e2e/support/E2eProgram.h"

using namespace std::chrono;

namespace {

constexpr int kStations = 7;

int boundSocket(uint16_t port = 0) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    return fd;
}

uint16_t portOf(int fd) {
    sockaddr_in a{};
    socklen_t length = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
    return ntohs(a.sin_port);
}

// The bare responder: one process, one socket per station, each datagram answered at its sender.
pid_t startBareResponder(const std::vector<int>& sockets) {
    const pid_t child = ::fork();
    if (child != 0) return child;
    std::vector<pollfd> polls;
    for (int fd : sockets) polls.push_back({fd, POLLIN, 0});
    for (;;) {
        ::poll(polls.data(), polls.size(), -1);
        for (const pollfd& p : polls) {
            if (!(p.revents & POLLIN)) continue;
            char buffer[2048];
            sockaddr_in from{};
            socklen_t length = sizeof from;
            const ssize_t n =
                ::recvfrom(p.fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
            if (n > 0)
                ::sendto(p.fd, "<Relaytone_Time:01/01/2026 00:00:00>", 36, 0,
                         reinterpret_cast<sockaddr*>(&from), length);
        }
    }
}

// Two processors this process may run on, or none on a machine with only one.
std::optional<std::pair<int, int>> twoProcessors() {
    cpu_set_t allowed;
    if (::sched_getaffinity(0, sizeof allowed, &allowed) != 0) return std::nullopt;
    std::vector<int> cpus;
    for (int cpu = 0; cpu < CPU_SETSIZE && cpus.size() < 2; ++cpu)
        if (CPU_ISSET(cpu, &allowed)) cpus.push_back(cpu);
    if (cpus.size() < 2) return std::nullopt;
    return std::pair{cpus[0], cpus[1]};
}

// The process's main thread (0: this one) on the one processor.
void place(pid_t pid, int cpu) {
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(cpu, &one);
    ::sched_setaffinity(pid, sizeof one, &one);
}

struct Figures {
    double p50 = 0, p99 = 0, max = 0;
    int lost = 0;
};

// `count` queries, station after station, each from its client's own socket.
Figures ask(const std::vector<uint16_t>& targets, int count) {
    std::vector<int> clients;
    std::vector<std::string> queries;
    for (size_t k = 0; k < targets.size(); ++k) {
        clients.push_back(boundSocket());
        queries.push_back("What time is it ?<Response:127.0.0.1:" + std::to_string(portOf(clients.back())) +
                          ">");
    }
    std::vector<double> us;
    Figures f;
    for (int k = 0; k < count + 200; ++k) {  // the first 200 warm up
        const size_t s = size_t(k) % targets.size();
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(targets[s]);
        const auto start = steady_clock::now();
        ::sendto(clients[s], queries[s].data(), queries[s].size(), 0, reinterpret_cast<sockaddr*>(&to),
                 sizeof to);
        pollfd p{clients[s], POLLIN, 0};
        char reply[256];
        if (::poll(&p, 1, 1000) <= 0 || ::recv(clients[s], reply, sizeof reply, 0) <= 0) {
            ++f.lost;
            continue;
        }
        if (k >= 200) us.push_back(duration<double, std::micro>(steady_clock::now() - start).count());
    }
    for (int fd : clients) ::close(fd);
    std::sort(us.begin(), us.end());
    if (!us.empty()) {
        f.p50 = us[us.size() / 2];
        f.p99 = us[size_t(0.99 * double(us.size() - 1))];
        f.max = us.back();
    }
    return f;
}

void print(const char* what, const Figures& f) {
    std::printf("  %-28s p50 %7.1f us  p99 %7.1f us  max %8.1f us%s\n", what, f.p50, f.p99, f.max,
                f.lost ? (" (" + std::to_string(f.lost) + " lost)").c_str() : "");
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("AL3_BIN_DIR", AL3_BENCH_BIN_DIR, 0);
    const int count = argc > 1 ? std::atoi(argv[1]) : 5000;
    std::vector<int> bareSockets;
    std::vector<uint16_t> barePorts;
    for (int s = 0; s < kStations; ++s) {
        bareSockets.push_back(boundSocket());
        barePorts.push_back(portOf(bareSockets.back()));
    }
    const pid_t bare = startBareResponder(bareSockets);
    for (int fd : bareSockets) ::close(fd);

    QCoreApplication application(argc, argv);
    platform::keepNumbersInC();
    e2e::E2eSite site(kStations);
    e2e::ProgramOptions options;
    options.clock = "2026-12-10 09:00:00";
    e2e::E2eProgram program(site, options);
    if (!program.waitForLog("Traitement des données non encore traitées: End")) {
        std::fprintf(stderr, "start-up did not finish\n%s\n", program.log().c_str());
        ::kill(bare, SIGKILL);
        return 1;
    }
    std::vector<uint16_t> stations;
    for (int s = 1; s <= kStations; ++s) stations.push_back(site.port(s));

    struct Placement {
        const char* name;
        int asking, answering;
    };
    std::vector<Placement> placements = {{"as the scheduler places them", -1, -1}};
    if (const auto cpus = twoProcessors()) {
        placements.push_back({"on the asking side's processor", cpus->first, cpus->first});
        placements.push_back({"on another processor", cpus->first, cpus->second});
    }
    bool met = true;
    std::printf("time reply, one query at a time (%d queries each)\n", count);
    for (const Placement& p : placements) {
        if (p.asking >= 0) {
            place(0, p.asking);
            place(bare, p.answering);
            place(pid_t(program.pid()), p.answering);
        }
        const Figures bareOne = ask({barePorts[0]}, count);
        const Figures one = ask({stations[0]}, count);
        const Figures bareSeven = ask(barePorts, count);
        const Figures seven = ask(stations, count);
        std::printf("responders %s:\n", p.name);
        print("bare C, one station", bareOne);
        print("program, one station", one);
        print("bare C, seven stations", bareSeven);
        print("program, seven stations", seven);
        const double ratioOne = bareOne.p50 > 0 ? one.p50 / bareOne.p50 : 0;
        const double ratioSeven = bareSeven.p50 > 0 ? seven.p50 / bareSeven.p50 : 0;
        std::printf("  median ratio program / bare C: one station %.2f, seven stations %.2f\n", ratioOne,
                    ratioSeven);
        // The scheduler's own placement is shown, not judged: it favours the bare responder.
        if (p.asking >= 0)
            met = met && ratioOne <= 3.0 && ratioSeven <= 3.0 && one.p99 < 200.0 && seven.p99 < 200.0 &&
                  one.lost == 0 && seven.lost == 0;
    }
    program.terminate();
    ::kill(bare, SIGKILL);
    ::waitpid(bare, nullptr, 0);
    std::printf("goal (placed alike: median within 3x bare C, p99 under 200 us, nothing lost): %s\n",
                met ? "met" : "NOT met");
    return met ? 0 : 1;
}
