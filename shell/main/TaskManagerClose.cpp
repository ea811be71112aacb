// A self-pipe carries the signal into the event loop, where the orderly shut-down can run.
#include "shell/main/TaskManagerClose.h"

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

#include "foundation/RunState.h"

namespace taskmanager {
namespace {

int pipeEnds[2] = {-1, -1};

void onSignal(int) {
    PbBArretSignale = true;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(pipeEnds[0], &byte, 1);
}

}  // namespace

void installCloseHandler(std::function<void()> close) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pipeEnds) != 0) return;
    auto* notifier = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [close = std::move(close)] {
        char byte;
        [[maybe_unused]] const auto got = ::read(pipeEnds[1], &byte, 1);
        close();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &action, nullptr);
}

}  // namespace taskmanager
