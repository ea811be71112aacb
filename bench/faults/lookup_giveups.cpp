// Name lookups given up because the name server never answers: the heap they leave behind
// once the resolver has answered them all. Run it with the name servers silent
// (bench/faults/silent-resolver), and under valgrind or LeakSanitizer for the leak check.
// Goal: the heap in use after the run within a few kilobytes of what it was before.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "platform/NumericLocale.h"
#include "platform/net/HostLookup.h"
#include "platform/net/WinsockErrors.h"

namespace {

size_t heapInUse() { return mallinfo2().uordblks; }

void runEvents(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    platform::keepNumbersInC();
    const int count = argc > 1 ? std::atoi(argv[1]) : 3000;
    auto& lookup = platform::net::HostLookup::instance();
    lookup.setTimeLimit(std::chrono::milliseconds{20});
    QObject requester;
    int givenUp = 0, answered = 0, refused = 0;
    const auto ask = [&](int k) {
        lookup.lookup("n" + std::to_string(k) + ".silent.example", &requester,
                      [&](int32_t error, const QHostAddress&) {
                          ++answered;
                          givenUp += error == platform::net::wsaTryAgain;
                          refused += error == platform::net::wsaHostNotFound;
                      });
    };
    // A warm-up, so that Qt's own workers and caches are in place before the count starts.
    for (int k = 0; k < 64; ++k) ask(-1 - k);
    runEvents(4000);
    lookup.reset();  // the memory of failures is bounded, and not what is counted here
    const size_t before = heapInUse();
    QElapsedTimer clock;
    clock.start();
    // As fast as the resolver's workers clear them: a few dozen at a time.
    for (int k = 0; k < count; ++k) {
        ask(k);
        if (k % 32 == 31) runEvents(500);
    }
    runEvents(4000);  // every late answer in
    lookup.reset();
    const size_t after = heapInUse();
    std::printf("%d lookups (%d given up, %d not found) in %.1f s\n", answered - 64, givenUp - 64, refused,
                double(clock.elapsed()) / 1000.0);
    std::printf("heap in use: before %zu bytes, after %zu bytes: %+lld bytes (%.1f per lookup)\n", before,
                after, (long long)after - (long long)before,
                double((long long)after - (long long)before) / double(count));
    const bool met = (long long)after - (long long)before < 16 * 1024;
    std::printf("goal (under 16 KiB left behind): %s\n", met ? "met" : "NOT met");
    return met ? 0 : 1;
}
