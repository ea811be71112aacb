// Deferred flushes: one write per handler's run, written early when an event pass starts inside it.
#include "foundation/DailyLogBatch.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QPointer>
#include <QThread>

#include "foundation/DailyLog.h"

namespace dailylog {
namespace {

struct Batching {
    EventLines* innermost = nullptr;
    uint64_t pass = 0;     // event passes started on this thread since it was watched
    bool pending = false;  // a flush waits for the end of the run
    std::string caller;    // the caller text of the first flush that waits
};

// Each thread batches its own lines; only the application's thread is watched for passes.
thread_local Batching batching;

void writePending() {
    if (!batching.pending) return;
    batching.pending = false;
    const std::string caller = std::move(batching.caller);
    batching.caller.clear();
    Lib_Public::TraceLogForce(caller);
}

// An event pass starting inside a run: the handlers it runs are other events.
void passStarts() {
    writePending();
    ++batching.pass;
}

// Every event pass of the application's thread tells its dispatcher's awake or aboutToBlock first.
void watchPasses() {
    static QPointer<QAbstractEventDispatcher> watched;
    QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() != application->thread()) return;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher || watched == dispatcher) return;
    watched = dispatcher;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, dispatcher, passStarts,
                     Qt::DirectConnection);
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher, passStarts,
                     Qt::DirectConnection);
}

}  // namespace

EventLines::EventLines() : outer_(batching.innermost) {
    if (!outer_) watchPasses();
    pass_ = batching.pass;
    batching.innermost = this;
}

EventLines::~EventLines() {
    batching.innermost = outer_;
    if (outer_ && outer_->pass_ == pass_) return;  // the outer run writes for both
    try {
        writePending();
    } catch (...) {
        // A neighbour that failed inside the write (the reboot advice's mail): the lines stay
        // in the buffer for the next write.
    }
}

void flushSoon(const std::string& caller) {
    const EventLines* run = batching.innermost;
    // Lines of a pass started inside the run belong to another event: they go at once.
    if (!run || run->pass_ != batching.pass) {
        Lib_Public::TraceLogForce(caller);
        return;
    }
    if (batching.pending) return;
    batching.pending = true;
    batching.caller = caller;
}

}  // namespace dailylog
