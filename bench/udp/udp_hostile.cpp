// The real program on a two-station site under a stream of hostile datagrams (random bytes,
// NUL, CR/LF, huge station numbers, <Response: names, malformed addresses, closed ports),
// interleaved with station messages and good time queries: the replies' latency during the
// attack. Goal: p99 under 100 ms and no reply missing.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>

#include "platform/NumericLocale.h"
#include "tests/e2e/support/E2eProgram.h"
#include "tests/e2e/support/HostileTraffic.h"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    platform::keepNumbersInC();
    e2e::HostileRunOptions run;
    run.hostile = argc > 1 ? std::atoi(argv[1]) : 5000;
    run.replyLimit = std::chrono::milliseconds{5000};

    e2e::E2eSite site;
    e2e::ProgramOptions options;
    options.clock = "2026-12-10 09:00:00";
    e2e::E2eProgram program(site, options);
    if (!program.waitForLog("Traitement des données non encore traitées: End")) {
        std::fprintf(stderr, "start-up did not finish\n%s\n", program.log().c_str());
        return 1;
    }
    const e2e::HostileRunResult result = e2e::runHostileTraffic({site.port(1), site.port(2)}, run);
    const bool alive = program.running();
    program.terminate();

    std::vector<double> ms = result.latencyMs;
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms.empty() ? 0.0 : ms[size_t(q * double(ms.size() - 1))]; };
    const std::string log = program.log();
    int heard = 0;
    for (size_t k = 0; k < result.messages.size(); ++k)
        heard += e2e::countLines(log, "UDP: Data arrival Bis: " + result.messages[k] +
                                          " |NoStation: " + std::to_string(result.stations[k])) == 1;
    const size_t foreign = e2e::foreignLogLines(log).size();

    std::printf("hostile datagrams: %d, station messages: %zu, time queries: %d\n", result.hostileSent,
                result.messages.size(), result.queries);
    std::printf("time replies during the attack: %d of %d; p50 %.2f ms  p99 %.2f ms  max %.2f ms\n",
                result.answered, result.queries, at(0.50), at(0.99), ms.empty() ? 0.0 : ms.back());
    std::printf("station messages logged once: %d of %zu; log lines not the program's: %zu\n", heard,
                result.messages.size(), foreign);
    const bool met = alive && result.answered == result.queries && at(0.99) < 100.0 &&
                     heard == int(result.messages.size()) && foreign == 0;
    std::printf("goal (p99 under 100 ms, no reply missing, every message, only our lines): %s\n",
                met ? "met" : "NOT met");
    return met ? 0 : 1;
}
