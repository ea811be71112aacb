// VB timer over QTimer: the countdown restarts only on False to True or on a new interval;
// the QTimer runs only while there is a handler to call.
#include "platform/forms/Timer.h"

#include "platform/ScopedFlag.h"

namespace platform::forms {

Timer::Timer(QObject* form, const std::string& name, int32_t interval, bool enabled)
    : QObject(form), name_(name), interval_(interval), enabled_(enabled) {
    setObjectName(QString::fromStdString(name));
    clock_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&clock_, &QTimer::timeout, this, [this] { tick(); });
    restart();
}

void Timer::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    restart();
}

void Timer::setInterval(int32_t milliseconds) {
    interval_ = milliseconds;
    restart();
}

void Timer::restart() {
    countdown_.start();
    arm();
}

void Timer::arm() {
    clock_.stop();
    firstBeat_ = false;
    if (!enabled_ || interval_ <= 0 || !OnTimer) return;
    // A handler that comes later keeps the countdown's beat, counted from its start.
    const qint64 into = countdown_.elapsed() % interval_;
    firstBeat_ = into != 0;
    clock_.start(int(interval_ - into));
}

void Timer::tick() {
    if (firstBeat_) {
        firstBeat_ = false;
        clock_.start(interval_);
    }
    if (inHandler_ || !OnTimer) return;
    const ScopedFlag inHandler(inHandler_);
    OnTimer();
}

std::vector<Timer*> timersOf(const QObject& form) {
    std::vector<Timer*> timers;
    for (QObject* child : form.children())
        if (auto* timer = dynamic_cast<Timer*>(child)) timers.push_back(timer);
    return timers;
}

}  // namespace platform::forms
