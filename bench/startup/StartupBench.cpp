// Start-up of the real program on a 7-station site: time to the first answered time query, and
// the idle program's resident memory once start-up has finished. Goals: 1 s and 60 MB.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "platform/NumericLocale.h"
#include "tests/e2e/support/E2eProgram.h"

namespace {

using namespace std::chrono_literals;

long residentKb(qint64 pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    platform::keepNumbersInC();
    const int runs = 5;
    std::vector<double> firstAnswerMs;
    std::vector<double> residentMb;
    for (int run = 0; run < runs; ++run) {
        e2e::E2eSite site(7);
        QElapsedTimer clock;
        clock.start();
        e2e::E2eProgram program(site);
        while (!e2e::askTime(site.port(1), 20ms) && clock.elapsed() < 20000 && program.running()) {}
        firstAnswerMs.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (!program.waitForLog("Traitement des données non encore traitées: End")) {
            std::fprintf(stderr, "start-up did not finish\n%s\n", program.log().c_str());
            return 1;
        }
        QThread::msleep(2000);  // idle for two seconds
        residentMb.push_back(double(residentKb(program.pid())) / 1024.0);
        program.terminate();
    }
    std::sort(firstAnswerMs.begin(), firstAnswerMs.end());
    std::sort(residentMb.begin(), residentMb.end());
    std::printf(
        "start to first time answer (7 stations, no sound card): median %.0f ms, worst %.0f ms"
        " (goal < 1000 ms)\n",
        firstAnswerMs[runs / 2], firstAnswerMs.back());
    std::printf("idle resident memory after start-up: median %.1f MB, worst %.1f MB (goal < 60 MB)\n",
                residentMb[runs / 2], residentMb.back());
    return 0;
}
