// Burst: datagrams of 1024 bytes sent as fast as one sender can to one station's receiver;
// every one must be queued (queue count and kernel drop counter), then the queue drains at
// one message per 100 ms tick.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include <QApplication>
#include <QElapsedTimer>

#include "bench/udp/EngineUnderLoad.h"
#include "engine/Frm_MainBis.h"
#include "platform/NumericLocale.h"
#include "platform/process/RuntimeFolder.h"

using namespace std::chrono;

namespace {

void runFor(QApplication& app, milliseconds d) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < d.count()) app.processEvents(QEventLoop::AllEvents, 5);
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::process::settleRuntimeDirectory();  // as every program does
    QApplication app(argc, argv);
    platform::keepNumbersInC();
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int drainSeconds = argc > 2 ? std::atoi(argv[2]) : 5;
    constexpr int kStation = 3;

    const uint16_t port = udpbench::loadEngine(kStation - 1);
    engine::StationQueue& queue = Frm_MainBis::get().ListeDataArrival[kStation - 1];
    // Keep the dispatcher off while the burst lands, so the queue count is the received count.
    Frm_MainBis::get().TimerDataArrival.OnTimer = nullptr;

    // A few messages first, so the burst does not pay for the first use of the monitor's fonts.
    {
        udpbench::Client c;
        std::string warm = "<NoStation:" + std::to_string(kStation) + ">warm-up";
        warm.resize(1024, 'w');
        for (int k = 0; k < 20; ++k) c.send(warm, port);
        while (queue.ListCount() < 20) app.processEvents(QEventLoop::AllEvents, 5);
        queue.Clear();
    }

    std::string datagram = "<NoStation:" + std::to_string(kStation) + ">";
    datagram.resize(1024, 'x');
    std::atomic<qint64> sentMs{-1};
    QElapsedTimer sendTime;
    sendTime.start();
    std::thread sender([&] {  // the engine's event loop keeps reading meanwhile
        udpbench::Client c;
        for (int k = 0; k < count; ++k) c.send(datagram, port);
        sentMs = sendTime.elapsed();
    });
    while (sentMs < 0) app.processEvents(QEventLoop::AllEvents, 5);
    sender.join();
    // The receiver catches up: until every datagram is queued, or none came for 500 ms.
    QElapsedTimer quiet;
    quiet.start();
    for (int last = queue.ListCount(); queue.ListCount() < count && quiet.elapsed() < 500;) {
        app.processEvents(QEventLoop::AllEvents, 5);
        if (queue.ListCount() != last) {
            last = queue.ListCount();
            quiet.restart();
        }
    }
    const int queued = queue.ListCount();
    const int64_t drops = udpbench::droppedOn(port);
    std::printf("burst: %d datagrams of 1024 bytes sent in %lld ms\n", count, (long long)sentMs.load());
    std::printf("queued: %d  lost: %d  kernel drop counter: %lld\n", queued, count - queued,
                (long long)drops);

    Frm_MainBis& engine = Frm_MainBis::get();
    engine.TimerDataArrival.OnTimer = [&engine] { engine.TimerDataArrival_Timer(); };
    engine.TimerDataArrival.setEnabled(false);
    engine.TimerDataArrival.setEnabled(true);
    QElapsedTimer drain;
    drain.start();
    runFor(app, seconds{drainSeconds});
    const int handed = queued - queue.ListCount();
    const double perSecond = handed * 1000.0 / double(drain.elapsed());
    std::printf("drain: %d messages in %lld ms = %.2f per second (designed: 10 per second)\n", handed,
                (long long)drain.elapsed(), perSecond);
    const bool met = queued == count && drops == 0 && perSecond > 9.0 && perSecond <= 10.5;
    std::printf("goal (none lost, drain at the designed rate): %s\n", met ? "met" : "NOT met");
    return met ? 0 : 1;
}
