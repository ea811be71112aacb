// VB timer over QTimer: the countdown restarts only on False to True or on a new interval.
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
    clock_.stop();
    if (enabled_ && interval_ > 0) clock_.start(interval_);
}

void Timer::tick() {
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
