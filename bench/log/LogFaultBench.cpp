// The real program while its log folder cannot take lines: a full disk (a small tmpfs, as root),
// the day's file replaced by a folder, then room again for less than what waited; a station
// sends messages and asks the time throughout. Reports each phase's longest time reply (the
// longest the program kept a station waiting) beside its median. Goal: under 100 ms in each.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <QCoreApplication>

#include "platform/NumericLocale.h"
#include "tests/e2e/support/E2eProgram.h"
#include "tests/e2e/support/LogFaults.h"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    platform::keepNumbersInC();
    e2e::LogFaultOptions run;
    if (argc > 1) run.faultLength = std::chrono::milliseconds(std::atoi(argv[1]));

    e2e::E2eSite site;
    e2e::SmallDisk disk(site.logFolder(), 8u << 20);
    if (!disk.mounted()) std::printf("full disk skipped: %s\n", disk.refusal().c_str());
    e2e::ProgramOptions options;
    options.clock = "2026-12-10 09:00:00";
    e2e::E2eProgram program(site, options);
    if (!program.waitForLog("Traitement des données non encore traitées: End")) {
        std::fprintf(stderr, "start-up did not finish\n");
        return 1;
    }
    const auto phases = e2e::runLogFaults(site, "20261210", disk.mounted() ? &disk : nullptr, run);
    const bool alive = program.running();
    const bool tookLinesAgain = program.waitForLog(e2e::heardLine(phases.back().traffic.messages.back()));
    program.terminate();

    bool met = alive && tookLinesAgain;
    for (const e2e::LogFaultPhase& phase : phases) {
        std::vector<double> ms = phase.traffic.latencyMs;
        std::sort(ms.begin(), ms.end());
        const double median = ms.empty() ? 0.0 : ms[ms.size() / 2];
        std::printf("%-20s time replies %4d of %4d  median %6.2f ms  longest %7.2f ms (%.1f s in)\n",
                    phase.name.c_str(), phase.traffic.answered, phase.traffic.queries, median,
                    phase.traffic.longestMs(), phase.traffic.longestAskedAtMs() / 1000.0);
        met = met && phase.traffic.answered == phase.traffic.queries && phase.traffic.longestMs() < 100.0;
    }
    std::printf("the log took new lines again: %s\n", tookLinesAgain ? "yes" : "NO");
    std::printf("goal (every reply, each under 100 ms, new lines once room is back): %s\n",
                met ? "met" : "NOT met");
    return met ? 0 : 1;
}
