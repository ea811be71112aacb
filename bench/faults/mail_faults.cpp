// The real program's start mail meets a faulty SMTP server (slow, silent or dropping at the
// greeting, MAIL, the end of data or QUIT) while a client asks the time every 10 ms: the
// longest wait for a reply during the fault, and how long a stop signal then takes. Goal:
// every reply within 100 ms, every stop within the launcher's 10 s grace. Arguments: the
// faults to run (all when none is named).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <QCoreApplication>

#include "foundation/StatusMails.h"
#include "platform/NumericLocale.h"
#include "tests/e2e/support/E2eProgram.h"
#include "tests/e2e/support/TimeProbe.h"
#include "tests/platform/mail/SmtpPeer.h"

using namespace std::chrono;

namespace {

struct Fault {
    const char* spec;     // the SMTP server's fault
    milliseconds window;  // how long the fault is watched once the exchange reaches it
};

struct Outcome {
    bool reached = false;
    double longestMs = 0;
    int queries = 0;
    double stopMs = 0;
    bool stopped = false;
};

Outcome run(const Fault& fault) {
    Outcome outcome;
    e2e::E2eSite site(1);
    site.enableNoticeMails();
    mailtest::SmtpPeer peer(site.root() / "smtp", mailconfig::kAccount, mailconfig::password(), fault.spec);
    ::setenv("AL3_SMTP_SERVER", peer.server().c_str(), 1);
    e2e::E2eProgram program(site);
    e2e::TimeProbe probe(site.port(1));
    outcome.reached = peer.waitForStep(seconds{30});
    const auto from = e2e::TimeProbe::Clock::now();
    std::this_thread::sleep_for(fault.window);
    const auto to = e2e::TimeProbe::Clock::now();
    outcome.longestMs = probe.longestWaitMs(from, to);
    outcome.queries = probe.queriesBetween(from, to);
    probe.stop();
    const auto asked = steady_clock::now();
    outcome.stopped = program.terminate(seconds{30}).has_value();
    outcome.stopMs = duration<double, std::milli>(steady_clock::now() - asked).count();
    return outcome;
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("AL3_BIN_DIR", AL3_BENCH_BIN_DIR, 0);
    ::setenv("AL3_SOURCE_DIR", AL3_BENCH_SOURCE_DIR, 0);
    QCoreApplication application(argc, argv);
    platform::keepNumbersInC();
    const std::vector<Fault> faults = {
        {"greeting:3", milliseconds{3500}}, {"MAIL:3", milliseconds{3500}},  {"DATA:3", milliseconds{3500}},
        {"QUIT:3", milliseconds{3500}},     {"greeting:silent", seconds{5}}, {"MAIL:silent", seconds{5}},
        {"DATA:silent", seconds{5}},        {"QUIT:silent", seconds{5}},     {"greeting:drop", seconds{2}},
        {"MAIL:drop", seconds{2}},          {"DATA:drop", seconds{2}},
    };
    bool met = true;
    std::printf("%-16s %8s %14s %12s\n", "mail fault", "queries", "longest wait", "stop signal");
    for (const Fault& fault : faults) {
        if (argc > 1 && std::find(argv + 1, argv + argc, std::string(fault.spec)) == argv + argc) continue;
        const Outcome o = run(fault);
        if (!o.reached) {
            std::printf("%-16s the start mail never reached the fault\n", fault.spec);
            met = false;
            continue;
        }
        std::printf("%-16s %8d %11.1f ms %9.0f ms%s\n", fault.spec, o.queries, o.longestMs, o.stopMs,
                    o.stopped ? "" : " (did not end)");
        met = met && o.longestMs < 100.0 && o.stopped && o.stopMs < 10000.0;
    }
    std::printf("goal (every reply within 100 ms, every stop within 10 s): %s\n", met ? "met" : "NOT met");
    return met ? 0 : 1;
}
