// The idle program after start-up on a 7-station site: CPU time a minute, wake-ups a second
// (voluntary context switches: each is a sleep the program was woken from) and resident
// memory. Argument: the seconds to watch (60 when none).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include <QCoreApplication>

#include "platform/NumericLocale.h"
#include "tests/e2e/support/E2eProgram.h"

namespace {

struct Reading {
    double cpuMs = 0;
    long wakeUps = 0;
    long residentKb = 0;
};

Reading read(qint64 pid) {
    Reading r;
    // Nanoseconds on the CPU, first field of schedstat (stat's clock ticks are 10 ms coarse).
    std::ifstream schedstat("/proc/" + std::to_string(pid) + "/schedstat");
    long long onCpuNs = 0;
    schedstat >> onCpuNs;
    r.cpuMs = double(onCpuNs) / 1e6;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) r.residentKb = std::stol(line.substr(6));
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0) r.wakeUps = std::stol(line.substr(24));
    }
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("AL3_BIN_DIR", AL3_BENCH_BIN_DIR, 0);
    QCoreApplication application(argc, argv);
    platform::keepNumbersInC();
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    e2e::E2eSite site(7);
    e2e::E2eProgram program(site);
    if (!program.waitForLog("Traitement des données non encore traitées: End")) {
        std::fprintf(stderr, "start-up did not finish\n%s\n", program.log().c_str());
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::seconds{5});  // the main window is shown, timers settle
    const Reading from = read(program.pid());
    std::this_thread::sleep_for(std::chrono::seconds{seconds});
    const Reading to = read(program.pid());
    program.terminate();
    std::printf("idle for %d s: CPU %.1f ms a minute, %.1f wake-ups a second, resident memory %.1f MB\n",
                seconds, (to.cpuMs - from.cpuMs) * 60.0 / seconds,
                double(to.wakeUps - from.wakeUps) / seconds, double(to.residentKb) / 1024.0);
    return 0;
}
