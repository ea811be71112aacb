// Time-reply latency: a loopback client sends time queries one after another to the engine's
// receiver and times each reply; then the same against a bare QUdpSocket echo.
#include <cstdio>
#include <cstdlib>
#include <thread>

#include <QApplication>
#include <QHostAddress>
#include <QUdpSocket>

#include "bench/udp/EngineUnderLoad.h"
#include "platform/NumericLocale.h"
#include "platform/process/RuntimeFolder.h"

using namespace std::chrono;

namespace {

// Round trips of `count` queries from a client thread while the event loop answers.
std::vector<double> roundTrips(QApplication& app, uint16_t server, int count, bool timeQuery) {
    std::vector<double> times;
    int lost = 0;
    std::thread client([&] {
        udpbench::Client c;
        const std::string query =
            timeQuery ? "What time is it ?<Response:127.0.0.1:" + std::to_string(c.port()) + ">"
                      : std::string("ping");
        std::string reply;
        for (int k = 0; k < count + 100; ++k) {  // the first 100 warm up
            const auto start = steady_clock::now();
            c.send(query, server);
            if (!c.receive(reply, milliseconds{1000})) {
                ++lost;
                continue;
            }
            if (k >= 100) times.push_back(duration<double, std::micro>(steady_clock::now() - start).count());
        }
        QMetaObject::invokeMethod(&app, &QApplication::quit, Qt::QueuedConnection);
    });
    app.exec();
    client.join();
    if (lost) std::printf("  %d queries got no answer\n", lost);
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::process::settleRuntimeDirectory();  // as every program does
    QApplication app(argc, argv);
    platform::keepNumbersInC();
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;

    const uint16_t enginePort = udpbench::loadEngine(0);
    const auto engine = udpbench::percentiles(roundTrips(app, enginePort, count, true));

    QUdpSocket echo;
    echo.bind(QHostAddress::LocalHost, 0);
    QObject::connect(&echo, &QUdpSocket::readyRead, [&] {
        while (echo.hasPendingDatagrams()) {
            char buffer[2048];
            QHostAddress from;
            quint16 fromPort = 0;
            const qint64 n = echo.readDatagram(buffer, sizeof buffer, &from, &fromPort);
            echo.writeDatagram(buffer, n, from, fromPort);
        }
    });
    const auto bare = udpbench::percentiles(roundTrips(app, echo.localPort(), count, false));

    std::printf("time reply (%d queries): p50 %.1f us  p99 %.1f us  max %.1f us\n", count, engine.p50,
                engine.p99, engine.max);
    std::printf("bare echo  (%d queries): p50 %.1f us  p99 %.1f us  max %.1f us\n", count, bare.p50, bare.p99,
                bare.max);
    const double ratio = bare.p99 > 0 ? engine.p99 / bare.p99 : 0;
    std::printf("p99 ratio time reply / bare echo: %.2f\n", ratio);
    const bool met = engine.p99 < 1000.0 && ratio <= 3.0;
    std::printf("goal (p99 under 1 ms, within 3x the echo): %s\n", met ? "met" : "NOT met");
    return met ? 0 : 1;
}
