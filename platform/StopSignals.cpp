// A self-pipe carries each stop signal into the event loop, where an orderly shut-down can run.
#include "platform/StopSignals.h"

#include <atomic>
#include <cerrno>
#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include "platform/Dialogs.h"
#include "platform/UniqueFd.h"

namespace platform::stopsignals {
namespace {

UniqueFd handlerEnd, loopEnd;  // the handler writes the one, the event loop reads the other
constexpr int kStops[] = {SIGTERM, SIGINT, SIGHUP};
struct sigaction previousActions[3];     // what each signal did before hold()
QPointer<QSocketNotifier> closeWaiting;  // the notifier onStop made

void onSignal(int) {
    raised() = true;
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(handlerEnd.get(), &byte, 1);
    errno = saved;
}

// Once the boxes the stop closed have handed their default answers back to their callers, so
// that each caller goes on in a running program (the quit question's Yes sends the stop mail).
void closeOnceNoBoxIsOnScreen(QObject* context, const std::function<void()>& close) {
    QTimer::singleShot(10, context, [context, close] {
        if (platform::dialogs::boxesOnScreen() > 0)
            closeOnceNoBoxIsOnScreen(context, close);
        else
            close();
    });
}

}  // namespace

void hold() {
    if (handlerEnd) return;
    int ends[2];
    // Non-blocking: a burst of signals can never block the handler on a full pipe.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0) return;
    handlerEnd.reset(ends[0]);
    loopEnd.reset(ends[1]);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigset_t stops;
    sigemptyset(&stops);
    for (int i = 0; i < 3; ++i) {
        ::sigaction(kStops[i], &action, &previousActions[i]);
        sigaddset(&stops, kStops[i]);
    }
    // A mask inherited from whoever started us must not keep the close away for ever; a signal
    // it held back arrives now, and waits in the pipe like any other.
    ::sigprocmask(SIG_UNBLOCK, &stops, nullptr);
}

std::atomic<bool>& raised() {
    static std::atomic<bool> flag = false;
    return flag;
}

void onStop(QObject& owner, std::function<void()> close) {
    if (!loopEnd) return;
    auto* notifier = new QSocketNotifier(loopEnd.get(), QSocketNotifier::Read, &owner);
    closeWaiting = notifier;
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, close = std::move(close)] {
        char bytes[64];
        while (::read(loopEnd.get(), bytes, sizeof bytes) > 0) {}
        platform::dialogs::beginStop("Stop by signal");
        closeOnceNoBoxIsOnScreen(notifier, close);
    });
}

void resetStopSignals() {
    delete closeWaiting.data();
    if (handlerEnd) {
        for (int i = 0; i < 3; ++i) ::sigaction(kStops[i], &previousActions[i], nullptr);
        handlerEnd.reset();
        loopEnd.reset();
    }
    raised() = false;
}

}  // namespace platform::stopsignals
